// The character filters: removing extended characters, punctuation, short words and HTML
// tags, and the Show ASCII codings that make control and extended characters visible as
// escape sequences and turn them back. Each tells a progress, when given one, how many lines
// are done.
#pragma once

#include "Tools.h"

#include <cstdint>

namespace tomery::tools {

/// Every byte from 128 to 255 becomes a space.
TWorkLines RemoveExtendedCharacters(TWorkLines lines, const TWorkProgress& progress = {});
/// Every byte that is not a tab, a space, a digit or a letter A to Z, a to z becomes a space.
TWorkLines RemovePunctuation(TWorkLines lines, const TWorkProgress& progress = {});
/// Each line rebuilt from its words longer than `length`, joined by single spaces.
TWorkLines RemoveShortWords(TWorkLines lines, std::int32_t length,
                            const TWorkProgress& progress = {});

/// Tags go, also when they run over several lines (an unclosed tag takes the rest of its
/// line, the lines in between and the start of the line that closes it); the entities quot,
/// amp, lt, gt, nbsp and &#nn; are decoded, other names stay as written, and an "&" without a
/// ";" after it on its line is an ordinary character. Empty lines stay; lines that become
/// empty or blank disappear.
TWorkLines RemoveHtmlTags(TWorkLines lines, const TWorkProgress& progress = {});

/// Show ASCII, Low Coded: control characters become "#" and two digits (a line feed, whose
/// "#10" is the line end marker, becomes "$010"), and "#10" marks the end of every line
/// without a unit separator. Extended: bytes from 127 on become "$" and three digits. Both
/// put a backslash before a backslash, "#" and "$", so that DecodeAscii restores the text.
enum class TAsciiCoding { LowCoded, Extended };
TWorkLines EncodeAscii(TWorkLines lines, TAsciiCoding coding, const TWorkProgress& progress = {});

/// Show ASCII, Normal: a backslash passes the next character on; "#10" vanishes; "#" and two
/// digits, "$" and three digits become the character of that code (modulo 256). A sequence
/// cut short by the end of its line stays as it is.
TWorkLines DecodeAscii(TWorkLines lines, const TWorkProgress& progress = {});

}  // namespace tomery::tools
