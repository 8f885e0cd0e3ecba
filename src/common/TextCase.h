// Comparing names without regard to case, as file systems of the handheld's desktop and the
// registry do: only the letters A to Z have a case.
#pragma once

#include <algorithm>
#include <string>

namespace tomery {

/// `text` with A to Z turned into a to z; every other byte stays as it is.
inline std::string AsciiLowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) {
        return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    });
    return text;
}

}  // namespace tomery
