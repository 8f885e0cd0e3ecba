// One paragraph of the editor's text: its buffer, its word-wrap line table and the column
// arithmetic.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tomery::editor {

/// The effective wrap column that means "do not wrap".
inline constexpr std::int32_t kNoWrapColumn = 32767;
/// The longest text a paragraph can hold: text, terminator and buffer rounding stay 16-bit.
inline constexpr std::size_t kMaxParaNodeLength = 65519;

// Display-width arithmetic. Texts are 8-bit characters; `tabSize` is the tab stop distance in
// display columns (a tab size of 0 is taken as 1). Positions and columns are 1-based.

/// Display width of the first `count` characters of `text`, stopping early at a zero byte.
std::int32_t TextWidth(const char* text, std::int32_t count, std::uint8_t tabSize);
/// Display column of 1-based position `pos` in a text of `length` characters. Positions past the
/// end lie in virtual space one column per position; 0 gives 1 and negative positions themselves.
std::int32_t PosToColumn(const char* text, std::int32_t length, std::int32_t pos,
                         std::uint8_t tabSize);
/// The 1-based position of the character shown at display column `column` (the tab covering it);
/// columns past the last character map into virtual space; columns below 2 are returned as they
/// are.
std::int32_t ColumnToPos(const char* text, std::int32_t length, std::int32_t column,
                         std::uint8_t tabSize);

/// Where a 1-based paragraph position falls in the paragraph's display lines (both 1-based).
struct TLineAndColumn {
    std::int32_t Line = 1;
    std::int32_t Column = 1;
};

/// The display lines of a paragraph whose content changed (1-based, inclusive).
struct TChangedLines {
    std::int32_t First = 1;
    std::int32_t Last = 1;
};

/// A paragraph: one line of the file, never containing CR or LF, with the table of offsets
/// where it breaks into display lines at the effective wrap column. Paragraphs are linked into
/// a list by `Next`/`Prev`, which the owning store manages; the node never follows them.
class TParaNode {
  public:
    /// A paragraph holding `text` (at most kMaxParaNodeLength characters), wrapped at
    /// `wrapColumn` (0 or kNoWrapColumn: one line). Empty text allocates no buffer.
    /// Throws std::bad_alloc when memory runs out, and std::length_error for a longer text.
    TParaNode(std::string_view text, std::int32_t wrapColumn, std::uint8_t tabSize);
    ~TParaNode();
    TParaNode(const TParaNode&) = delete;
    TParaNode& operator=(const TParaNode&) = delete;

    /// Zero-terminated text; an empty string when there is no buffer.
    const char* Buffer() const { return buffer_ != nullptr ? buffer_ : ""; }
    std::uint16_t Length() const { return length_; }
    std::string_view Text() const { return {Buffer(), length_}; }
    bool HasBuffer() const { return buffer_ != nullptr; }
    /// Bytes the buffer holds, terminator included; 0 without a buffer. Text in a store's
    /// shared block holds exactly the bytes it was made with.
    std::uint16_t BufferSize() const { return bufferSize_; }
    /// The text lies in a block its store shares among paragraphs; growing it moves it into
    /// a buffer of the paragraph's own.
    bool SharesText() const { return textBlock_ != kOwnText; }

    /// Display lines of this paragraph, at least 1.
    std::int32_t LineCount() const { return lineCount_; }
    /// 0-based offset of the first character of 0-based display line `index` (< LineCount).
    std::uint16_t LineStart(std::int32_t index) const { return starts()[index]; }
    /// Entries allocated for the line table.
    std::uint16_t LineStartsSize() const { return lineStartsSize_; }
    /// Characters of 1-based display line `line` (blanks at a break belong to the line before).
    std::string_view LineText(std::int32_t line) const;

    /// Display line and column of 1-based position `pos`; one-line paragraphs answer (1, pos).
    TLineAndColumn LineOfPos(std::int32_t pos) const;

    // Text changes. Offsets are 0-based; callers keep them within the text and keep the
    // result within kMaxParaNodeLength. None of them re-wraps: call RewrapAfterChange.

    /// Makes room for `needed` bytes (text plus terminator); false when memory runs out, the
    /// paragraph then being unchanged. A paragraph without a buffer gets one holding "", one
    /// whose shared text is too small gets a buffer of its own.
    bool Reserve(std::size_t needed);
    /// Appends spaces up to `newLength` characters. Needs the room reserved.
    void PadTo(std::uint16_t newLength);
    /// Inserts `text` at `offset` (<= Length). Needs the room reserved.
    void InsertAt(std::uint16_t offset, std::string_view text);
    /// Removes `count` characters at `offset`; offset + count <= Length.
    void EraseAt(std::uint16_t offset, std::uint16_t count);
    /// Overwrites characters at `offset`; offset + size <= Length.
    void OverwriteAt(std::uint16_t offset, std::string_view text);

    /// Recomputes the whole line table at `wrapColumn`.
    void Wrap(std::int32_t wrapColumn, std::uint8_t tabSize);
    /// Brings the line table up to date after `oldCount` characters at `offset` became
    /// `newCount` characters, re-wrapping only the lines the change can reach. The table then
    /// equals the one Wrap would compute; the result covers every line whose text changed.
    TChangedLines RewrapAfterChange(std::int32_t wrapColumn, std::uint8_t tabSize,
                                    std::uint16_t offset, std::uint16_t oldCount,
                                    std::uint16_t newCount);

    /// No line end comes before this paragraph: it goes on with the line of the one before,
    /// a file line too long for one paragraph having been cut there. The store sets it.
    bool ContinuesLine() const { return continuesLine_; }
    void SetContinuesLine(bool continues) { continuesLine_ = continues; }

    TParaNode* Next = nullptr;  ///< following paragraph; not owned
    TParaNode* Prev = nullptr;  ///< preceding paragraph; not owned

  private:
    friend class TParaArena;

    /// textBlock_ of a paragraph whose buffer is its own, or that has none.
    static constexpr std::uint32_t kOwnText = 0xFFFFFFFF;

    /// A paragraph over `length` characters at `text`, followed by a zero byte, in its
    /// store's text block number `block`, which stays the store's to free.
    TParaNode(char* text, std::uint16_t length, std::uint32_t block, std::int32_t wrapColumn,
              std::uint8_t tabSize);

    /// Gives the new paragraph its first line table and wraps it; frees what it holds on
    /// failure.
    void initLines(std::int32_t wrapColumn, std::uint8_t tabSize);

    /// Tables of up to this many entries live inside the node, saving an allocation for the
    /// many paragraphs of a few display lines; a pointer's room keeps the node small.
    static constexpr std::uint16_t kInlineStarts = 4;

    /// Line-table entries to allocate for a new paragraph of `length` characters.
    static std::uint16_t estimatedStarts(std::size_t length, std::int32_t wrapColumn);

    std::uint16_t* starts() { return onHeap() ? heapStarts_ : inlineStarts_; }
    const std::uint16_t* starts() const { return onHeap() ? heapStarts_ : inlineStarts_; }
    bool onHeap() const { return lineStartsSize_ > kInlineStarts; }
    /// Grows the table to hold `entries` (rounded up to 8); existing entries are kept.
    void reserveStarts(std::size_t entries);
    /// Replaces the table by one of `entries` holding only the first line's start; used
    /// before a whole wrap. On a failed allocation the table stays as it was.
    void resetStarts(std::uint16_t entries);
    std::int32_t fitCount(std::uint16_t start, std::int32_t wrapColumn, std::uint8_t tabSize,
                          bool hasTabs) const;
    std::uint16_t breakPoint(std::uint16_t start, std::int32_t fit) const;
    bool hasTabs() const;
    void releaseStorage();

    /// bufferSize_ bytes, text followed by a zero byte; owned unless the text is shared
    char* buffer_ = nullptr;
    union {
        std::uint16_t* heapStarts_;  ///< owned, while lineStartsSize_ > kInlineStarts
        std::uint16_t inlineStarts_[kInlineStarts];
    };
    std::int32_t lineCount_ = 1;
    std::uint32_t textBlock_ = kOwnText;  ///< the store's block holding a shared text
    std::uint16_t bufferSize_ = 0;
    std::uint16_t lineStartsSize_ = 1;
    std::uint16_t length_ = 0;
    bool continuesLine_ = false;  ///< last, where the node has room to spare
};

}  // namespace tomery::editor
