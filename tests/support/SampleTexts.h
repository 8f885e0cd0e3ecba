// Seeded sample texts for tests and benchmarks: prose with CR LF lines, random bytes.
#pragma once

#include <cctype>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace tomery::testing {

/// The vocabulary of generated prose: common English words first, then made-up words of
/// two to four syllables, so that word frequencies can follow Zipf's law as in real books.
inline const std::vector<std::string>& ProseVocabulary() {
    static const std::vector<std::string> words = [] {
        std::vector<std::string> list = {
            "the",  "of",     "and",   "to",    "a",     "in",     "that",   "it",    "was",
            "he",   "for",    "on",    "with",  "as",    "his",    "at",     "by",    "from",
            "they", "this",   "had",   "not",   "but",   "what",   "all",    "were",  "when",
            "we",   "there",  "can",   "an",    "your",  "which",  "their",  "said",  "if",
            "will", "each",   "about", "how",   "up",    "out",    "them",   "then",  "she",
            "many", "some",   "so",    "these", "would", "other",  "into",   "has",   "more",
            "her",  "two",    "like",  "him",   "see",   "time",   "could",  "no",    "make",
            "than", "first",  "been",  "its",   "who",   "now",    "people", "my",    "made",
            "over", "did",    "down",  "only",  "way",   "find",   "use",    "may",   "water",
            "long", "little", "very",  "after", "words", "called", "just",   "where", "most",
            "know"};
        static const char* const kSyllables[] = {
            "ka",  "ther", "ion", "mor", "ble", "sta",  "ri", "ven", "lo",   "can", "dra",
            "el",  "ful",  "gre", "ish", "jo",  "ment", "ne", "pa",  "quil", "ros", "sen",
            "tle", "un",   "vi",  "wal", "ex",  "yar",  "zo", "ing", "ard",  "est"};
        std::mt19937 random(77);
        while (list.size() < 6000) {
            std::string word;
            for (std::size_t n = 2 + random() % 3; n > 0; --n) {
                word += kSyllables[random() % std::size(kSyllables)];
            }
            list.push_back(word);
        }
        return list;
    }();
    return words;
}

/// English-like prose of `bytes` bytes: Zipf-distributed words in sentences, CR LF line
/// ends near column 70, now and then an empty line or an indented paragraph.
inline std::string GenerateProse(std::size_t bytes, std::uint32_t seed = 1) {
    const auto& words = ProseVocabulary();
    std::vector<double> weights(words.size());
    for (std::size_t rank = 0; rank < words.size(); ++rank) {
        weights[rank] = 1.0 / static_cast<double>(rank + 1);
    }
    std::mt19937 random(seed);
    std::discrete_distribution<std::size_t> word(weights.begin(), weights.end());
    std::uniform_int_distribution<int> percent(0, 99);
    std::string text;
    text.reserve(bytes + 100);
    std::size_t lineStart = 0;
    bool sentenceStart = true;
    while (text.size() < bytes) {
        std::string next = words[word(random)];
        if (sentenceStart) {
            next[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(next[0])));
            sentenceStart = false;
        }
        text += next;
        const int roll = percent(random);
        if (roll < 7) {
            text += roll < 5 ? "." : "?";
            sentenceStart = true;
        } else if (roll < 12) {
            text += ',';
        }
        if (text.size() - lineStart > 62 + static_cast<std::size_t>(percent(random) % 12)) {
            text += "\r\n";
            if (percent(random) < 8) {
                text += percent(random) < 50 ? "\r\n" : "    ";
            }
            lineStart = text.size();
        } else {
            text += ' ';
        }
    }
    text.resize(bytes);
    return text;
}

inline std::string GenerateRandomBytes(std::size_t bytes, std::uint32_t seed = 1) {
    std::mt19937 random(seed);
    std::string text(bytes, '\0');
    for (char& c : text) {
        c = static_cast<char>(random() & 0xFF);
    }
    return text;
}

}  // namespace tomery::testing
