// The text tools' common ground: the list of lines they transform, blank characters, the
// prompt's number conversion and the line splitting of appended files. The tool families are
// in Tools_Lines.h, Tools_Reformat.h, Tools_Filters.h and Tools_Dump.h; every tool is a pure
// function of the lines and its argument.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tomery::tools {

/// One string per paragraph, without line breaks.
using TWorkLines = std::vector<std::string>;

/// The blank characters of the tools: tab, line feed, unit separator and space.
constexpr bool IsBlank(char c) {
    return c == '\t' || c == '\n' || c == '\x1f' || c == ' ';
}

/// The next word (a run of characters that are not blank) of `text` at or after `from`,
/// empty when none is left; `from` moves past it.
std::string_view NextWord(std::string_view text, std::size_t& from);

/// A prompt entry or a noted value that is not a number. The message is the user's.
class EConvertError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// A decimal integer with an optional sign, blanks around it allowed. Raises EConvertError
/// "'<text>' is not a valid integer value" for anything else, 32-bit overflow included.
std::int32_t ParseInteger(const std::string& text);

}  // namespace tomery::tools
