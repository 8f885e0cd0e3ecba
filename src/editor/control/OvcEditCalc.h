// The editor view's arithmetic that needs no window: scroll bar ranges, the chunks of a long
// insertion, word characters, tab expansion and the text of a selection.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "OvcEditP.h"

namespace tomery::editor {

/// The vertical scroll bar for a text of `lineCount` display lines of which `visibleLines`
/// fit the window. Positions are first lines divided by Scale, so that any text fits the
/// bar's 16-bit range.
struct TVertScroll {
    std::int32_t Scale = 1;  ///< display lines per bar position
    std::int32_t Range = 0;  ///< the bar's last position
    std::int32_t Min = 0;    ///< the bar's range as set (0..0 without a bar)
    std::int32_t Max = 0;
};
TVertScroll ComputeVertScroll(std::int32_t lineCount, std::int32_t visibleLines, bool hasBar,
                              bool always);
/// The first line shown for bar position `position` (1: the top; Range: the last page).
std::int32_t TopLineForThumb(std::int32_t position, const TVertScroll& scroll,
                             std::int32_t lineCount, std::int32_t visibleLines);

/// Columns the horizontal bar can scroll: the wrap column with word wrap on, else the
/// paragraph length limit, at most 512 (1 when that is 0 or less and `always`).
std::int32_t ComputeHorzRange(bool wordWrap, std::int32_t wrapColumn, std::int32_t paraLengthLimit,
                              bool always);
/// The bar's last position: 0 (nothing to scroll) without a bar or when the visible columns
/// cover the range and the bar need not always show.
std::int32_t HorzBarMax(bool hasBar, std::int32_t visibleCols, std::int32_t horzRange, bool always);

inline constexpr std::size_t kInsertChunk = 61440;
inline constexpr std::size_t kInsertChunkMax = 65520;
/// Length of the next chunk of a long insertion starting at `rest`: all of it up to
/// kInsertChunk characters, else kInsertChunk extended over a run of CR and LF at the cut,
/// to at most kInsertChunkMax.
std::size_t InsertChunkLength(std::string_view rest);

/// The characters that end a word: blanks, line breaks and punctuation. Letters, digits, the
/// underscore and every character from 128 up are word characters.
bool IsWordDelimiter(unsigned char c);
inline bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

/// `line` with every tab expanded to blanks up to the next multiple of `tabSize` (1 when 0).
std::string ExpandTabs(std::string_view line, std::uint8_t tabSize);

/// The text from `from` up to, not including, `to` (from <= to), with CR LF between
/// paragraphs except where a line goes on in the next paragraph. Positions are cut to their
/// paragraph's length + 1.
std::string SelectedText(TParaList& list, TParaPos from, TParaPos to);

/// Ordering of positions in the text.
inline bool operator<(const TParaPos& a, const TParaPos& b) {
    return a.Para != b.Para ? a.Para < b.Para : a.Pos < b.Pos;
}

}  // namespace tomery::editor
