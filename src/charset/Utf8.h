// Reading and writing one UTF-8 character at a time.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tomery::charset {

/// Appends the UTF-8 form of a code point.
void AppendUtf8(char32_t c, std::string& out);

/// The code point at `i`, advancing `i` past it; nothing for a malformed, overlong or
/// surrogate sequence, of which one byte is consumed.
std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& i);

}  // namespace tomery::charset
