// Whole-file reading for the small files the program reads at once (settings, tool input).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tomery {

/// The file's bytes; nothing when it is not a regular file or cannot be read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

}  // namespace tomery
