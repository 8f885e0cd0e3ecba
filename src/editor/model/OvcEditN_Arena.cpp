#include "OvcEditN_Arena.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

namespace tomery::editor {

namespace {

// Small stores (a dialog's text, a short file) stay small: slabs and blocks start small and
// double up to these sizes, which keep the cost of a slab or block a tiny share of a big text.
constexpr std::size_t kFirstSlabSlots = 16;
constexpr std::size_t kMaxSlabSlots = 4096;
constexpr std::size_t kFirstBlockSize = 1024;
constexpr std::size_t kMaxBlockSize = 256 * 1024;

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
    // The numbers of freed blocks are used again, so that the table stays as small as the
    // blocks in use.
    auto unused = std::find_if(blocks_.begin(), blocks_.end(),
                               [](const TTextBlock& b) { return b.Bytes == nullptr; });
    if (unused == blocks_.end()) {
        unused = blocks_.insert(blocks_.end(), TTextBlock{});
    }
    unused->Bytes = std::make_unique_for_overwrite<char[]>(size);
    unused->Size = size;
    unused->Used = 0;
    unused->Paras = 0;
    const std::uint32_t closed = openBlock_;
    openBlock_ = static_cast<std::uint32_t>(unused - blocks_.begin());
    if (closed != kNoBlock && blocks_[closed].Paras == 0) {
        blocks_[closed] = TTextBlock{};
    }
}

void TParaArena::leaveBlock(std::uint32_t block) {
    if (--blocks_[block].Paras == 0 && block != openBlock_) {
        blocks_[block] = TTextBlock{};
    }
}

}  // namespace tomery::editor
