// The DOC writer's source: a text file read front to back in blocks of one record's size,
// through one buffer, so that a text of any size needs the same little memory.
#pragma once

#include "DocFormat.h"

#include <cstddef>
#include <optional>
#include <string>

namespace tomery::doc {

class TextBlocks {
  public:
    explicit TextBlocks(const std::string& path);  ///< see IsOpen()
    ~TextBlocks();

    TextBlocks(const TextBlocks&) = delete;
    TextBlocks& operator=(const TextBlocks&) = delete;

    /// False when the path cannot be opened for reading or is a folder.
    bool IsOpen() const { return descriptor_ >= 0; }
    /// The file's size when it was opened.
    std::size_t MeasuredSize() const { return measuredSize_; }

    /// The next block of up to kTextRecordSize bytes; empty at the end of the text or when
    /// reading failed (see Failed()). Valid until the next call.
    ByteView Next();
    /// The byte after the block Next() returned last; nothing at the end of the text.
    std::optional<std::uint8_t> FollowingByte() const;

    bool Failed() const { return failed_; }
    /// The bytes handed out so far.
    std::size_t BytesRead() const { return bytesRead_; }

  private:
    static constexpr std::size_t kBufferSize = 256 * 1024;

    /// Refills the buffer until a block and its following byte are in it, or the text ends.
    void Refill();

    int descriptor_ = -1;
    std::size_t measuredSize_ = 0;
    Bytes buffer_;
    std::size_t begin_ = 0;  ///< the first byte not yet handed out
    std::size_t end_ = 0;    ///< the end of the bytes read into the buffer
    bool atEnd_ = false;
    bool failed_ = false;
    std::size_t bytesRead_ = 0;
};

}  // namespace tomery::doc
