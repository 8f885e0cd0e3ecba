// Where a paragraph store keeps its paragraphs: node slabs and shared text blocks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "OvcEditN.h"

namespace tomery::editor {

class TParaArena;

/// Gives a paragraph back to the arena that made it.
struct TParaRelease {
    TParaArena* Arena = nullptr;
    void operator()(TParaNode* node) const;
};

/// A paragraph made by an arena, owned until it is linked into the text or handed to undo.
using TParaPtr = std::unique_ptr<TParaNode, TParaRelease>;

/// The memory of one paragraph store. A file of short lines makes hundreds of thousands of
/// paragraphs, and two heap blocks for each (node and text) cost more than the text itself.
/// So nodes are carved out of slabs, released ones being reused, and the text a paragraph is
/// made with is placed, at its exact size, in large blocks shared by many paragraphs. A
/// paragraph whose text grows moves it into a buffer of its own (TParaNode::Reserve); erasing
/// and overwriting stay in place, since the bytes in the block are the paragraph's alone.
///
/// A text block is freed as soon as no paragraph uses it any more; slabs stay until the arena
/// goes. Everything the arena made must be released to it before it is destroyed. The arena
/// is not safe for concurrent use, but it depends on nothing outside itself, so a store can be
/// built on one thread and handed to another.
class TParaArena {
  public:
    TParaArena() = default;
    ~TParaArena();
    TParaArena(const TParaArena&) = delete;
    TParaArena& operator=(const TParaArena&) = delete;

    /// A paragraph holding `text`, as TParaNode's constructor makes it, with the text in a
    /// shared block. Throws std::bad_alloc when memory runs out, and std::length_error for a
    /// text longer than kMaxParaNodeLength.
    TParaPtr Make(std::string_view text, std::int32_t wrapColumn, std::uint8_t tabSize);
    /// Takes back ownership of a paragraph this arena made (one held by an undo record).
    TParaPtr Adopt(TParaNode* node) { return TParaPtr(node, TParaRelease{this}); }
    /// TParaNode::Reserve, letting go of the node's shared block when its text moves out.
    bool Reserve(TParaNode& node, std::size_t needed);
    /// Destroys a paragraph this arena made and keeps its memory for reuse.
    void Release(TParaNode* node);

  private:
    static constexpr std::uint32_t kNoBlock = TParaNode::kOwnText;

    union TNodeSlot {
        TNodeSlot* NextFree;
        alignas(TParaNode) std::byte Bytes[sizeof(TParaNode)];
    };
    struct TTextBlock {
        std::unique_ptr<char[]> Bytes;  ///< null once freed
        std::size_t Size = 0;
        std::size_t Used = 0;
        std::uint32_t Paras = 0;  ///< paragraphs whose text lies in the block
    };

    void* takeSlot();
    /// Copies `text` and a zero byte into the open block, opening a new one when it is full;
    /// returns the copy and sets `block` to its block's number.
    char* placeText(std::string_view text, std::uint32_t& block);
    /// Makes a new block of at least `needed` bytes the open one.
    void openBlock(std::size_t needed);
    /// A paragraph's text left block `block`: frees it when it was the last.
    void leaveBlock(std::uint32_t block);
    void freeBlock(std::uint32_t block);

    std::vector<std::unique_ptr<TNodeSlot[]>> slabs_;
    std::size_t slabUsed_ = 0;  ///< slots of the newest slab handed out
    std::size_t slabSize_ = 0;  ///< slots of the newest slab
    TNodeSlot* freeSlots_ = nullptr;
    std::vector<TTextBlock> blocks_;
    std::vector<std::uint32_t> freeBlocks_;  ///< numbers of freed blocks, for reuse
    std::uint32_t openBlock_ = kNoBlock;     ///< where new text goes
};

}  // namespace tomery::editor
