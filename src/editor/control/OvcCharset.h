// The 8-bit text of the editor as screen and clipboard text: Windows-1252 and Unicode.
#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace tomery::editor {

/// The Unicode character of a Windows-1252 byte; the five bytes without one map to the code
/// point of the same value.
char16_t Cp1252ToUnicode(unsigned char byte);
/// The byte of a Unicode character, or nothing when Windows-1252 has none.
std::optional<unsigned char> UnicodeToCp1252(char32_t character);

std::u16string Cp1252ToUtf16(std::string_view bytes);
/// Characters without a byte are dropped (a surrogate pair as a whole).
std::string Utf16ToCp1252(std::u16string_view text);

/// Bytes as screen text.
QString BytesToText(std::string_view bytes);
/// Screen text as bytes; characters without a byte are dropped.
std::string TextToBytes(const QString& text);

}  // namespace tomery::editor
