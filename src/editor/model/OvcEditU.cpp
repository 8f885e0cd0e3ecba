#include "OvcEditU.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "OvcEditN.h"
#include "OvcEditN_Arena.h"

namespace tomery::editor {

namespace {

constexpr std::size_t kPrevSizeAt = 0;
constexpr std::size_t kKindAt = 2;
constexpr std::size_t kGroupAt = 3;
constexpr std::size_t kParaAt = 4;
constexpr std::size_t kPosAt = 8;
constexpr std::size_t kDataLenAt = 12;
constexpr std::size_t kDataAt = 14;
constexpr std::uint8_t kModifiedBit = 0x80;

template <typename T>
T Load(const std::uint8_t* p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

template <typename T>
void Store(std::uint8_t* p, T value) {
    std::memcpy(p, &value, sizeof value);
}

std::unique_ptr<std::uint8_t[]> AllocateBlock(std::size_t size) {
    return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[size]());
}

bool HoldsParagraph(TUndoKind kind) {
    return kind == TUndoKind::ParaInsertedBefore || kind == TUndoKind::ParaInsertedAfter ||
           kind == TUndoKind::ParaDeleted;
}

}  // namespace

void TUndoNode::Fill(std::uint8_t* record, std::uint16_t prevSize, TUndoKind kind, bool modified,
                     std::uint8_t group, std::int32_t para, std::int32_t pos,
                     std::uint16_t dataLen) {
    Store(record + kPrevSizeAt, prevSize);
    record[kKindAt] = static_cast<std::uint8_t>(kind);
    SetModified(record, modified);
    record[kGroupAt] = group;
    Store(record + kParaAt, para);
    Store(record + kPosAt, pos);
    SetDataLen(record, dataLen);
    SetOldLength(record, 0);
}

TUndoKind TUndoNode::Kind(const std::uint8_t* record) {
    return static_cast<TUndoKind>(record[kKindAt] & ~kModifiedBit);
}

bool TUndoNode::IsModified(const std::uint8_t* record) {
    return (record[kKindAt] & kModifiedBit) != 0;
}

void TUndoNode::SetModified(std::uint8_t* record, bool modified) {
    record[kKindAt] = static_cast<std::uint8_t>((record[kKindAt] & ~kModifiedBit) |
                                                (modified ? kModifiedBit : 0));
}

std::uint8_t TUndoNode::Group(const std::uint8_t* record) {
    return record[kGroupAt];
}
std::int32_t TUndoNode::Para(const std::uint8_t* record) {
    return Load<std::int32_t>(record + kParaAt);
}
std::int32_t TUndoNode::Pos(const std::uint8_t* record) {
    return Load<std::int32_t>(record + kPosAt);
}
void TUndoNode::SetPos(std::uint8_t* record, std::int32_t pos) {
    Store(record + kPosAt, pos);
}
std::uint16_t TUndoNode::PrevSize(const std::uint8_t* record) {
    return Load<std::uint16_t>(record + kPrevSizeAt);
}
void TUndoNode::SetPrevSize(std::uint8_t* record, std::uint16_t size) {
    Store(record + kPrevSizeAt, size);
}
std::uint16_t TUndoNode::DataLen(const std::uint8_t* record) {
    return Load<std::uint16_t>(record + kDataLenAt);
}
void TUndoNode::SetDataLen(std::uint8_t* record, std::uint16_t dataLen) {
    Store(record + kDataLenAt, dataLen);
}
std::uint8_t* TUndoNode::Data(std::uint8_t* record) {
    return record + kDataAt;
}
const std::uint8_t* TUndoNode::Data(const std::uint8_t* record) {
    return record + kDataAt;
}
std::uint16_t TUndoNode::OldLength(const std::uint8_t* record) {
    return Load<std::uint16_t>(Data(record) + DataLen(record));
}
void TUndoNode::SetOldLength(std::uint8_t* record, std::uint16_t length) {
    Store(Data(record) + DataLen(record), length);
}

TParaNode* TUndoNode::Paragraph(const std::uint8_t* record) {
    return Load<TParaNode*>(Data(record));
}

void TUndoNode::SetParagraph(std::uint8_t* record, TParaNode* node) {
    Store(Data(record), node);
}

void TUndoNode::ReleaseParagraph(std::uint8_t* record, TParaArena* arena) {
    if (arena != nullptr) {
        arena->Release(Paragraph(record));
    } else {
        delete Paragraph(record);
    }
    SetParagraph(record, nullptr);
}

TUndoRecord TUndoNode::Read(const std::uint8_t* record) {
    TUndoRecord r;
    r.Kind = Kind(record);
    r.Group = Group(record);
    r.Modified = IsModified(record);
    r.Para = Para(record);
    r.Pos = Pos(record);
    const auto* data = reinterpret_cast<const char*>(Data(record));
    const std::uint16_t dataLen = DataLen(record);
    r.Data = {data, dataLen};
    if (r.Kind == TUndoKind::TextReplaced) {
        const std::uint16_t oldLength = std::min<std::uint16_t>(OldLength(record), dataLen);
        r.OldText = {data, oldLength};
        if (dataLen >= oldLength + 2u) {
            r.NewText = {data + oldLength + 1, dataLen - oldLength - 2u};
        }
    } else if (HoldsParagraph(r.Kind)) {
        r.Paragraph = Paragraph(record);
    }
    return r;
}

TUndoBuffer::TUndoBuffer(std::uint16_t size, TUndoBlockAllocator allocate, TParaArena* paragraphs)
    : paragraphs_(paragraphs) {
    if (allocate == nullptr) {
        allocate = AllocateBlock;
    }
    std::size_t attempt = size;
    while (attempt > 0) {
        memory_ = allocate(attempt);
        if (memory_ != nullptr || attempt <= 16) {
            break;
        }
        attempt -= attempt / 2;
    }
    memorySize_ = memory_ != nullptr ? static_cast<std::uint16_t>(attempt) : 0;
    freeBytes_ = memorySize_;
}

TUndoBuffer::~TUndoBuffer() {
    discardAll();
}

bool TUndoBuffer::BeginGroup() {
    const bool previous = grouping_;
    if (!grouping_) {
        grouping_ = true;
        ++groupNumber_;
    }
    return previous;
}

void TUndoBuffer::EndGroup(bool previous) {
    grouping_ = previous;
    if (!previous) {
        overflow_ = false;
    }
}

bool TUndoBuffer::continuesCurrent(TUndoKind kind, std::int32_t para, std::int32_t pos,
                                   std::size_t count) const {
    if (undoCount_ == 0 || grouping_) {
        return false;
    }
    const std::uint8_t* current = at(current_);
    if (TUndoNode::Kind(current) != kind || TUndoNode::Para(current) != para) {
        return false;
    }
    const std::int32_t currentPos = TUndoNode::Pos(current);
    switch (kind) {
        case TUndoKind::TextInserted:
            return pos == currentPos + TUndoNode::DataLen(current);
        case TUndoKind::TextDeleted:
            return pos == currentPos || pos + static_cast<std::int64_t>(count) == currentPos;
        case TUndoKind::TextReplaced:
            return pos == currentPos + TUndoNode::OldLength(current);
        default:
            return false;
    }
}

bool TUndoBuffer::beginRecording(TUndoKind kind, std::int32_t para, std::int32_t pos,
                                 std::size_t count) {
    dropRedo();
    if (continuesCurrent(kind, para, pos, count)) {
        return true;
    }
    if (!grouping_) {
        ++groupNumber_;
    }
    return false;
}

bool TUndoBuffer::AddRecord(TUndoKind kind, bool modified, std::string_view bytes, std::int32_t pos,
                            std::int32_t para) {
    if (beginRecording(kind, para, pos, bytes.size())) {
        return extendCurrent(kind, modified, bytes, {}, pos, para);
    }
    std::uint8_t* data = newRecord(kind, modified, pos, para, bytes.size());
    if (data == nullptr) {
        return false;
    }
    std::copy_n(bytes.data(), bytes.size(), data);
    return true;
}

bool TUndoBuffer::AddParaRecord(TUndoKind kind, bool modified, TParaNode* node, std::int32_t pos,
                                std::int32_t para) {
    beginRecording(kind, para, pos, 0);
    if (newRecord(kind, modified, pos, para, sizeof node) == nullptr) {
        return false;
    }
    TUndoNode::SetParagraph(at(current_), node);
    return true;
}

bool TUndoBuffer::AddReplaceRecord(bool modified, std::int32_t para, std::string_view newBytes,
                                   std::string_view oldBytes, std::int32_t pos) {
    if (beginRecording(TUndoKind::TextReplaced, para, pos, oldBytes.size())) {
        return extendCurrent(TUndoKind::TextReplaced, modified, oldBytes, newBytes, pos, para);
    }
    std::uint8_t* data = newRecord(TUndoKind::TextReplaced, modified, pos, para,
                                   oldBytes.size() + newBytes.size() + 2);
    if (data == nullptr) {
        return false;
    }
    std::copy_n(oldBytes.data(), oldBytes.size(), data);
    data[oldBytes.size()] = 0;
    std::copy_n(newBytes.data(), newBytes.size(), data + oldBytes.size() + 1);
    data[oldBytes.size() + 1 + newBytes.size()] = 0;
    TUndoNode::SetOldLength(at(current_), static_cast<std::uint16_t>(oldBytes.size()));
    return true;
}

bool TUndoBuffer::extendCurrent(TUndoKind kind, bool modified, std::string_view bytes,
                                std::string_view newBytes, std::int32_t pos, std::int32_t para) {
    const std::size_t added = bytes.size() + newBytes.size();
    if (!makeRoom(added)) {
        return false;
    }
    if (undoCount_ == 0) {
        // Making room had to discard the very record to extend: the change starts a fresh one.
        return kind == TUndoKind::TextReplaced
                   ? AddReplaceRecord(modified, para, newBytes, bytes, pos)
                   : AddRecord(kind, modified, bytes, pos, para);
    }
    std::uint8_t* current = at(current_);
    std::uint8_t* data = TUndoNode::Data(current);
    const std::uint16_t dataLen = TUndoNode::DataLen(current);
    std::uint16_t oldLength = 0;
    switch (kind) {
        case TUndoKind::TextDeleted:
            if (pos != TUndoNode::Pos(current)) {
                std::memmove(data + bytes.size(), data, dataLen);
                std::copy_n(bytes.data(), bytes.size(), data);
                TUndoNode::SetPos(current, pos);
                break;
            }
            [[fallthrough]];
        case TUndoKind::TextInserted:
            std::copy_n(bytes.data(), bytes.size(), data + dataLen);
            break;
        default: {
            const std::uint16_t oldBefore = TUndoNode::OldLength(current);
            const std::size_t newBefore = dataLen - oldBefore - 2u;
            std::uint8_t* newPart = data + oldBefore + bytes.size() + 1;
            std::memmove(newPart, data + oldBefore + 1, newBefore);
            std::copy_n(bytes.data(), bytes.size(), data + oldBefore);
            data[oldBefore + bytes.size()] = 0;
            std::copy_n(newBytes.data(), newBytes.size(), newPart + newBefore);
            newPart[newBefore + newBytes.size()] = 0;
            oldLength = static_cast<std::uint16_t>(oldBefore + bytes.size());
        }
    }
    TUndoNode::SetDataLen(current, static_cast<std::uint16_t>(dataLen + added));
    TUndoNode::SetOldLength(current, oldLength);
    freeBytes_ = static_cast<std::uint16_t>(freeBytes_ - added);
    return true;
}

std::uint8_t* TUndoBuffer::newRecord(TUndoKind kind, bool modified, std::int32_t pos,
                                     std::int32_t para, std::size_t dataLen) {
    const std::size_t size = dataLen + TUndoNode::kOverhead;
    if (!makeRoom(size)) {
        return nullptr;
    }
    const std::size_t offset = undoEnd();
    const auto prevSize =
        static_cast<std::uint16_t>(undoCount_ > 0 ? TUndoNode::Size(at(current_)) : 0);
    std::uint8_t* record = at(offset);
    TUndoNode::Fill(record, prevSize, kind, modified, groupNumber_, para, pos,
                    static_cast<std::uint16_t>(dataLen));
    ++undoCount_;
    current_ = offset;
    freeBytes_ = static_cast<std::uint16_t>(freeBytes_ - size);
    return TUndoNode::Data(record);
}

bool TUndoBuffer::makeRoom(std::size_t bytes) {
    if (overflow_) {
        return false;
    }
    if (bytes > memorySize_) {
        discardAll();
        overflow_ = grouping_;
        return false;
    }
    if (freeBytes_ >= bytes) {
        return true;
    }
    const std::size_t target = std::max<std::size_t>(memorySize_ / 16, bytes);
    std::size_t freed = 0;
    std::uint16_t discarded = 0;
    while (discarded < undoCount_ && freeBytes_ + freed < target) {
        const std::uint8_t group = TUndoNode::Group(at(freed));
        while (discarded < undoCount_ && TUndoNode::Group(at(freed)) == group) {
            freed += TUndoNode::Size(at(freed));
            ++discarded;
        }
    }
    if (discarded == undoCount_) {
        discardAll();
        overflow_ = grouping_;
        return !grouping_;
    }
    for (std::size_t offset = 0; offset < freed; offset += TUndoNode::Size(at(offset))) {
        releaseOwned(offset, true);
    }
    dropRedo();
    std::memmove(at(0), at(freed), undoEnd() - freed);
    TUndoNode::SetPrevSize(at(0), 0);
    undoCount_ = static_cast<std::uint16_t>(undoCount_ - discarded);
    freeBytes_ = static_cast<std::uint16_t>(freeBytes_ + freed);
    current_ -= freed;
    return true;
}

void TUndoBuffer::releaseOwned(std::size_t offset, bool undoSide) {
    std::uint8_t* record = at(offset);
    const TUndoKind kind = TUndoNode::Kind(record);
    const bool owned =
        undoSide ? kind == TUndoKind::ParaDeleted
                 : kind == TUndoKind::ParaInsertedBefore || kind == TUndoKind::ParaInsertedAfter;
    if (owned) {
        TUndoNode::ReleaseParagraph(record, paragraphs_);
    }
}

void TUndoBuffer::dropRedo() {
    std::size_t offset = nextRedo();
    for (std::uint16_t i = 0; i < redoCount_; ++i) {
        releaseOwned(offset, false);
        offset += TUndoNode::Size(at(offset));
    }
    redoCount_ = 0;
}

void TUndoBuffer::discardAll() {
    dropRedo();
    std::size_t offset = 0;
    for (std::uint16_t i = 0; i < undoCount_; ++i) {
        releaseOwned(offset, true);
        offset += TUndoNode::Size(at(offset));
    }
    undoCount_ = 0;
    freeBytes_ = memorySize_;
    current_ = 0;
    groupNumber_ = 0;
}

std::uint8_t TUndoBuffer::UndoGroup() const {
    if (memory_ == nullptr) {
        return 0;
    }
    const std::uint8_t group = TUndoNode::Group(at(current_));
    return undoCount_ > 0 ? group : static_cast<std::uint8_t>(~group);
}

TUndoRecord TUndoBuffer::TakeUndoRecord() {
    if (undoCount_ == 0) {
        return {};
    }
    const std::uint8_t* record = at(current_);
    TUndoRecord taken = TUndoNode::Read(record);
    lastTaken_ = current_;
    --undoCount_;
    ++redoCount_;
    freeBytes_ = static_cast<std::uint16_t>(freeBytes_ + TUndoNode::Size(record));
    current_ -= TUndoNode::PrevSize(record);
    return taken;
}

std::uint8_t TUndoBuffer::RedoGroup() const {
    if (memory_ == nullptr) {
        return 0;
    }
    if (redoCount_ > 0) {
        return TUndoNode::Group(at(nextRedo()));
    }
    return static_cast<std::uint8_t>(~TUndoNode::Group(at(current_)));
}

TUndoRecord TUndoBuffer::TakeRedoRecord(bool modified) {
    if (redoCount_ == 0) {
        return {};
    }
    const std::size_t offset = nextRedo();
    std::uint8_t* record = at(offset);
    TUndoNode::SetModified(record, modified);
    --redoCount_;
    ++undoCount_;
    freeBytes_ = static_cast<std::uint16_t>(freeBytes_ - TUndoNode::Size(record));
    current_ = offset;
    lastTaken_ = offset;
    return TUndoNode::Read(record);
}

void TUndoBuffer::HoldTakenParagraph(TParaNode* node) {
    std::uint8_t* record = at(lastTaken_);
    if (HoldsParagraph(TUndoNode::Kind(record))) {
        TUndoNode::SetParagraph(record, node);
    }
}

void TUndoBuffer::MarkAllModified() {
    std::size_t offset = 0;
    for (std::uint32_t i = 0; i < undoCount_ + redoCount_; ++i) {
        TUndoNode::SetModified(at(offset), true);
        offset += TUndoNode::Size(at(offset));
    }
}

}  // namespace tomery::editor
