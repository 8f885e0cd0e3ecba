// Text files read as a list of lines, whatever the line ends they were written with.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tomery {

/// The lines of `text`, the first `maxLines` of them at most: a line ends at CR LF, at a lone
/// CR or at a lone LF; a final line break does not add an empty line. Every other byte, tabs
/// included, stays in its line.
std::vector<std::string> SplitTextLines(std::string_view text,
                                        std::size_t maxLines = static_cast<std::size_t>(-1));

/// Reads the whole file into `text`. False, with the system's message in `error`, when the
/// file cannot be opened or read.
bool ReadTextFile(const std::string& path, std::string& text, std::string& error);

/// Reads the file's lines as SplitTextLines cuts them. False, with the system's message in
/// `error`, when the file cannot be opened or read; `lines` is then left as it was.
bool ReadTextFileLines(const std::string& path, std::vector<std::string>& lines,
                       std::string& error);

}  // namespace tomery
