// Reformat: rebreaking lines to a character count, line by line (Fixed Wordwrap) or after
// joining each paragraph of running text (Smart Wordwrap).
#pragma once

#include "Tools.h"

#include <cstdint>
#include <string_view>

namespace tomery::tools {

/// The words of `text` placed greedily on lines: the first line holds at most `firstWidth`
/// characters, the others `width`, except that a longer word stands alone on its line. A
/// text without words gives no lines.
TWorkLines FillLines(std::string_view text, std::int64_t firstWidth, std::int64_t width);

enum class TAutoIndent { Off, On };
/// Every line longer than `width` is refilled, its first line keeping the line's leading
/// blanks. With auto-indentation on, every further line gets them too and all lines stay
/// within `width` in total; off, further lines start at column 1 and may be `width` long.
/// A longer line of blanks only disappears. `progress` hears how many lines are done.
TWorkLines FixedWordwrap(TWorkLines lines, std::int32_t width, TAutoIndent autoIndent,
                         const TWorkProgress& progress = {});

/// Each run of lines that are neither empty nor start with a blank is joined with single
/// spaces and, unless `width` is 0, refilled to `width`; empty and indented lines stay.
/// `progress` hears how many lines are done.
TWorkLines SmartWordwrap(TWorkLines lines, std::int32_t width, const TWorkProgress& progress = {});

}  // namespace tomery::tools
