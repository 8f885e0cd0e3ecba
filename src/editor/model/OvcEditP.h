// The paragraph store: the editor's whole text as a list of paragraphs, with every query and
// change the editor makes, limits, bookmarks, undo recording and replay.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "OvcEditN.h"
#include "OvcEditN_Arena.h"
#include "OvcEditP_Errors.h"
#include "OvcEditU.h"

namespace tomery::editor {

inline constexpr std::int32_t kMaxInt32 = std::numeric_limits<std::int32_t>::max();
inline constexpr std::size_t kMarkerCount = 10;

/// A place in the text: 1-based paragraph and 1-based position; paragraph 0 means unset.
struct TParaPos {
    std::int32_t Para = 0;
    std::int32_t Pos = 0;
    friend bool operator==(const TParaPos&, const TParaPos&) = default;
};

// How positions follow a change report. The marker rules never move an unset position
// (paragraph 0); the editor applies them to its caret and selection ends as well, except for
// the two deletions, which have caret rules of their own.
void AdjustMarkerForParaDeleted(TParaPos& marker, std::int32_t para);
void AdjustMarkerForTextDeleted(TParaPos& marker, std::int32_t para, std::int32_t pos,
                                std::int32_t count);
void AdjustMarkerForParaSplit(TParaPos& marker, std::int32_t para, std::int32_t pos,
                              std::int32_t indent);
void AdjustMarkerForTextInserted(TParaPos& marker, std::int32_t para, std::int32_t pos,
                                 std::int32_t count);
void AdjustMarkerForParasJoined(TParaPos& marker, std::int32_t para, std::int32_t pos);
/// A caret in the deleted paragraph goes to position 1 of the paragraph now numbered `para`,
/// one after it moves up; the result stays within `paraCount` (the count after the deletion).
void AdjustCaretForParaDeleted(TParaPos& caret, std::int32_t para, std::int32_t paraCount);
/// A caret inside the deleted characters goes to their start, one after them moves left.
void AdjustCaretForTextDeleted(TParaPos& caret, std::int32_t para, std::int32_t pos,
                               std::int32_t count);

/// A named place that a document brings along, as a DOC file stores its bookmarks.
struct TStoredBookmark {
    std::string Name;
    TParaPos Place;
    friend bool operator==(const TStoredBookmark&, const TStoredBookmark&) = default;
};

/// The editor side of a store: receives the change reports for its views (after the store
/// has adjusted its bookmarks) and the requests that follow a re-wrap. The editor control
/// implements it; the store holds it without owning it.
class TParaListClient {
  public:
    virtual ~TParaListClient() = default;
    virtual void ParaDeleted(std::int32_t para) = 0;
    virtual void TextDeleted(std::int32_t para, std::int32_t pos, std::int32_t count) = 0;
    /// Also reports an inserted paragraph, as a split at position 1 with indent 0.
    virtual void ParaSplit(std::int32_t para, std::int32_t pos, std::int32_t indent) = 0;
    virtual void TextInserted(std::int32_t para, std::int32_t pos, std::int32_t count) = 0;
    virtual void ParasJoined(std::int32_t para, std::int32_t pos) = 0;
    /// Every view recomputes its display positions after the whole text was re-wrapped.
    virtual void Reposition() = 0;
    /// A long re-wrap starts (true) or ends (false): the busy cursor.
    virtual void BusyChanged(bool busy) = 0;
};

enum class TTrimBlanks : bool { No, Yes };

/// One display line: the paragraph holding it and its characters (a view into the paragraph,
/// valid until the text changes). Para is null for a line outside the text.
struct TLineText {
    TParaNode* Para = nullptr;
    std::string_view Text;
};

/// Paragraph and 0-based offset of a display line's first character.
struct TLineStart {
    std::int32_t Para = 1;
    std::int32_t Offset = 0;
};

/// Whether a line end follows `node` when the text is saved: not when the next paragraph
/// continues its line, unless that is the empty last paragraph, which is never written.
inline bool LineEndFollows(const TParaNode& node) {
    const TParaNode* next = node.Next;
    return next == nullptr || !next->ContinuesLine() ||
           (next->Next == nullptr && next->Length() == 0);
}

/// The text of one editor: a doubly linked list of paragraphs, never empty. Paragraphs,
/// display lines, positions and columns are 1-based (see TParaPos). Lookups walk from the
/// nearest of the first paragraph, a cached one and the last one, so sequential access costs
/// constant time. Every change goes through the operations below, which keep the counts,
/// record undo (except while replaying), set Modified, note the changed display lines and
/// report to bookmarks and the client.
class TParaList {
  public:
    /// A store holding one empty paragraph, reporting to `editor` (may be null).
    TParaList(TParaListClient* editor, bool wordWrap, std::uint16_t undoBufferSize);
    ~TParaList();
    TParaList(const TParaList&) = delete;
    TParaList& operator=(const TParaList&) = delete;

    // Counts and state.
    std::int32_t ParaCount() const { return paraCount_; }
    /// Size of the text saved with CR LF between paragraphs (two bytes more for each place
    /// where a line goes on in the next paragraph).
    std::int64_t ByteCount() const { return byteCount_; }
    std::int32_t LineCount() const { return lineCount_; }
    bool Modified() const { return modified_; }
    /// Counts the changes to the text since the store was made: one that differs from an
    /// earlier reading means the text changed since.
    std::uint64_t ChangeCount() const { return changeCount_; }
    /// Clearing the flag (after a save) marks every undo record as made on modified text.
    void SetModified(bool modified);
    bool Replaying() const { return replaying_; }
    /// Display lines changed by the last change; LastChangedLine is kMaxInt32 through the end.
    std::int32_t FirstChangedLine() const { return firstChangedLine_; }
    std::int32_t LastChangedLine() const { return lastChangedLine_; }
    TUndoBuffer& UndoBuffer() { return *undo_; }
    const TUndoBuffer& UndoBuffer() const { return *undo_; }
    const TParaNode* Head() const { return head_; }

    // Settings. Out-of-range values are ignored.
    std::int32_t ByteLimit() const { return byteLimit_; }
    void SetByteLimit(std::int32_t limit);  ///< 0 or more
    std::int32_t ParaLimit() const { return paraLimit_; }
    void SetParaLimit(std::int32_t limit);  ///< above 0
    std::int32_t ParaLengthLimit() const { return paraLengthLimit_; }
    void SetParaLengthLimit(std::int32_t limit);  ///< 1 to 32767
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);  ///< a change re-wraps and refreshes the views
    std::int32_t WrapColumn() const { return wrapColumn_; }
    void SetWrapColumn(std::int32_t column);  ///< above 0; re-wraps when word wrap is on
    std::uint8_t TabSize() const { return tabSize_; }
    void SetTabSize(std::uint8_t tabSize);  ///< 1 to 255; re-wraps when word wrap is on
    /// Bytes the undo buffer really obtained.
    std::uint16_t UndoBufferSize() const { return undo_->MemorySize(); }
    /// Replaces the undo buffer (and so the history) with a new, empty one of `size` bytes.
    void SetUndoBufferSize(std::uint16_t size);

    // Queries. Lookups move the position cache; none records undo or sets Modified.

    /// WrapColumn with word wrap on, else kNoWrapColumn.
    std::int32_t EffectiveWrapColumn() const;
    /// Paragraph `para`, or null outside 1..ParaCount.
    TParaNode* GetPara(std::int32_t para);
    /// Length of paragraph `para`, 0 when it does not exist.
    std::uint16_t GetParaLength(std::int32_t para);
    /// Display line `line`; with word wrap off the whole paragraph. Outside 1..LineCount: no
    /// paragraph, empty text, cache untouched.
    TLineText GetLine(std::int32_t line);
    std::int32_t GetLineLength(std::int32_t line);
    /// Display width of the line, tabs expanded.
    std::int32_t GetLineWidth(std::int32_t line);
    /// Display line and column of a paragraph position; the paragraph is clamped to the text.
    TLineAndColumn ParaToLine(std::int32_t para, std::int32_t pos);
    /// Paragraph and offset of a display line (clamped to the text); with word wrap off the
    /// line itself and 0.
    TLineStart LineToPara(std::int32_t line);
    std::int32_t TextWidth(const char* text, std::int32_t count) const;
    std::int32_t PosToColumn(const char* text, std::int32_t length, std::int32_t pos) const;
    std::int32_t ColumnToPos(const char* text, std::int32_t length, std::int32_t column) const;
    /// Whether adding `newParas` (0 or 1) paragraphs and `bytes` bytes, to paragraph `para`
    /// (0: none) stays within the limits: 0, kErrorTooManyParas, kErrorTextTooLarge or
    /// kErrorParaTooLong.
    TEditorErrorCode CheckLimits(std::int32_t para, std::int32_t newParas, std::int64_t bytes);

    // Changes. Each returns an error code where it can fail and then leaves the text as it was
    // before the failing step; compound changes keep the steps already done. A paragraph
    // number outside the text changes nothing. Texts passed in must not point into the store's
    // own paragraphs, whose buffers a change may move.

    /// Adds a loaded paragraph before the last one: no undo, no report, Modified untouched.
    /// With `trim`, trailing blanks are dropped; `continuesLine` marks it as going on with the
    /// line of the paragraph before.
    TEditorErrorCode AppendPara(std::string_view text, TTrimBlanks trim,
                                bool continuesLine = false);
    /// Adds one line of a file being loaded, cut into paragraphs of at most ParaLengthLimit
    /// characters after a blank where there is one; the paragraphs after the first continue
    /// the line. With `trim`, the line's trailing blanks are dropped (not those at a cut).
    TEditorErrorCode AppendLine(std::string_view text, TTrimBlanks trim);
    /// Inserts `text` at `pos`, padding with spaces when `pos` lies past the end.
    TEditorErrorCode InsertText(std::int32_t para, std::int32_t pos, std::string_view text);
    /// Deletes up to `count` characters at `pos`; nothing past the end.
    void DeleteText(std::int32_t para, std::int32_t pos, std::int32_t count);
    /// Overwrites `oldCount` characters at `pos` (cut to the text) with `text`; at a position
    /// past the end this is InsertText.
    TEditorErrorCode ReplaceText(std::int32_t para, std::int32_t pos, std::int32_t oldCount,
                                 std::string_view text);
    TEditorErrorCode InsertParaBefore(std::int32_t para, std::string_view text);
    TEditorErrorCode InsertParaAfter(std::int32_t para, std::string_view text);
    /// Removes paragraph `para` with the line end after it: the paragraph that follows takes
    /// its place in the lines (it continues a line when the removed one did). The only
    /// paragraph is never removed.
    void DeletePara(std::int32_t para);
    /// Breaks `para` at `pos`. `indent` is in: the display width to indent the new paragraph
    /// by (tabs of `indentTabSize` columns, then spaces); out: characters inserted.
    TEditorErrorCode SplitPara(std::int32_t para, std::int32_t pos, TTrimBlanks trim,
                               std::int32_t& indent, std::uint8_t indentTabSize);
    /// Appends the next paragraph to `para` at `pos` (at least its length + 1; more pads).
    TEditorErrorCode JoinParas(std::int32_t para, std::int32_t pos);
    /// Deletes from `from` up to, not including, `to`.
    TEditorErrorCode DeleteRange(TParaPos from, TParaPos to);
    /// Inserts text that may hold line breaks (LF, CR LF, or a final CR) at `at`, which
    /// becomes the position just after the inserted text. With `trim`, each line the text
    /// ends loses its trailing blanks.
    TEditorErrorCode InsertLines(TParaPos& at, std::string_view text,
                                 TTrimBlanks trim = TTrimBlanks::Yes);
    /// Wraps every paragraph again at the effective wrap column.
    void RewrapAll();
    /// Whether paragraph `para` goes on with the line of the one before (no line end between
    /// them when the text is saved); false outside the text.
    bool ContinuesLine(std::int32_t para);
    /// Puts a line end before paragraph `para` (false) or takes it away (true); recorded.
    void SetContinuesLine(std::int32_t para, bool continues);

    // Bookmarks 0 to 9; other indexes are ignored.
    void SetMarker(std::size_t index, std::int32_t para, std::int32_t pos);
    void SetMarkerAtLine(std::size_t index, std::int32_t line, std::int32_t column);
    /// Bookmark `index`; unset (paragraph 0) when never set, cleared or out of range.
    TParaPos Marker(std::size_t index) const;

    // Stored bookmarks follow changes as bookmarks 0 to 9 do, except that a deletion moves
    // those in the deleted text to its place (they are never cleared), and undoing that
    // deletion puts the text back after them: they stand at the start of the restored text.
    const std::vector<TStoredBookmark>& StoredBookmarks() const { return storedBookmarks_; }
    /// Replaces the stored bookmarks; places outside the text are moved to its nearest place.
    void SetStoredBookmarks(std::vector<TStoredBookmark> bookmarks);
    /// Where each stored bookmark stands in the text saved with CR LF where LineEndFollows:
    /// bytes before it, in the bookmarks' order.
    std::vector<std::int64_t> StoredBookmarkOffsets();

    /// Undoes one step; `caret` gets the place of its oldest change. Returns the restored
    /// Modified value.
    bool UndoReplay(TParaPos& caret);
    /// Redoes one step; `caret` gets the place just after its last change.
    void RedoReplay(TParaPos& caret);
    /// Asks the client's views to reposition after a re-wrap.
    void RefreshViews();

  private:
    class CompoundChange;

    void seekLine(std::int32_t line);
    std::int32_t cachedFirstLine() const { return curLine_ - curLineInPara_ + 1; }
    void cacheAt(TParaNode* node, std::int32_t para, std::int32_t firstLine);
    TParaPtr makePara(std::string_view text);
    TEditorErrorCode insertPara(std::int32_t para, std::string_view text, TUndoKind kind,
                                bool continuesLine = false);
    /// DeletePara without handing its place in the lines on.
    void removePara(std::int32_t para);
    /// Links `node` in so that it becomes paragraph `number` (ParaCount + 1: at the end).
    void linkPara(TParaPtr node, std::int32_t number);
    TParaPtr unlinkPara(std::int32_t para);
    void finishTextChange(TParaNode* node, std::int32_t firstLine, std::uint16_t offset,
                          std::uint16_t oldCount, std::uint16_t newCount);
    void noteChangedLines(std::int32_t first, std::int32_t last);
    void replayUndoRecord(const TUndoRecord& record);
    TParaPos replayRedoRecord(const TUndoRecord& record);

    /// Adjusts the bookmarks, then tells the client, unless reports are off.
    template <typename AdjustMarker, typename AdjustStored, typename Notify>
    void report(AdjustMarker adjustMarker, AdjustStored adjustStored, Notify notify);
    /// The stamp of a stored bookmark that a deletion moved: the undo count after the deletion
    /// was recorded, kMaxInt32 while undoing.
    std::int32_t displacementStamp() const;
    /// `length`: of the paragraph taken out.
    void reportParaDeleted(std::int32_t para, std::int32_t length);
    void reportTextDeleted(std::int32_t para, std::int32_t pos, std::int32_t count);
    void reportParaSplit(std::int32_t para, std::int32_t pos, std::int32_t indent);
    void reportTextInserted(std::int32_t para, std::int32_t pos, std::int32_t count);
    void reportParasJoined(std::int32_t para, std::int32_t pos);

    TParaListClient* editor_;  ///< not owned
    TParaNode* head_ = nullptr;
    TParaNode* tail_ = nullptr;
    TParaNode* curNode_ = nullptr;    ///< position cache: always a linked paragraph
    std::int32_t curPara_ = 1;        ///< number of curNode_
    std::int32_t curLine_ = 1;        ///< absolute display line of the cached line
    std::int32_t curLineInPara_ = 1;  ///< 1..curNode_->LineCount()
    std::int32_t paraCount_ = 1;
    std::int64_t byteCount_ = 0;
    std::int32_t lineCount_ = 1;
    std::int32_t paraLimit_ = kMaxInt32;
    std::int32_t byteLimit_ = kMaxInt32;
    std::int32_t paraLengthLimit_ = 32767;
    bool wordWrap_;
    std::int32_t wrapColumn_ = 80;
    std::uint8_t tabSize_ = 8;
    bool modified_ = false;
    std::uint64_t changeCount_ = 0;
    bool reportChanges_ = true;
    std::array<TParaPos, kMarkerCount> markers_{};
    std::vector<TStoredBookmark> storedBookmarks_;
    /// Per stored bookmark: 0, or the stamp of the deletion that moved it until that deletion
    /// is undone.
    std::vector<std::int32_t> displacedBy_;
    TParaArena arena_;  ///< before undo_, whose records give paragraphs back to it
    std::unique_ptr<TUndoBuffer> undo_;
    bool replaying_ = false;
    bool undoing_ = false;  ///< replaying undo records, not redo records
    std::int32_t firstChangedLine_ = 1;
    std::int32_t lastChangedLine_ = 1;
    std::int32_t compoundDepth_ = 0;  ///< open compound changes, whose changed lines add up
};

}  // namespace tomery::editor
