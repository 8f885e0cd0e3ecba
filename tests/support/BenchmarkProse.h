// The 50 MB prose text of the editor benchmarks: CR LF lines of e-text-like words.
#pragma once

#include <cstddef>
#include <iterator>
#include <random>
#include <string>

namespace tomery::testing {

inline constexpr std::size_t kBenchmarkProseSize = 50'000'000;

/// Prose lines with CR LF: mostly 40 to 85 characters, some empty or short, and every
/// 1500th line a paragraph of several thousand characters.
inline const std::string& BenchmarkProse() {
    static const std::string text = [] {
        static const char* const words[] = {"the",      "editor",      "keeps",
                                            "its",      "whole",       "text",
                                            "in",       "paragraphs,", "each",
                                            "line",     "of",          "a",
                                            "file",     "wraps",       "into",
                                            "display",  "lines",       "at",
                                            "the",      "wrap",        "column;",
                                            "words",    "move",        "up",
                                            "and",      "down",        "as",
                                            "you",      "type.",       "well-known",
                                            "record",   "undo",        "Palm",
                                            "handheld", "e-text",      "reader",
                                            "chapter",  "I",           "long-suffering",
                                            "quiet."};
        std::mt19937 random(2026);
        std::uniform_int_distribution<std::size_t> pickWord(0, std::size(words) - 1);
        std::uniform_int_distribution<int> shape(0, 99);
        std::string out;
        out.reserve(kBenchmarkProseSize + 10000);
        for (std::size_t line = 0; out.size() < kBenchmarkProseSize; ++line) {
            std::size_t target = 40 + static_cast<std::size_t>(shape(random)) * 45 / 100;
            const int kind = shape(random);
            if (kind < 5) {
                target = 0;
            } else if (kind < 12) {
                target = static_cast<std::size_t>(shape(random)) / 5;
            }
            if (line % 1500 == 1499) {
                target = 2000 + static_cast<std::size_t>(shape(random)) * 50;
            }
            const std::size_t start = out.size();
            while (out.size() - start < target) {
                if (out.size() > start) {
                    out += ' ';
                }
                out += words[pickWord(random)];
            }
            out += "\r\n";
        }
        return out;
    }();
    return text;
}

}  // namespace tomery::testing
