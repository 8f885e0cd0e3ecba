#include "OvcEditN_Arena.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>
#include <utility>

namespace tomery::editor {

namespace {

// Small stores (a dialog's text, a short file) stay small: slabs and blocks start small and
// double up to these sizes. Both stay below 64 KiB, since glibc gives the top of its heap back
// to the system only when a chunk that large is freed: the memory of a closed text then serves
// the next one instead of being faulted in afresh.
constexpr std::size_t kFirstSlabSlots = 16;
constexpr std::size_t kMaxSlabSlots = 1280;
constexpr std::size_t kFirstBlockSize = 1024;
constexpr std::size_t kMaxBlockSize = 60 * 1024;

}  // namespace

void TParaRelease::operator()(TParaNode* node) const {
    Arena->Release(node);
}

TParaArena::~TParaArena() = default;

TParaPtr TParaArena::Make(std::string_view text, std::int32_t wrapColumn, std::uint8_t tabSize) {
    if (text.size() > kMaxParaNodeLength) {
        throw std::length_error("paragraph too long");
    }
    void* slot = takeSlot();
    try {
        if (text.empty()) {
            return Adopt(new (slot) TParaNode(text, wrapColumn, tabSize));
        }
        std::uint32_t block = kNoBlock;
        char* copy = placeText(text, block);
        auto* node = new (slot)
            TParaNode(copy, static_cast<std::uint16_t>(text.size()), block, wrapColumn, tabSize);
        ++blocks_[block].Paras;
        return Adopt(node);
    } catch (...) {
        auto* freed = static_cast<TNodeSlot*>(slot);
        freed->NextFree = freeSlots_;
        freeSlots_ = freed;
        throw;
    }
}

bool TParaArena::Reserve(TParaNode& node, std::size_t needed) {
    const std::uint32_t block = node.textBlock_;
    if (!node.Reserve(needed)) {
        return false;
    }
    if (block != kNoBlock && !node.SharesText()) {
        leaveBlock(block);
    }
    return true;
}

void TParaArena::Release(TParaNode* node) {
    if (node == nullptr) {
        return;
    }
    const std::uint32_t block = node->textBlock_;
    node->~TParaNode();
    auto* slot = reinterpret_cast<TNodeSlot*>(node);
    slot->NextFree = freeSlots_;
    freeSlots_ = slot;
    if (block != kNoBlock) {
        leaveBlock(block);
    }
}

void* TParaArena::takeSlot() {
    if (freeSlots_ != nullptr) {
        TNodeSlot* slot = freeSlots_;
        freeSlots_ = slot->NextFree;
        return slot;
    }
    if (slabUsed_ == slabSize_) {
        const std::size_t size =
            slabs_.empty() ? kFirstSlabSlots : std::min(2 * slabSize_, kMaxSlabSlots);
        slabs_.push_back(std::make_unique_for_overwrite<TNodeSlot[]>(size));
        slabSize_ = size;
        slabUsed_ = 0;
    }
    return &slabs_.back()[slabUsed_++];
}

char* TParaArena::placeText(std::string_view text, std::uint32_t& block) {
    const std::size_t needed = text.size() + 1;
    if (openBlock_ == kNoBlock || blocks_[openBlock_].Size - blocks_[openBlock_].Used < needed) {
        openBlock(needed);
    }
    TTextBlock& open = blocks_[openBlock_];
    char* copy = open.Bytes.get() + open.Used;
    std::memcpy(copy, text.data(), text.size());
    copy[text.size()] = '\0';
    open.Used += needed;
    block = openBlock_;
    return copy;
}

void TParaArena::openBlock(std::size_t needed) {
    const std::size_t previous = openBlock_ == kNoBlock ? 0 : blocks_[openBlock_].Size;
    const std::size_t size =
        std::max(needed, previous == 0 ? kFirstBlockSize : std::min(2 * previous, kMaxBlockSize));
    auto bytes = std::make_unique_for_overwrite<char[]>(size);
    // The numbers of freed blocks are used again, so that the table stays as small as the
    // blocks in use.
    std::uint32_t number = 0;
    if (freeBlocks_.empty()) {
        number = static_cast<std::uint32_t>(blocks_.size());
        blocks_.emplace_back();
    } else {
        number = freeBlocks_.back();
        freeBlocks_.pop_back();
    }
    blocks_[number] = TTextBlock{std::move(bytes), size, 0, 0};
    const std::uint32_t closed = openBlock_;
    openBlock_ = number;
    if (closed != kNoBlock && blocks_[closed].Paras == 0) {
        freeBlock(closed);
    }
}

void TParaArena::leaveBlock(std::uint32_t block) {
    if (--blocks_[block].Paras == 0 && block != openBlock_) {
        freeBlock(block);
    }
}

void TParaArena::freeBlock(std::uint32_t block) {
    blocks_[block] = TTextBlock{};
    freeBlocks_.push_back(block);
}

}  // namespace tomery::editor
