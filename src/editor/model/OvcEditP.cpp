#include "OvcEditP.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <string>

namespace tomery::editor {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimTrailingBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

/// The data of a LineContinued undo record.
std::string_view LineContinuedData(bool continues) {
    return continues ? std::string_view("\1", 1) : std::string_view("\0", 1);
}

/// A text change grew or shrank a paragraph past what its 16-bit length can hold.
bool ExceedsNode(std::int64_t length) {
    return length > static_cast<std::int64_t>(kMaxParaNodeLength);
}

}  // namespace

void AdjustMarkerForParaDeleted(TParaPos& marker, std::int32_t para) {
    if (marker.Para == 0) {
        return;
    }
    if (marker.Para == para) {
        marker = {};
    } else if (marker.Para > para) {
        --marker.Para;
    }
}

void AdjustMarkerForTextDeleted(TParaPos& marker, std::int32_t para, std::int32_t pos,
                                std::int32_t count) {
    if (marker.Para == 0) {
        return;
    }
    if (marker.Para != para || marker.Pos < pos) {
        return;
    }
    if (marker.Pos < pos + count) {
        marker = {};
    } else {
        marker.Pos -= count;
    }
}

void AdjustMarkerForParaSplit(TParaPos& marker, std::int32_t para, std::int32_t pos,
                              std::int32_t indent) {
    if (marker.Para == 0) {
        return;
    }
    if (marker.Para > para) {
        ++marker.Para;
    } else if (marker.Para == para && marker.Pos >= pos) {
        marker = {para + 1, indent + marker.Pos - pos + 1};
    }
}

void AdjustMarkerForTextInserted(TParaPos& marker, std::int32_t para, std::int32_t pos,
                                 std::int32_t count) {
    if (marker.Para == 0) {
        return;
    }
    if (marker.Para == para && marker.Pos >= pos) {
        marker.Pos += count;
    }
}

void AdjustMarkerForParasJoined(TParaPos& marker, std::int32_t para, std::int32_t pos) {
    if (marker.Para == 0) {
        return;
    }
    if (marker.Para <= para) {
        return;
    }
    if (marker.Para == para + 1) {
        marker.Pos += pos - 1;
    }
    --marker.Para;
}

void AdjustCaretForParaDeleted(TParaPos& caret, std::int32_t para, std::int32_t paraCount) {
    if (caret.Para == para) {
        caret.Pos = 1;
    } else if (caret.Para > para) {
        --caret.Para;
    }
    caret.Para = std::clamp(caret.Para, 1, std::max(paraCount, 1));
}

void AdjustCaretForTextDeleted(TParaPos& caret, std::int32_t para, std::int32_t pos,
                               std::int32_t count) {
    if (caret.Para != para || caret.Pos < pos) {
        return;
    }
    caret.Pos = caret.Pos < pos + count ? pos : caret.Pos - count;
}

/// One undo step whose changed display lines add up. Nested ones join the outermost.
class TParaList::CompoundChange {
  public:
    explicit CompoundChange(TParaList& list) : list_(list), group_(*list.undo_) {
        if (list_.compoundDepth_++ == 0) {
            savedFirst_ = list_.firstChangedLine_;
            savedLast_ = list_.lastChangedLine_;
            list_.firstChangedLine_ = kMaxInt32;
            list_.lastChangedLine_ = 0;
        }
    }
    ~CompoundChange() {
        if (--list_.compoundDepth_ == 0 && list_.firstChangedLine_ == kMaxInt32) {
            list_.firstChangedLine_ = savedFirst_;
            list_.lastChangedLine_ = savedLast_;
        }
    }
    CompoundChange(const CompoundChange&) = delete;
    CompoundChange& operator=(const CompoundChange&) = delete;

  private:
    TParaList& list_;
    TUndoGroupGuard group_;
    std::int32_t savedFirst_ = 1;
    std::int32_t savedLast_ = 1;
};

namespace {

/// Holds a flag at a value for its lifetime: reports off inside a change that reports once at
/// its end, replaying on during undo and redo.
class ScopedFlag {
  public:
    ScopedFlag(bool& flag, bool value) : flag_(flag), previous_(flag) { flag_ = value; }
    ~ScopedFlag() { flag_ = previous_; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

  private:
    bool& flag_;
    bool previous_;
};

}  // namespace

TParaList::TParaList(TParaListClient* editor, bool wordWrap, std::uint16_t undoBufferSize)
    : editor_(editor),
      wordWrap_(wordWrap),
      undo_(std::make_unique<TUndoBuffer>(undoBufferSize, nullptr, &arena_)) {
    head_ = tail_ = curNode_ = makePara({}).release();
}

TParaList::~TParaList() {
    undo_.reset();
    for (TParaNode* node = tail_; node != nullptr;) {
        TParaNode* prev = node->Prev;
        arena_.Release(node);
        node = prev;
    }
}

void TParaList::SetModified(bool modified) {
    modified_ = modified;
    if (!modified) {
        undo_->MarkAllModified();
    }
}

void TParaList::SetByteLimit(std::int32_t limit) {
    if (limit >= 0) {
        byteLimit_ = limit;
    }
}

void TParaList::SetParaLimit(std::int32_t limit) {
    if (limit > 0) {
        paraLimit_ = limit;
    }
}

void TParaList::SetParaLengthLimit(std::int32_t limit) {
    if (limit >= 1 && limit <= 32767) {
        paraLengthLimit_ = limit;
    }
}

void TParaList::SetWordWrap(bool wordWrap) {
    if (wordWrap == wordWrap_) {
        return;
    }
    wordWrap_ = wordWrap;
    RewrapAll();
    RefreshViews();
}

void TParaList::SetWrapColumn(std::int32_t column) {
    if (column <= 0 || column == wrapColumn_) {
        return;
    }
    wrapColumn_ = column;
    if (wordWrap_) {
        RewrapAll();
        RefreshViews();
    }
}

void TParaList::SetTabSize(std::uint8_t tabSize) {
    if (tabSize == 0 || tabSize == tabSize_) {
        return;
    }
    tabSize_ = tabSize;
    if (wordWrap_) {
        RewrapAll();
        RefreshViews();
    }
}

void TParaList::SetUndoBufferSize(std::uint16_t size) {
    undo_ = std::make_unique<TUndoBuffer>(size, nullptr, &arena_);
}

std::int32_t TParaList::EffectiveWrapColumn() const {
    return wordWrap_ ? wrapColumn_ : kNoWrapColumn;
}

void TParaList::cacheAt(TParaNode* node, std::int32_t para, std::int32_t firstLine) {
    curNode_ = node;
    curPara_ = para;
    curLine_ = firstLine;
    curLineInPara_ = 1;
}

TParaNode* TParaList::GetPara(std::int32_t para) {
    if (para < 1 || para > paraCount_) {
        return nullptr;
    }
    cacheAt(curNode_, curPara_, cachedFirstLine());
    if (para == curPara_) {
        return curNode_;
    }
    if (para == 1) {
        cacheAt(head_, 1, 1);
    } else if (para == paraCount_) {
        cacheAt(tail_, para, lineCount_ - tail_->LineCount() + 1);
    } else if (para == curPara_ + 1) {
        cacheAt(curNode_->Next, para, curLine_ + curNode_->LineCount());
    } else if (para == curPara_ - 1) {
        cacheAt(curNode_->Prev, para, curLine_ - curNode_->Prev->LineCount());
    } else {
        TParaNode* node = head_;
        std::int32_t number = 1;
        std::int32_t firstLine = 1;
        const std::int32_t fromCache = std::abs(para - curPara_);
        const std::int32_t fromEnd = paraCount_ - para;
        if (fromCache < para - 1 || fromEnd < para - 1) {
            if (fromCache < fromEnd) {
                node = curNode_;
                number = curPara_;
                firstLine = curLine_;
            } else {
                node = tail_;
                number = paraCount_;
                firstLine = lineCount_ - tail_->LineCount() + 1;
            }
        }
        for (; number < para; ++number) {
            firstLine += node->LineCount();
            node = node->Next;
        }
        for (; number > para; --number) {
            node = node->Prev;
            firstLine -= node->LineCount();
        }
        cacheAt(node, para, firstLine);
    }
    return curNode_;
}

std::uint16_t TParaList::GetParaLength(std::int32_t para) {
    const TParaNode* node = GetPara(para);
    return node != nullptr ? node->Length() : 0;
}

void TParaList::seekLine(std::int32_t line) {
    if (line == curLine_) {
        return;
    }
    if (line == curLine_ + 1 && curLineInPara_ < curNode_->LineCount()) {
        ++curLineInPara_;
        ++curLine_;
        return;
    }
    if (line == curLine_ - 1 && curLineInPara_ > 1) {
        --curLineInPara_;
        --curLine_;
        return;
    }
    TParaNode* node = head_;
    std::int32_t number = 1;
    std::int32_t firstLine = 1;
    const std::int32_t fromCache = std::abs(line - curLine_);
    const std::int32_t fromEnd = lineCount_ - line;
    if (line != 1 && (fromCache < line - 1 || fromEnd < line - 1)) {
        if (fromCache < fromEnd) {
            node = curNode_;
            number = curPara_;
            firstLine = cachedFirstLine();
        } else {
            node = tail_;
            number = paraCount_;
            firstLine = lineCount_ - tail_->LineCount() + 1;
        }
    }
    // From a neighbouring line this is a single step into the next or previous paragraph.
    while (line < firstLine) {
        node = node->Prev;
        --number;
        firstLine -= node->LineCount();
    }
    while (node->Next != nullptr && line >= firstLine + node->LineCount()) {
        firstLine += node->LineCount();
        node = node->Next;
        ++number;
    }
    cacheAt(node, number, firstLine);
    curLineInPara_ = line - firstLine + 1;
    curLine_ = line;
}

TLineText TParaList::GetLine(std::int32_t line) {
    if (line < 1 || line > lineCount_) {
        return {};
    }
    if (!wordWrap_) {
        TParaNode* node = GetPara(line);
        return {node, node->Text()};
    }
    seekLine(line);
    return {curNode_, curNode_->LineText(curLineInPara_)};
}

std::int32_t TParaList::GetLineLength(std::int32_t line) {
    return static_cast<std::int32_t>(GetLine(line).Text.size());
}

std::int32_t TParaList::GetLineWidth(std::int32_t line) {
    const std::string_view text = GetLine(line).Text;
    return TextWidth(text.data(), static_cast<std::int32_t>(text.size()));
}

TLineAndColumn TParaList::ParaToLine(std::int32_t para, std::int32_t pos) {
    const TParaNode* node = GetPara(std::clamp(para, 1, paraCount_));
    const TLineAndColumn inPara = node->LineOfPos(pos);
    curLineInPara_ = inPara.Line;
    curLine_ += inPara.Line - 1;
    return {curLine_, inPara.Column};
}

TLineStart TParaList::LineToPara(std::int32_t line) {
    if (!wordWrap_) {
        return {line, 0};
    }
    seekLine(std::clamp(line, 1, lineCount_));
    return {curPara_, curNode_->LineStart(curLineInPara_ - 1)};
}

std::int32_t TParaList::TextWidth(const char* text, std::int32_t count) const {
    return editor::TextWidth(text, count, tabSize_);
}

std::int32_t TParaList::PosToColumn(const char* text, std::int32_t length, std::int32_t pos) const {
    return editor::PosToColumn(text, length, pos, tabSize_);
}

std::int32_t TParaList::ColumnToPos(const char* text, std::int32_t length,
                                    std::int32_t column) const {
    return editor::ColumnToPos(text, length, column, tabSize_);
}

TEditorErrorCode TParaList::CheckLimits(std::int32_t para, std::int32_t newParas,
                                        std::int64_t bytes) {
    if (newParas != 0 || para > paraLimit_) {
        std::int64_t allowed = paraLimit_;
        if (para <= paraLimit_ && tail_->Length() == 0 && paraLimit_ != kMaxInt32) {
            ++allowed;
        }
        if (allowed < static_cast<std::int64_t>(newParas) + paraCount_) {
            return kErrorTooManyParas;
        }
    }
    if (bytes + byteCount_ > byteLimit_) {
        return kErrorTextTooLarge;
    }
    if (para == 0 || newParas != 0) {
        return kErrorNone;
    }
    const TParaNode* node = GetPara(para);
    if (node != nullptr && bytes + node->Length() > paraLengthLimit_) {
        return kErrorParaTooLong;
    }
    return kErrorNone;
}

TParaPtr TParaList::makePara(std::string_view text) {
    return arena_.Make(text, EffectiveWrapColumn(), tabSize_);
}

void TParaList::noteChangedLines(std::int32_t first, std::int32_t last) {
    if (compoundDepth_ > 0) {
        firstChangedLine_ = std::min(firstChangedLine_, first);
        lastChangedLine_ = std::max(lastChangedLine_, last);
    } else {
        firstChangedLine_ = first;
        lastChangedLine_ = last;
    }
}

void TParaList::finishTextChange(TParaNode* node, std::int32_t firstLine, std::uint16_t offset,
                                 std::uint16_t oldCount, std::uint16_t newCount) {
    const std::int32_t oldLines = node->LineCount();
    const TChangedLines changed =
        node->RewrapAfterChange(EffectiveWrapColumn(), tabSize_, offset, oldCount, newCount);
    lineCount_ += node->LineCount() - oldLines;
    byteCount_ += newCount - oldCount;
    noteChangedLines(firstLine + changed.First - 1,
                     node->LineCount() != oldLines ? kMaxInt32 : firstLine + changed.Last - 1);
    modified_ = true;
}

TEditorErrorCode TParaList::AppendPara(std::string_view text, TTrimBlanks trim,
                                       bool continuesLine) {
    if (trim == TTrimBlanks::Yes) {
        text = TrimTrailingBlanks(text);
    }
    if (ExceedsNode(static_cast<std::int64_t>(text.size()))) {
        return kErrorParaTooLong;
    }
    TParaPtr node;
    try {
        node = makePara(text);
    } catch (const std::bad_alloc&) {
        return kErrorOutOfMemory;
    }
    TParaNode* added = node.release();
    added->SetContinuesLine(continuesLine);
    added->Next = tail_;
    added->Prev = tail_->Prev;
    (tail_->Prev != nullptr ? tail_->Prev->Next : head_) = added;
    tail_->Prev = added;
    ++paraCount_;
    byteCount_ += static_cast<std::int64_t>(text.size()) + 2;
    lineCount_ += added->LineCount();
    cacheAt(head_, 1, 1);
    return kErrorNone;
}

TEditorErrorCode TParaList::AppendLine(std::string_view text, TTrimBlanks trim) {
    if (trim == TTrimBlanks::Yes) {
        text = TrimTrailingBlanks(text);
    }
    TEditorErrorCode code = CheckLimits(0, 1, static_cast<std::int64_t>(text.size()) + 2);
    const auto limit = static_cast<std::size_t>(paraLengthLimit_);
    bool continuesLine = false;
    while (code == kErrorNone) {
        std::string_view piece = text;
        if (text.size() > limit) {
            const std::size_t blank = text.substr(0, limit).find_last_of(" \t");
            piece = text.substr(0, blank == std::string_view::npos ? limit : blank + 1);
        }
        code = AppendPara(piece, TTrimBlanks::No, continuesLine);
        continuesLine = true;
        text.remove_prefix(piece.size());
        if (text.empty()) {
            break;
        }
        if (code == kErrorNone) {
            code = CheckLimits(0, 1, static_cast<std::int64_t>(text.size()) + 2);
        }
    }
    return code;
}

TEditorErrorCode TParaList::InsertText(std::int32_t para, std::int32_t pos, std::string_view text) {
    if (GetPara(para) == nullptr || text.empty()) {
        return kErrorNone;
    }
    pos = std::max(pos, 1);
    if (!replaying_) {
        if (const TEditorErrorCode code =
                CheckLimits(para, 0, static_cast<std::int64_t>(text.size()))) {
            return code;
        }
    }
    TParaNode* node = GetPara(para);
    const std::uint16_t oldLength = node->Length();
    const std::int64_t padded = std::max<std::int64_t>(oldLength, pos - 1);
    if (ExceedsNode(padded + static_cast<std::int64_t>(text.size()))) {
        return kErrorParaTooLong;
    }
    if (!arena_.Reserve(*node, static_cast<std::size_t>(padded) + text.size() + 1)) {
        return kErrorOutOfMemory;
    }
    const std::int32_t firstLine = curLine_;
    const auto offset = static_cast<std::uint16_t>(std::min<std::int64_t>(padded, pos - 1));
    if (pos - 1 > oldLength) {
        node->PadTo(static_cast<std::uint16_t>(pos - 1));
    }
    node->InsertAt(static_cast<std::uint16_t>(pos - 1), text);
    const auto growth = static_cast<std::uint16_t>(node->Length() - oldLength);
    if (!replaying_) {
        if (growth == text.size()) {
            undo_->AddRecord(TUndoKind::TextInserted, modified_, text, pos, para);
        } else {
            undo_->AddRecord(TUndoKind::TextInserted, modified_, node->Text().substr(oldLength),
                             oldLength + 1, para);
        }
    }
    finishTextChange(node, firstLine, std::min(offset, oldLength), 0, growth);
    reportTextInserted(para, pos, static_cast<std::int32_t>(text.size()));
    return kErrorNone;
}

void TParaList::DeleteText(std::int32_t para, std::int32_t pos, std::int32_t count) {
    TParaNode* node = GetPara(para);
    if (node == nullptr || !node->HasBuffer() || pos < 1) {
        return;
    }
    const std::int64_t cut = std::min<std::int64_t>(count, node->Length() - pos + 1);
    if (cut <= 0) {
        return;
    }
    const auto offset = static_cast<std::uint16_t>(pos - 1);
    const auto removed = static_cast<std::uint16_t>(cut);
    if (!replaying_) {
        undo_->AddRecord(TUndoKind::TextDeleted, modified_, node->Text().substr(offset, removed),
                         pos, para);
    }
    const std::int32_t firstLine = curLine_;
    node->EraseAt(offset, removed);
    finishTextChange(node, firstLine, offset, removed, 0);
    reportTextDeleted(para, pos, removed);
}

TEditorErrorCode TParaList::ReplaceText(std::int32_t para, std::int32_t pos, std::int32_t oldCount,
                                        std::string_view text) {
    TParaNode* node = GetPara(para);
    if (node == nullptr || pos < 1) {
        return kErrorNone;
    }
    if (pos > node->Length() + 1) {
        return InsertText(para, pos, text);
    }
    const auto oldSize =
        static_cast<std::uint16_t>(std::clamp<std::int64_t>(oldCount, 0, node->Length() - pos + 1));
    const std::int64_t newSize = static_cast<std::int64_t>(text.size());
    if (oldSize == 0 && newSize == 0) {
        return kErrorNone;
    }
    if (newSize > oldSize) {
        if (!replaying_) {
            if (const TEditorErrorCode code = CheckLimits(para, 0, newSize - oldSize)) {
                return code;
            }
            node = GetPara(para);
        }
        if (ExceedsNode(node->Length() + newSize - oldSize)) {
            return kErrorParaTooLong;
        }
        if (!arena_.Reserve(*node,
                            static_cast<std::size_t>(node->Length() + newSize - oldSize + 1))) {
            return kErrorOutOfMemory;
        }
    }
    const auto offset = static_cast<std::uint16_t>(pos - 1);
    if (!replaying_) {
        undo_->AddReplaceRecord(modified_, para, text, node->Text().substr(offset, oldSize), pos);
    }
    const std::int32_t firstLine = curLine_;
    const auto newCount = static_cast<std::uint16_t>(newSize);
    const std::uint16_t common = std::min(oldSize, newCount);
    node->OverwriteAt(offset, text.substr(0, common));
    if (newCount < oldSize) {
        node->EraseAt(static_cast<std::uint16_t>(offset + newCount),
                      static_cast<std::uint16_t>(oldSize - newCount));
    } else if (newCount > oldSize) {
        node->InsertAt(static_cast<std::uint16_t>(offset + oldSize), text.substr(oldSize));
    }
    finishTextChange(node, firstLine, offset, oldSize, newCount);
    if (newCount == oldSize) {
        reportTextInserted(para, pos, 0);
    } else if (newCount > oldSize) {
        reportTextInserted(para, pos + oldSize, newCount - oldSize);
    } else {
        reportTextDeleted(para, pos + newCount, oldSize - newCount);
    }
    return kErrorNone;
}

TEditorErrorCode TParaList::InsertParaBefore(std::int32_t para, std::string_view text) {
    const TParaNode* next = GetPara(para);
    if (next == nullptr) {
        return kErrorNone;
    }
    const bool continuesLine = next->ContinuesLine();
    if (!replaying_) {
        if (const TEditorErrorCode code =
                CheckLimits(0, 1, static_cast<std::int64_t>(text.size()) + 2)) {
            return code;
        }
        if (static_cast<std::int64_t>(text.size()) > paraLengthLimit_) {
            return kErrorParaTooLong;
        }
    }
    if (!continuesLine) {
        return insertPara(para, text, TUndoKind::ParaInsertedBefore);
    }
    // The new paragraph takes the place of the one it goes before in the middle of a line,
    // whose rest then starts after the new paragraph's line end.
    CompoundChange compound(*this);
    const TEditorErrorCode code =
        insertPara(para, text, TUndoKind::ParaInsertedBefore, continuesLine);
    if (code == kErrorNone) {
        SetContinuesLine(para + 1, false);
    }
    return code;
}

TEditorErrorCode TParaList::InsertParaAfter(std::int32_t para, std::string_view text) {
    if (GetPara(para) == nullptr) {
        return kErrorNone;
    }
    return insertPara(para, text, TUndoKind::ParaInsertedAfter);
}

TEditorErrorCode TParaList::insertPara(std::int32_t para, std::string_view text, TUndoKind kind,
                                       bool continuesLine) {
    if (ExceedsNode(static_cast<std::int64_t>(text.size()))) {
        return kErrorParaTooLong;
    }
    TParaPtr node;
    try {
        node = makePara(text);
    } catch (const std::bad_alloc&) {
        return kErrorOutOfMemory;
    }
    node->SetContinuesLine(continuesLine);
    if (!replaying_) {
        undo_->AddParaRecord(kind, modified_, node.get(), 1, para);
    }
    linkPara(std::move(node), kind == TUndoKind::ParaInsertedBefore ? para : para + 1);
    return kErrorNone;
}

void TParaList::linkPara(TParaPtr node, std::int32_t number) {
    if (node == nullptr) {
        return;
    }
    node->Wrap(EffectiveWrapColumn(), tabSize_);
    TParaNode* added = node.release();
    std::int32_t firstLine = lineCount_ + 1;
    if (TParaNode* next = GetPara(number)) {
        firstLine = curLine_;
        added->Next = next;
        added->Prev = next->Prev;
        (next->Prev != nullptr ? next->Prev->Next : head_) = added;
        next->Prev = added;
    } else {
        number = paraCount_ + 1;
        added->Prev = tail_;
        tail_->Next = added;
        tail_ = added;
    }
    ++paraCount_;
    lineCount_ += added->LineCount();
    byteCount_ += added->Length() + 2;
    cacheAt(added, number, firstLine);
    noteChangedLines(firstLine, kMaxInt32);
    modified_ = true;
    reportParaSplit(number, 1, 0);
}

TParaPtr TParaList::unlinkPara(std::int32_t para) {
    TParaNode* node = GetPara(para);
    if (node == nullptr || paraCount_ == 1) {
        return nullptr;
    }
    const std::int32_t firstLine = curLine_;
    if (para == 1) {
        cacheAt(node->Next, 1, 1);
    } else {
        cacheAt(node->Prev, para - 1, firstLine - node->Prev->LineCount());
    }
    (node->Prev != nullptr ? node->Prev->Next : head_) = node->Next;
    (node->Next != nullptr ? node->Next->Prev : tail_) = node->Prev;
    node->Next = node->Prev = nullptr;
    --paraCount_;
    lineCount_ -= node->LineCount();
    byteCount_ -= node->Length() + 2;
    noteChangedLines(firstLine, kMaxInt32);
    modified_ = true;
    reportParaDeleted(para, node->Length());
    return arena_.Adopt(node);
}

void TParaList::DeletePara(std::int32_t para) {
    const TParaNode* node = GetPara(para);
    if (node == nullptr || paraCount_ == 1) {
        return;
    }
    const bool continuesLine = node->ContinuesLine();
    if (node->Next == nullptr || node->Next->ContinuesLine() == continuesLine) {
        removePara(para);
        return;
    }
    CompoundChange compound(*this);
    removePara(para);
    SetContinuesLine(para, continuesLine);
}

void TParaList::removePara(std::int32_t para) {
    TParaNode* node = GetPara(para);
    if (node == nullptr || paraCount_ == 1) {
        return;
    }
    // A paragraph that its undo record could not keep goes back to the arena at once.
    const bool kept =
        !replaying_ && undo_->AddParaRecord(TUndoKind::ParaDeleted, modified_, node, 1, para);
    TParaPtr removed = unlinkPara(para);
    if (kept) {
        static_cast<void>(removed.release());
    }
}

TEditorErrorCode TParaList::SplitPara(std::int32_t para, std::int32_t pos, TTrimBlanks trim,
                                      std::int32_t& indent, std::uint8_t indentTabSize) {
    TParaNode* node = GetPara(para);
    if (node == nullptr) {
        return kErrorNone;
    }
    pos = std::clamp(pos, 1, node->Length() + 1);
    if (pos == 1) {
        indent = 0;
        return InsertParaBefore(para, {});
    }
    CompoundChange compound(*this);
    if (!replaying_) {
        undo_->AddRecord(TUndoKind::Position, modified_, {}, pos, para);
    }
    {
        const ScopedFlag reportsOff(reportChanges_, false);
        const std::string tail(node->Text().substr(static_cast<std::size_t>(pos - 1)));
        if (const TEditorErrorCode code = InsertParaAfter(para, tail)) {
            return code;
        }
        if (!tail.empty()) {
            DeleteText(para, pos, static_cast<std::int32_t>(tail.size()));
            if (trim == TTrimBlanks::Yes) {
                const std::string_view head = GetPara(para)->Text();
                const std::size_t kept = TrimTrailingBlanks(head).size();
                DeleteText(para, static_cast<std::int32_t>(kept) + 1,
                           static_cast<std::int32_t>(head.size() - kept));
            }
        }
        std::int32_t inserted = 0;
        if (indent > 0) {
            const std::int32_t tabs = indentTabSize == 0 ? 0 : indent / indentTabSize;
            const std::int32_t spaces = indentTabSize == 0 ? indent : indent % indentTabSize;
            if (!ExceedsNode(static_cast<std::int64_t>(tabs) + spaces)) {
                const std::string text = std::string(static_cast<std::size_t>(tabs), '\t') +
                                         std::string(static_cast<std::size_t>(spaces), ' ');
                if (InsertText(para + 1, 1, text) == kErrorNone) {
                    inserted = static_cast<std::int32_t>(text.size());
                }
            }
        }
        indent = inserted;
        if (!replaying_) {
            undo_->AddRecord(TUndoKind::Position, modified_, {}, indent + 1, para + 1);
        }
    }
    reportParaSplit(para, pos, indent);
    return kErrorNone;
}

TEditorErrorCode TParaList::JoinParas(std::int32_t para, std::int32_t pos) {
    TParaNode* node = GetPara(para);
    if (node == nullptr || node->Next == nullptr) {
        return kErrorNone;
    }
    pos = std::max(pos, node->Length() + 1);
    CompoundChange compound(*this);
    if (pos == 1) {
        {
            const ScopedFlag reportsOff(reportChanges_, false);
            DeletePara(para);
        }
        reportParasJoined(para, 1);
        return kErrorNone;
    }
    const std::string next(node->Next->Text());
    if (CheckLimits(para, 0, static_cast<std::int64_t>(next.size()) + pos - node->Length() - 1) !=
        kErrorNone) {
        return kErrorJoinTooLong;
    }
    TEditorErrorCode code = kErrorNone;
    {
        const ScopedFlag reportsOff(reportChanges_, false);
        if (!next.empty()) {
            code = InsertText(para, pos, next);
        }
        // The joined paragraph's line end goes; the line end after it stays as it was.
        if (code == kErrorNone) {
            removePara(para + 1);
        }
        if (!replaying_) {
            undo_->AddRecord(TUndoKind::Position, modified_, {}, pos, para);
        }
    }
    if (code != kErrorNone) {
        return code == kErrorOutOfMemory ? code : kErrorJoinTooLong;
    }
    reportParasJoined(para, pos);
    return kErrorNone;
}

TEditorErrorCode TParaList::DeleteRange(TParaPos from, TParaPos to) {
    if (from.Para < 1 || to.Para > paraCount_ || from.Pos < 1 || to.Pos < 1 ||
        from.Para > to.Para) {
        return kErrorNone;
    }
    if (from.Para == to.Para) {
        DeleteText(from.Para, from.Pos, to.Pos - from.Pos);
        return kErrorNone;
    }
    CompoundChange compound(*this);
    const std::int32_t between = to.Para - from.Para;
    if (from.Pos == 1 && to.Pos == 1) {
        for (std::int32_t i = 0; i < between; ++i) {
            DeletePara(from.Para);
        }
        return kErrorNone;
    }
    DeleteText(from.Para, from.Pos, GetParaLength(from.Para) - from.Pos + 1);
    if (to.Pos > 1) {
        DeleteText(to.Para, 1, to.Pos - 1);
    }
    for (std::int32_t i = 1; i < between; ++i) {
        DeletePara(from.Para + 1);
    }
    return JoinParas(from.Para, GetParaLength(from.Para) + 1);
}

TEditorErrorCode TParaList::InsertLines(TParaPos& at, std::string_view text, TTrimBlanks trim) {
    if (GetPara(at.Para) == nullptr) {
        return kErrorNone;
    }
    if (text.find('\n') == std::string_view::npos && (text.empty() || text.back() != '\r')) {
        const TEditorErrorCode code = InsertText(at.Para, at.Pos, text);
        if (code == kErrorNone) {
            at.Pos += static_cast<std::int32_t>(text.size());
        }
        return code;
    }
    const std::int32_t startLine = ParaToLine(at.Para, at.Pos).Line;
    TEditorErrorCode code = kErrorNone;
    {
        CompoundChange compound(*this);
        while (!text.empty() && code == kErrorNone) {
            const std::size_t lineFeed = text.find('\n');
            const std::size_t pieceSize =
                lineFeed == std::string_view::npos ? text.size() : lineFeed + 1;
            std::string_view content = text.substr(0, pieceSize);
            text.remove_prefix(pieceSize);
            const bool endsLine = IsLineBreak(content.back());
            while (!content.empty() && IsLineBreak(content.back())) {
                content.remove_suffix(1);
            }
            if (endsLine && at.Pos == 1) {
                code = InsertParaBefore(at.Para, content);
            } else {
                if (!content.empty()) {
                    code = InsertText(at.Para, at.Pos, content);
                    if (code == kErrorNone) {
                        at.Pos += static_cast<std::int32_t>(content.size());
                    }
                }
                if (code == kErrorNone && endsLine) {
                    std::int32_t indent = 0;
                    code = SplitPara(at.Para, at.Pos, trim, indent, 0);
                }
            }
            if (code == kErrorNone && endsLine) {
                ++at.Para;
                at.Pos = 1;
            }
        }
    }
    firstChangedLine_ = startLine > 1 ? startLine - 1 : 1;
    lastChangedLine_ = kMaxInt32;
    return code;
}

void TParaList::RewrapAll() {
    struct BusyCursor {
        TParaListClient* client;
        explicit BusyCursor(TParaListClient* c) : client(c) {
            if (client != nullptr) {
                client->BusyChanged(true);
            }
        }
        ~BusyCursor() {
            if (client != nullptr) {
                client->BusyChanged(false);
            }
        }
    };
    BusyCursor busy(byteCount_ > 10000 ? editor_ : nullptr);
    const std::int32_t wrapColumn = EffectiveWrapColumn();
    std::int32_t lines = 0;
    try {
        for (TParaNode* node = head_; node != nullptr; node = node->Next) {
            node->Wrap(wrapColumn, tabSize_);
            lines += node->LineCount();
        }
    } catch (...) {
        // Keep the counts true to the tables even when a table could not grow.
        lineCount_ = 0;
        for (const TParaNode* node = head_; node != nullptr; node = node->Next) {
            lineCount_ += node->LineCount();
        }
        cacheAt(head_, 1, 1);
        throw;
    }
    lineCount_ = lines;
    cacheAt(head_, 1, 1);
}

bool TParaList::ContinuesLine(std::int32_t para) {
    const TParaNode* node = GetPara(para);
    return node != nullptr && node->ContinuesLine();
}

void TParaList::SetContinuesLine(std::int32_t para, bool continues) {
    TParaNode* node = GetPara(para);
    if (node == nullptr || node->ContinuesLine() == continues) {
        return;
    }
    if (!replaying_) {
        undo_->AddRecord(TUndoKind::LineContinued, modified_, LineContinuedData(continues), 1,
                         para);
    }
    node->SetContinuesLine(continues);
    modified_ = true;
}

void TParaList::SetMarker(std::size_t index, std::int32_t para, std::int32_t pos) {
    if (index < kMarkerCount) {
        markers_[index] = {para, pos};
    }
}

void TParaList::SetMarkerAtLine(std::size_t index, std::int32_t line, std::int32_t column) {
    const TLineStart start = LineToPara(line);
    SetMarker(index, start.Para, column + start.Offset);
}

TParaPos TParaList::Marker(std::size_t index) const {
    return index < kMarkerCount ? markers_[index] : TParaPos{};
}

void TParaList::SetStoredBookmarks(std::vector<TStoredBookmark> bookmarks) {
    for (TStoredBookmark& bookmark : bookmarks) {
        TParaPos& place = bookmark.Place;
        place.Para = std::clamp(place.Para, 1, paraCount_);
        place.Pos = std::clamp(place.Pos, 1, GetParaLength(place.Para) + 1);
    }
    storedBookmarks_ = std::move(bookmarks);
    displacedBy_.assign(storedBookmarks_.size(), 0);
}

std::vector<std::int64_t> TParaList::StoredBookmarkOffsets() {
    std::vector<std::size_t> order(storedBookmarks_.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return storedBookmarks_[a].Place.Para < storedBookmarks_[b].Place.Para;
    });
    // One walk through the paragraphs, whatever the number of bookmarks.
    std::vector<std::int64_t> offsets(storedBookmarks_.size());
    const TParaNode* node = head_;
    std::int32_t para = 1;
    std::int64_t paraStart = 0;
    for (const std::size_t i : order) {
        const TParaPos place = storedBookmarks_[i].Place;
        for (; para < place.Para && node->Next != nullptr; ++para, node = node->Next) {
            paraStart += node->Length() + (LineEndFollows(*node) ? 2 : 0);
        }
        offsets[i] = paraStart + std::min<std::int64_t>(place.Pos - 1, node->Length());
    }
    return offsets;
}

bool TParaList::UndoReplay(TParaPos& caret) {
    if (undo_->UndoCount() == 0) {
        return modified_;
    }
    const ScopedFlag replaying(replaying_, true);
    const ScopedFlag undoing(undoing_, true);
    bool restored = modified_;
    const std::uint8_t group = undo_->UndoGroup();
    while (undo_->UndoCount() > 0 && undo_->UndoGroup() == group) {
        const TUndoRecord record = undo_->TakeUndoRecord();
        replayUndoRecord(record);
        caret = {record.Para, record.Pos};
        restored = record.Modified;
    }
    // Deletions undone now no longer hold their bookmarks.
    for (std::int32_t& stamp : displacedBy_) {
        if (stamp > undo_->UndoCount()) {
            stamp = 0;
        }
    }
    modified_ = restored;
    return restored;
}

void TParaList::replayUndoRecord(const TUndoRecord& record) {
    switch (record.Kind) {
        case TUndoKind::Position:
            break;
        case TUndoKind::TextInserted:
            DeleteText(record.Para, record.Pos, static_cast<std::int32_t>(record.Data.size()));
            break;
        case TUndoKind::ParaInsertedBefore:
            undo_->HoldTakenParagraph(unlinkPara(record.Para).release());
            break;
        case TUndoKind::ParaInsertedAfter:
            undo_->HoldTakenParagraph(unlinkPara(record.Para + 1).release());
            break;
        case TUndoKind::TextDeleted:
            InsertText(record.Para, record.Pos, record.Data);
            break;
        case TUndoKind::ParaDeleted:
            linkPara(arena_.Adopt(record.Paragraph), record.Para);
            break;
        case TUndoKind::TextReplaced:
            ReplaceText(record.Para, record.Pos, static_cast<std::int32_t>(record.NewText.size()),
                        record.OldText);
            break;
        case TUndoKind::LineContinued:
            SetContinuesLine(record.Para, record.Data != LineContinuedData(true));
            break;
    }
}

void TParaList::RedoReplay(TParaPos& caret) {
    if (undo_->RedoCount() == 0) {
        return;
    }
    const ScopedFlag replaying(replaying_, true);
    const std::uint8_t group = undo_->RedoGroup();
    while (undo_->RedoCount() > 0 && undo_->RedoGroup() == group) {
        caret = replayRedoRecord(undo_->TakeRedoRecord(modified_));
    }
}

TParaPos TParaList::replayRedoRecord(const TUndoRecord& record) {
    const std::int32_t para = record.Para;
    const std::int32_t pos = record.Pos;
    switch (record.Kind) {
        case TUndoKind::Position:
            break;
        case TUndoKind::TextInserted:
            InsertText(para, pos, record.Data);
            return {para, pos + static_cast<std::int32_t>(record.Data.size())};
        case TUndoKind::ParaInsertedBefore:
            linkPara(arena_.Adopt(record.Paragraph), para);
            return {para + 1, 1};
        case TUndoKind::ParaInsertedAfter:
            linkPara(arena_.Adopt(record.Paragraph), para + 1);
            return {para + 1, 1};
        case TUndoKind::TextDeleted:
            DeleteText(para, pos, static_cast<std::int32_t>(record.Data.size()));
            break;
        case TUndoKind::ParaDeleted:
            undo_->HoldTakenParagraph(unlinkPara(para).release());
            break;
        case TUndoKind::TextReplaced:
            ReplaceText(para, pos, static_cast<std::int32_t>(record.OldText.size()),
                        record.NewText);
            return {para, pos + static_cast<std::int32_t>(record.NewText.size())};
        case TUndoKind::LineContinued:
            SetContinuesLine(para, record.Data == LineContinuedData(true));
            break;
    }
    return {para, pos};
}

void TParaList::RefreshViews() {
    if (editor_ != nullptr) {
        editor_->Reposition();
    }
}

namespace {

/// A stored bookmark's rule for a deletion: the caret's, and one that stood in the deleted text
/// (where a bookmark would be cleared) gets the deletion's stamp.
template <typename AdjustMarker, typename AdjustCaret>
auto DisplaceByDeletion(std::int32_t stamp, AdjustMarker adjustMarker, AdjustCaret adjustCaret) {
    return [=](TParaPos& place, std::int32_t& displacedBy) {
        TParaPos asMarker = place;
        adjustMarker(asMarker);
        if (asMarker.Para == 0) {
            displacedBy = stamp;
        }
        adjustCaret(place);
    };
}

/// A stored bookmark's rule for text put in at `at`: text that undo puts back where a deletion
/// moved the bookmark goes after it.
template <typename Adjust>
auto KeepDisplacedWhileUndoing(bool undoing, TParaPos at, Adjust adjust) {
    return [=](TParaPos& place, std::int32_t displacedBy) {
        if (!(undoing && displacedBy != 0 && place == at)) {
            adjust(place);
        }
    };
}

}  // namespace

std::int32_t TParaList::displacementStamp() const {
    return undoing_ ? kMaxInt32 : std::max<std::int32_t>(undo_->UndoCount(), 1);
}

template <typename AdjustMarker, typename AdjustStored, typename Notify>
void TParaList::report(AdjustMarker adjustMarker, AdjustStored adjustStored, Notify notify) {
    ++changeCount_;
    if (!reportChanges_) {
        return;
    }
    for (TParaPos& marker : markers_) {
        adjustMarker(marker);
    }
    for (std::size_t i = 0; i < storedBookmarks_.size(); ++i) {
        adjustStored(storedBookmarks_[i].Place, displacedBy_[i]);
    }
    if (editor_ != nullptr) {
        notify(*editor_);
    }
}

void TParaList::reportParaDeleted(std::int32_t para, std::int32_t length) {
    const auto adjust = [para](TParaPos& m) { AdjustMarkerForParaDeleted(m, para); };
    // As the caret, except that the last paragraph's go to the end of the text, which is where
    // that paragraph was.
    const std::int32_t lastLength = GetParaLength(paraCount_);
    const auto caretRule = [para, count = paraCount_, lastLength](TParaPos& c) {
        if (c.Para == para && para > count) {
            c = {count, lastLength + 1};
        } else {
            AdjustCaretForParaDeleted(c, para, count);
        }
    };
    if (!undoing_ || para == 1) {
        report(adjust, DisplaceByDeletion(displacementStamp(), adjust, caretRule),
               [&](TParaListClient& c) { c.ParaDeleted(para); });
        return;
    }
    // Undo takes out a paragraph that a line break made, after putting its text back at the
    // end of the paragraph before: a stored bookmark in it goes along to that text.
    const std::int32_t previousLength = GetParaLength(para - 1);
    report(
        adjust,
        [=](TParaPos& place, std::int32_t) {
            if (place.Para == para) {
                place = {para - 1,
                         std::clamp(previousLength - length + place.Pos, 1, previousLength + 1)};
            } else {
                caretRule(place);
            }
        },
        [&](TParaListClient& c) { c.ParaDeleted(para); });
}

void TParaList::reportTextDeleted(std::int32_t para, std::int32_t pos, std::int32_t count) {
    const auto adjust = [=](TParaPos& m) { AdjustMarkerForTextDeleted(m, para, pos, count); };
    report(adjust,
           DisplaceByDeletion(displacementStamp(), adjust,
                              [=](TParaPos& c) { AdjustCaretForTextDeleted(c, para, pos, count); }),
           [&](TParaListClient& c) { c.TextDeleted(para, pos, count); });
}

void TParaList::reportParaSplit(std::int32_t para, std::int32_t pos, std::int32_t indent) {
    const auto adjust = [=](TParaPos& m) { AdjustMarkerForParaSplit(m, para, pos, indent); };
    report(adjust, KeepDisplacedWhileUndoing(undoing_, {para, pos}, adjust),
           [&](TParaListClient& c) { c.ParaSplit(para, pos, indent); });
}

void TParaList::reportTextInserted(std::int32_t para, std::int32_t pos, std::int32_t count) {
    const auto adjust = [=](TParaPos& m) { AdjustMarkerForTextInserted(m, para, pos, count); };
    report(adjust, KeepDisplacedWhileUndoing(undoing_, {para, pos}, adjust),
           [&](TParaListClient& c) { c.TextInserted(para, pos, count); });
}

void TParaList::reportParasJoined(std::int32_t para, std::int32_t pos) {
    const auto adjust = [=](TParaPos& m) { AdjustMarkerForParasJoined(m, para, pos); };
    report(
        adjust, [&](TParaPos& s, std::int32_t) { adjust(s); },
        [&](TParaListClient& c) { c.ParasJoined(para, pos); });
}

}  // namespace tomery::editor
