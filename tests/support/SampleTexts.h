// Seeded sample texts for tests and benchmarks: prose with CR LF lines, random bytes.
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace tomery::testing {

/// English-like prose of about `bytes` bytes: words, punctuation, CR LF line ends, and now
/// and then an empty line or an indented paragraph.
inline std::string GenerateProse(std::size_t bytes, std::uint32_t seed = 1) {
    static const char* const kWords[] = {
        "the", "of", "and", "to", "a", "in", "that", "it", "was", "he", "for", "on", "with",
        "as", "his", "at", "by", "from", "they", "this", "had", "not", "but", "what", "all",
        "were", "when", "we", "there", "can", "an", "your", "which", "their", "said", "if",
        "will", "each", "about", "how", "up", "out", "them", "then", "she", "many", "some",
        "so", "these", "would", "other", "into", "has", "more", "her", "two", "like", "him",
        "see", "time", "could", "no", "make", "than", "first", "been", "its", "who", "now",
        "people", "my", "made", "over", "did", "down", "only", "way", "find", "use", "may",
        "water", "long", "little", "very", "after", "words", "called", "just", "where",
        "most", "know", "handheld", "library", "chapter", "morning", "garden", "whisper",
        "lantern", "harbour", "Elizabeth", "Mr.", "Darcy", "captain", "journey", "silence"};
    std::mt19937 random(seed);
    std::uniform_int_distribution<std::size_t> word(0, std::size(kWords) - 1);
    std::uniform_int_distribution<int> percent(0, 99);
    std::string text;
    text.reserve(bytes + 100);
    std::size_t lineStart = 0;
    while (text.size() < bytes) {
        text += kWords[word(random)];
        const int roll = percent(random);
        if (roll < 6) {
            text += '.';
        } else if (roll < 10) {
            text += ',';
        }
        if (text.size() - lineStart > 60 + static_cast<std::size_t>(percent(random) % 15)) {
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
