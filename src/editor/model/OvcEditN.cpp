#include "OvcEditN.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <vector>

namespace tomery::editor {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::int32_t TabAdvance(std::int32_t width, std::uint8_t tabSize) {
    const std::int32_t t = tabSize == 0 ? 1 : tabSize;
    return (width / t + 1) * t;
}

bool HasTab(const char* text, std::int32_t count) {
    return count > 0 && std::memchr(text, '\t', static_cast<std::size_t>(count)) != nullptr;
}

/// Characters walked from `text` until the display width reaches `width`; `count` + 1 when
/// the text ends first.
std::int32_t CharsToWidth(const char* text, std::int32_t count, std::int32_t width,
                          std::uint8_t tabSize) {
    std::int32_t w = 0;
    for (std::int32_t i = 0; i < count; ++i) {
        w = text[i] == '\t' ? TabAdvance(w, tabSize) : w + 1;
        if (w >= width) {
            return i + 1;
        }
    }
    return count + 1;
}

std::size_t RoundUp(std::size_t value, std::size_t step) {
    return (value + step - 1) / step * step;
}

bool Wraps(std::int32_t wrapColumn) {
    return wrapColumn != kNoWrapColumn && wrapColumn > 0;
}

}  // namespace

std::int32_t TextWidth(const char* text, std::int32_t count, std::uint8_t tabSize) {
    if (!HasTab(text, count)) {
        return std::max(count, 0);
    }
    std::int32_t w = 0;
    for (std::int32_t i = 0; i < count && text[i] != '\0'; ++i) {
        w = text[i] == '\t' ? TabAdvance(w, tabSize) : w + 1;
    }
    return w;
}

std::int32_t PosToColumn(const char* text, std::int32_t length, std::int32_t pos,
                         std::uint8_t tabSize) {
    if (pos <= 1 || length <= 0) {
        return pos == 0 ? 1 : pos;
    }
    if (pos > length) {
        return TextWidth(text, length, tabSize) + (pos - length);
    }
    return TextWidth(text, pos - 1, tabSize) + 1;
}

std::int32_t ColumnToPos(const char* text, std::int32_t length, std::int32_t column,
                         std::uint8_t tabSize) {
    if (column <= 1 || length <= 0) {
        return column;
    }
    const bool tabs = HasTab(text, length);
    const std::int32_t lastColumn = tabs ? PosToColumn(text, length, length, tabSize) : length;
    if (lastColumn < column) {
        return length + (column - lastColumn);
    }
    return tabs ? CharsToWidth(text, length, column, tabSize) : column;
}

// A store holds a node for each line of its file: its size counts as much as the text's.
static_assert(sizeof(void*) != 8 || sizeof(TParaNode) == 48);

std::uint16_t TParaNode::estimatedStarts(std::size_t length, std::int32_t wrapColumn) {
    if (wrapColumn == kNoWrapColumn || wrapColumn <= 0) {
        return 1;
    }
    const std::size_t n = length / static_cast<std::size_t>(wrapColumn);
    const std::size_t wanted = n + n / 5;
    return static_cast<std::uint16_t>(wanted <= kInlineStarts ? kInlineStarts : RoundUp(wanted, 8));
}

TParaNode::TParaNode(std::string_view text, std::int32_t wrapColumn, std::uint8_t tabSize) {
    if (text.size() > kMaxParaNodeLength) {
        throw std::length_error("paragraph too long");
    }
    if (!text.empty()) {
        const std::size_t size = (text.size() + 8) / 8 * 8;
        auto buffer = std::make_unique<char[]>(size);
        std::copy_n(text.data(), text.size(), buffer.get());
        buffer_ = buffer.release();
        bufferSize_ = static_cast<std::uint16_t>(size);
        length_ = static_cast<std::uint16_t>(text.size());
    }
    initLines(wrapColumn, tabSize);
}

TParaNode::TParaNode(char* text, std::uint16_t length, std::uint32_t block, std::int32_t wrapColumn,
                     std::uint8_t tabSize)
    : buffer_(text),
      textBlock_(block),
      bufferSize_(static_cast<std::uint16_t>(length + 1)),
      length_(length) {
    initLines(wrapColumn, tabSize);
}

void TParaNode::initLines(std::int32_t wrapColumn, std::uint8_t tabSize) {
    // Until the table is set up, only the buffer is held.
    lineStartsSize_ = 1;
    try {
        const std::uint16_t estimate = estimatedStarts(length_, wrapColumn);
        if (estimate > kInlineStarts) {
            heapStarts_ = new std::uint16_t[estimate]();
        } else {
            std::fill(std::begin(inlineStarts_), std::end(inlineStarts_), std::uint16_t{0});
        }
        lineStartsSize_ = estimate;
        Wrap(wrapColumn, tabSize);
    } catch (...) {
        releaseStorage();
        throw;
    }
}

TParaNode::~TParaNode() {
    releaseStorage();
}

void TParaNode::releaseStorage() {
    if (onHeap()) {
        delete[] heapStarts_;
    }
    if (!SharesText()) {
        delete[] buffer_;
    }
}

std::string_view TParaNode::LineText(std::int32_t line) const {
    const std::uint16_t begin = LineStart(line - 1);
    const std::uint16_t end = line < lineCount_ ? LineStart(line) : length_;
    return {Buffer() + begin, static_cast<std::size_t>(end - begin)};
}

TLineAndColumn TParaNode::LineOfPos(std::int32_t pos) const {
    if (lineCount_ == 1) {
        return {1, pos};
    }
    const std::uint16_t* table = starts();
    const auto offset = static_cast<std::uint16_t>(std::clamp(pos - 1, 0, 65535));
    const std::uint16_t* after = std::upper_bound(table, table + lineCount_, offset);
    const auto line = static_cast<std::int32_t>(after - table);
    return {line, pos - table[line - 1]};
}

bool TParaNode::Reserve(std::size_t needed) {
    if (needed <= bufferSize_) {
        return true;
    }
    const std::size_t size = RoundUp(needed, 16);
    char* grown = new (std::nothrow) char[size];
    if (grown == nullptr) {
        return false;
    }
    std::memcpy(grown, Buffer(), length_ + 1u);
    if (!SharesText()) {
        delete[] buffer_;
    }
    textBlock_ = kOwnText;
    buffer_ = grown;
    bufferSize_ = static_cast<std::uint16_t>(size);
    return true;
}

void TParaNode::PadTo(std::uint16_t newLength) {
    std::memset(buffer_ + length_, ' ', newLength - length_);
    length_ = newLength;
    buffer_[length_] = '\0';
}

void TParaNode::InsertAt(std::uint16_t offset, std::string_view text) {
    std::memmove(buffer_ + offset + text.size(), buffer_ + offset, length_ - offset + 1u);
    std::copy_n(text.data(), text.size(), buffer_ + offset);
    length_ = static_cast<std::uint16_t>(length_ + text.size());
}

void TParaNode::EraseAt(std::uint16_t offset, std::uint16_t count) {
    std::memmove(buffer_ + offset, buffer_ + offset + count, length_ - offset - count + 1u);
    length_ = static_cast<std::uint16_t>(length_ - count);
}

void TParaNode::OverwriteAt(std::uint16_t offset, std::string_view text) {
    std::copy_n(text.data(), text.size(), buffer_ + offset);
}

void TParaNode::reserveStarts(std::size_t entries) {
    if (entries <= lineStartsSize_) {
        return;
    }
    const std::size_t size = entries <= kInlineStarts ? kInlineStarts : RoundUp(entries, 8);
    if (size > kInlineStarts) {
        auto* grown = new std::uint16_t[size]();
        std::copy_n(starts(), lineCount_, grown);
        if (onHeap()) {
            delete[] heapStarts_;
        }
        heapStarts_ = grown;
    }
    lineStartsSize_ = static_cast<std::uint16_t>(size);
}

void TParaNode::resetStarts(std::uint16_t entries) {
    if (entries > kInlineStarts) {
        auto* table = new std::uint16_t[entries]();
        if (onHeap()) {
            delete[] heapStarts_;
        }
        heapStarts_ = table;
    } else if (onHeap()) {
        delete[] heapStarts_;
        std::fill(std::begin(inlineStarts_), std::end(inlineStarts_), std::uint16_t{0});
    }
    lineStartsSize_ = entries;
}

bool TParaNode::hasTabs() const {
    return HasTab(Buffer(), length_);
}

std::int32_t TParaNode::fitCount(std::uint16_t start, std::int32_t wrapColumn, std::uint8_t tabSize,
                                 bool hasTabs) const {
    if (!hasTabs) {
        return wrapColumn;
    }
    return CharsToWidth(buffer_ + start, length_ - start, wrapColumn, tabSize);
}

std::uint16_t TParaNode::breakPoint(std::uint16_t start, std::int32_t fit) const {
    auto skipBlanks = [this](std::int32_t i) {
        while (i < length_ && IsBlank(buffer_[i])) {
            ++i;
        }
        return static_cast<std::uint16_t>(i);
    };
    for (std::int32_t i = start + fit; i >= start; --i) {
        if (IsBlank(buffer_[i])) {
            return skipBlanks(i);
        }
        if (buffer_[i] == '-') {
            return skipBlanks(i + 1);
        }
    }
    return static_cast<std::uint16_t>(start + fit);
}

void TParaNode::Wrap(std::int32_t wrapColumn, std::uint8_t tabSize) {
    lineCount_ = 1;
    // A table more than twice the estimate is what a narrower wrap took: it is given back, so
    // the table is the one a new paragraph would get. Closer sizes stay, so that resizing the
    // window column by column does not reallocate.
    const std::uint16_t estimate = estimatedStarts(length_, wrapColumn);
    if (lineStartsSize_ > 2 * estimate) {
        resetStarts(estimate);
    }
    if (!Wraps(wrapColumn) || buffer_ == nullptr) {
        return;
    }
    reserveStarts(estimate);
    const bool tabs = hasTabs();
    std::int32_t remaining = length_;
    std::uint16_t start = 0;
    std::int32_t fit = fitCount(start, wrapColumn, tabSize, tabs);
    while (remaining > fit) {
        const std::uint16_t next = breakPoint(start, fit);
        if (next - start < remaining) {
            reserveStarts(lineCount_ + 1u);
            starts()[lineCount_++] = next;
            fit = fitCount(next, wrapColumn, tabSize, tabs);
        }
        remaining -= next - start;
        start = next;
    }
}

TChangedLines TParaNode::RewrapAfterChange(std::int32_t wrapColumn, std::uint8_t tabSize,
                                           std::uint16_t offset, std::uint16_t oldCount,
                                           std::uint16_t newCount) {
    if (!Wraps(wrapColumn) || buffer_ == nullptr) {
        lineCount_ = 1;
        return {1, 1};
    }
    const bool tabs = hasTabs();
    const std::int32_t oldLines = lineCount_;
    const std::uint16_t* old = starts();
    const std::int32_t delta = newCount - oldCount;
    const std::int32_t changeEnd = offset + newCount;

    // The line holding the change, and the line before it, since a word may move up. A tab
    // can make an even earlier line's fit reach the change; such lines are re-wrapped too.
    const std::int32_t changedLine =
        static_cast<std::int32_t>(std::upper_bound(old, old + oldLines, offset) - old) - 1;
    std::int32_t first = std::max(changedLine - 1, 0);
    while (first > 0 &&
           old[first - 1] + fitCount(old[first - 1], wrapColumn, tabSize, tabs) >= offset) {
        --first;
    }

    // New starts after line `first`; they stop once a start past the change meets an old start
    // shifted by the change, from where the old table only needs shifting.
    static thread_local std::vector<std::uint16_t> recomputed;
    recomputed.clear();
    std::int32_t start = old[first];
    std::int32_t remaining = length_ - start;
    std::int32_t fit = fitCount(static_cast<std::uint16_t>(start), wrapColumn, tabSize, tabs);
    std::int32_t matched = first + 1;
    bool stoppedEarly = false;
    while (remaining > fit) {
        const std::uint16_t next = breakPoint(static_cast<std::uint16_t>(start), fit);
        if (next - start >= remaining) {
            break;
        }
        recomputed.push_back(next);
        if (next >= changeEnd) {
            const std::int32_t oldStart = next - delta;
            while (matched < oldLines && old[matched] < oldStart) {
                ++matched;
            }
            if (matched < oldLines && old[matched] == oldStart) {
                stoppedEarly = true;
                break;
            }
        }
        remaining -= next - start;
        start = next;
        fit = fitCount(next, wrapColumn, tabSize, tabs);
    }

    const auto recomputedCount = static_cast<std::int32_t>(recomputed.size());
    const std::int32_t tailCount = stoppedEarly ? oldLines - matched - 1 : 0;
    const std::int32_t newLines = first + 1 + recomputedCount + tailCount;
    auto newStart = [&](std::int32_t index) -> std::int32_t {
        if (index <= first) {
            return old[index];
        }
        if (index <= first + recomputedCount) {
            return recomputed[index - first - 1];
        }
        if (index < newLines) {
            return old[matched + index - first - recomputedCount] + delta;
        }
        return -1;
    };
    // Content changed from the line holding the change, or from an earlier line whose end moved.
    std::int32_t firstChanged = changedLine;
    for (std::int32_t i = first; i < changedLine; ++i) {
        if (newStart(i + 1) != old[i + 1]) {
            firstChanged = i;
            break;
        }
    }

    reserveStarts(static_cast<std::size_t>(newLines));
    std::uint16_t* table = starts();
    if (tailCount > 0) {
        std::uint16_t* tail = table + first + 1 + recomputedCount;
        std::memmove(tail, table + matched + 1, static_cast<std::size_t>(tailCount) * 2);
        for (std::int32_t i = 0; i < tailCount; ++i) {
            tail[i] = static_cast<std::uint16_t>(tail[i] + delta);
        }
    }
    std::copy(recomputed.begin(), recomputed.end(), table + first + 1);
    lineCount_ = newLines;

    const std::int32_t lastChanged = stoppedEarly ? first + 1 + recomputedCount : newLines;
    const std::int32_t firstLine = std::min(firstChanged + 1, newLines);
    return {firstLine, std::max(lastChanged, firstLine)};
}

}  // namespace tomery::editor
