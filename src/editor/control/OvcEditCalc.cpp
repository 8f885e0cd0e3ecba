#include "OvcEditCalc.h"

#include <algorithm>
#include <array>

namespace tomery::editor {

namespace {

constexpr std::int32_t kMaxBarPosition = 32767;
constexpr std::int32_t kMaxHorzRange = 512;

constexpr std::array<bool, 256> MakeDelimiterTable() {
    std::array<bool, 256> table{};
    for (const unsigned char c : std::string_view("\t'\r\n ,./?;:`\"<>[]{}-=\\+|()%@&^$#!~*")) {
        table[c] = true;
    }
    return table;
}

constexpr std::array<bool, 256> kDelimiters = MakeDelimiterTable();

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

std::string_view ParaText(TParaList& list, std::int32_t para) {
    const TParaNode* node = list.GetPara(para);
    return node != nullptr ? node->Text() : std::string_view();
}

/// CR LF after paragraph `para`, unless its line goes on in the next.
void AppendLineEnd(std::string& text, TParaList& list, std::int32_t para) {
    const TParaNode* node = list.GetPara(para);
    if (node != nullptr && LineEndFollows(*node)) {
        text += "\r\n";
    }
}

std::size_t CutToText(std::string_view text, std::int32_t pos) {
    return static_cast<std::size_t>(std::clamp<std::int64_t>(pos - 1, 0, text.size()));
}

}  // namespace

TVertScroll ComputeVertScroll(std::int32_t lineCount, std::int32_t visibleLines, bool hasBar,
                              bool always) {
    TVertScroll scroll;
    const std::int32_t n = std::max(0, lineCount - visibleLines + 1);
    scroll.Scale = n <= kMaxBarPosition ? 1 : (n / (kMaxBarPosition + 1)) * 2;
    scroll.Range = n / scroll.Scale;
    if (scroll.Range <= 1 && always) {
        scroll.Range = 2;
    }
    if (hasBar) {
        scroll.Min = 1;
        scroll.Max = (lineCount > visibleLines || always) ? scroll.Range : 1;
    }
    return scroll;
}

std::int32_t TopLineForThumb(std::int32_t position, const TVertScroll& scroll,
                             std::int32_t lineCount, std::int32_t visibleLines) {
    if (position <= 1) {
        return 1;
    }
    if (position >= scroll.Range) {
        return lineCount > visibleLines ? lineCount - visibleLines + 1 : 1;
    }
    return position * scroll.Scale;
}

std::int32_t ComputeHorzRange(bool wordWrap, std::int32_t wrapColumn, std::int32_t paraLengthLimit,
                              bool always) {
    std::int32_t range = std::min(wordWrap ? wrapColumn : paraLengthLimit, kMaxHorzRange);
    if (range <= 0 && always) {
        range = 1;
    }
    return range;
}

std::int32_t HorzBarMax(bool hasBar, std::int32_t visibleCols, std::int32_t horzRange,
                        bool always) {
    if (!hasBar || (visibleCols >= horzRange && !always)) {
        return 0;
    }
    return horzRange;
}

std::size_t InsertChunkLength(std::string_view rest) {
    if (rest.size() <= kInsertChunk) {
        return rest.size();
    }
    std::size_t length = kInsertChunk;
    while (length < rest.size() && length < kInsertChunkMax && IsLineBreak(rest[length])) {
        ++length;
    }
    return length;
}

bool IsWordDelimiter(unsigned char c) {
    return kDelimiters[c];
}

std::string ExpandTabs(std::string_view line, std::uint8_t tabSize) {
    const std::size_t tab = tabSize == 0 ? 1 : tabSize;
    std::string expanded;
    expanded.reserve(line.size() + tab * 4);
    for (const char c : line) {
        if (c == '\t') {
            expanded.append(tab - expanded.size() % tab, ' ');
        } else {
            expanded.push_back(c);
        }
    }
    return expanded;
}

std::string SelectedText(TParaList& list, TParaPos from, TParaPos to) {
    std::string text;
    if (from.Para == to.Para) {
        const std::string_view para = ParaText(list, from.Para);
        const std::size_t begin = CutToText(para, from.Pos);
        const std::size_t end = std::max(begin, CutToText(para, to.Pos));
        return std::string(para.substr(begin, end - begin));
    }
    const std::string_view first = ParaText(list, from.Para);
    text.append(first.substr(CutToText(first, from.Pos)));
    AppendLineEnd(text, list, from.Para);
    for (std::int32_t para = from.Para + 1; para < to.Para; ++para) {
        text.append(ParaText(list, para));
        AppendLineEnd(text, list, para);
    }
    const std::string_view last = ParaText(list, to.Para);
    text.append(last.substr(0, CutToText(last, to.Pos)));
    return text;
}

}  // namespace tomery::editor
