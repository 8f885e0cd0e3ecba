// The undo buffer: one fixed block of packed change records, grouped into undo steps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace tomery::editor {

class TParaArena;
class TParaNode;

/// What a record describes; the values are the record kinds stored in the block.
enum class TUndoKind : std::uint8_t {
    Position = 0,            ///< caret position only (start and end of a split or join)
    TextInserted = 1,        ///< data: the inserted characters
    ParaInsertedBefore = 2,  ///< data: the new paragraph object
    ParaInsertedAfter = 3,   ///< data: the new paragraph object
    TextDeleted = 4,         ///< data: the deleted characters
    ParaDeleted = 5,         ///< data: the removed paragraph object
    TextReplaced = 6,        ///< data: old characters, zero byte, new characters, zero byte
    LineContinued = 7,       ///< data: one byte, 1 when the paragraph came to continue its
                             ///< line, 0 when it came to start one
};

/// One record as the buffer hands it out. The views point into the buffer's block and stay
/// valid until the buffer is next changed.
struct TUndoRecord {
    TUndoKind Kind = TUndoKind::Position;
    std::uint8_t Group = 0;
    bool Modified = false;           ///< the store's modified flag to restore
    std::int32_t Para = 0;           ///< 1-based paragraph number
    std::int32_t Pos = 0;            ///< 1-based position in the paragraph
    std::string_view Data;           ///< all data bytes; Data.size() is the record's count
    std::string_view OldText;        ///< TextReplaced only
    std::string_view NewText;        ///< TextReplaced only
    TParaNode* Paragraph = nullptr;  ///< the three paragraph kinds only
};

/// Stateless access to one record inside the block. A record is laid out as PrevSize (16 bits),
/// kind with the modified flag in bit 7, group, paragraph (32 bits), position (32 bits),
/// DataLen (16 bits), the data, and two bytes after it (the old text's length of a
/// replacement, so that zero bytes inside replaced text cannot confuse undo).
class TUndoNode {
  public:
    static constexpr std::size_t kOverhead = 16;  ///< bytes of a record besides its data

    static void Fill(std::uint8_t* record, std::uint16_t prevSize, TUndoKind kind, bool modified,
                     std::uint8_t group, std::int32_t para, std::int32_t pos,
                     std::uint16_t dataLen);
    static TUndoKind Kind(const std::uint8_t* record);
    static bool IsModified(const std::uint8_t* record);
    static void SetModified(std::uint8_t* record, bool modified);
    static std::uint8_t Group(const std::uint8_t* record);
    static std::int32_t Para(const std::uint8_t* record);
    static std::int32_t Pos(const std::uint8_t* record);
    static void SetPos(std::uint8_t* record, std::int32_t pos);
    static std::uint16_t PrevSize(const std::uint8_t* record);
    static void SetPrevSize(std::uint8_t* record, std::uint16_t size);
    static std::uint16_t DataLen(const std::uint8_t* record);
    static void SetDataLen(std::uint8_t* record, std::uint16_t dataLen);
    static std::uint8_t* Data(std::uint8_t* record);
    static const std::uint8_t* Data(const std::uint8_t* record);
    /// Length of the old text of a replacement record.
    static std::uint16_t OldLength(const std::uint8_t* record);
    static void SetOldLength(std::uint8_t* record, std::uint16_t length);
    /// Bytes the record takes in the block.
    static std::size_t Size(const std::uint8_t* record) { return DataLen(record) + kOverhead; }
    static TParaNode* Paragraph(const std::uint8_t* record);
    static void SetParagraph(std::uint8_t* record, TParaNode* node);
    /// Destroys the paragraph object the record holds (the caller knows it owns it): gives it
    /// back to `arena`, or deletes it when there is none.
    static void ReleaseParagraph(std::uint8_t* record, TParaArena* arena);
    static TUndoRecord Read(const std::uint8_t* record);
};

/// Obtains a block of `size` bytes, zero-filled; an empty pointer when memory is short.
using TUndoBlockAllocator = std::unique_ptr<std::uint8_t[]> (*)(std::size_t size);

/// The undo history of one paragraph store. Records are packed into one block obtained once;
/// typing, forward deletion, backspacing and overwriting at one place merge into one record;
/// `BeginGroup`/`EndGroup` make compound changes one undo step; when the block is full the
/// oldest steps go. The buffer never fails a change: a record it cannot keep is simply lost.
///
/// Ownership: a record holding a paragraph owns it while the paragraph is out of the text
/// (a ParaDeleted record while it can be undone, a ParaInserted record while it can be
/// redone) and destroys it when the record is discarded: gives it back to the arena of the
/// store whose paragraphs it records, or deletes it when it was given none.
class TUndoBuffer {
  public:
    /// An empty buffer of `size` bytes, halved on allocation failure until 16 bytes or less
    /// are left, in which case there is no block and nothing is ever recorded.
    explicit TUndoBuffer(std::uint16_t size, TUndoBlockAllocator allocate = nullptr,
                         TParaArena* paragraphs = nullptr);
    ~TUndoBuffer();
    TUndoBuffer(const TUndoBuffer&) = delete;
    TUndoBuffer& operator=(const TUndoBuffer&) = delete;

    /// Opens a group, or joins the open one; returns the previous grouping state.
    bool BeginGroup();
    /// Closes a group opened by the BeginGroup that returned `previous`.
    void EndGroup(bool previous);

    // Recording. `modified` is the store's modified flag from before the change. Each returns
    // true when the change was recorded (as a record or merged into the newest one). Any
    // recording ends what could have been redone.

    /// Records a text or position change; `bytes` are the characters concerned.
    bool AddRecord(TUndoKind kind, bool modified, std::string_view bytes, std::int32_t pos,
                   std::int32_t para);
    /// Records a paragraph insertion or deletion, holding `node` (ownership as described above).
    bool AddParaRecord(TUndoKind kind, bool modified, TParaNode* node, std::int32_t pos,
                       std::int32_t para);
    /// Records that `oldBytes` at `pos` were overwritten by `newBytes`.
    bool AddReplaceRecord(bool modified, std::int32_t para, std::string_view newBytes,
                          std::string_view oldBytes, std::int32_t pos);

    // Replay. An undo step takes records while their group equals the one noted first.

    /// Group of the record the next undo takes; some other number when there is none.
    std::uint8_t UndoGroup() const;
    /// Hands out the newest undoable record and moves it to the redo side. UndoCount() > 0.
    TUndoRecord TakeUndoRecord();
    /// Group of the record the next redo takes; some other number when there is none.
    std::uint8_t RedoGroup() const;
    /// Stores `modified` in the next record to redo, hands it out and moves it to the undo
    /// side. RedoCount() > 0.
    TUndoRecord TakeRedoRecord(bool modified);
    /// Makes the record taken last hold `node` in place of its paragraph, which the replay has
    /// just taken out of the text; the record then owns it as described above.
    void HoldTakenParagraph(TParaNode* node);

    /// Marks every record as made on modified text (the store was just saved).
    void MarkAllModified();

    std::uint16_t UndoCount() const { return undoCount_; }
    std::uint16_t RedoCount() const { return redoCount_; }
    /// Bytes of the block actually obtained; 0 means no undo at all.
    std::uint16_t MemorySize() const { return memorySize_; }
    /// MemorySize() minus the bytes of the undoable records.
    std::uint16_t FreeBytes() const { return freeBytes_; }
    std::uint8_t GroupNumber() const { return groupNumber_; }
    bool Grouping() const { return grouping_; }
    /// The open group could not be kept; its further records are refused until it closes.
    bool Overflow() const { return overflow_; }

  private:
    std::uint8_t* at(std::size_t offset) const { return memory_.get() + offset; }
    std::size_t undoEnd() const { return memorySize_ - freeBytes_; }
    std::size_t nextRedo() const { return undoCount_ > 0 ? undoEnd() : 0; }
    bool continuesCurrent(TUndoKind kind, std::int32_t para, std::int32_t pos,
                          std::size_t count) const;
    /// Merges the change into the newest record, or records it afresh when making room
    /// discarded that record.
    bool extendCurrent(TUndoKind kind, bool modified, std::string_view bytes,
                       std::string_view newBytes, std::int32_t pos, std::int32_t para);
    /// Starts a record of `dataLen` data bytes after the newest one; its data area, or null.
    std::uint8_t* newRecord(TUndoKind kind, bool modified, std::int32_t pos, std::int32_t para,
                            std::size_t dataLen);
    bool beginRecording(TUndoKind kind, std::int32_t para, std::int32_t pos, std::size_t count);
    bool makeRoom(std::size_t bytes);
    void discardAll();
    void dropRedo();
    void releaseOwned(std::size_t offset, bool undoSide);

    std::unique_ptr<std::uint8_t[]> memory_;
    TParaArena* paragraphs_;  ///< not owned; null: the paragraphs were made with new
    std::uint16_t memorySize_ = 0;
    std::uint16_t freeBytes_ = 0;
    std::size_t current_ = 0;    ///< offset of the newest undoable record (0 when none)
    std::size_t lastTaken_ = 0;  ///< offset of the record handed out last by a Take
    std::uint16_t undoCount_ = 0;
    std::uint16_t redoCount_ = 0;
    std::uint8_t groupNumber_ = 0;
    bool grouping_ = false;
    bool overflow_ = false;
};

/// Keeps an undo group open for its lifetime.
class TUndoGroupGuard {
  public:
    explicit TUndoGroupGuard(TUndoBuffer& buffer)
        : buffer_(buffer), previous_(buffer.BeginGroup()) {}
    ~TUndoGroupGuard() { buffer_.EndGroup(previous_); }
    TUndoGroupGuard(const TUndoGroupGuard&) = delete;
    TUndoGroupGuard& operator=(const TUndoGroupGuard&) = delete;

  private:
    TUndoBuffer& buffer_;
    bool previous_;
};

}  // namespace tomery::editor
