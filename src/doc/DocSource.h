// The bytes of a DOC file as its readers fetch them: from a file, a window at a time, or
// from memory. Readers move forward through the file, so a window holds little more than
// the record being read, whatever the file's size.
#pragma once

#include "DocFormat.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace tomery::doc {

class DocSource {
  public:
    virtual ~DocSource() = default;

    /// The size the file had when it was opened.
    virtual std::size_t Size() const = 0;

    /// Up to `length` bytes at `offset`, fewer where the file ends first (or where reading
    /// failed: see Failed()). The view is valid until the next call.
    virtual ByteView Read(std::size_t offset, std::size_t length) = 0;

    /// Up to `into.size()` bytes at `offset`, copied to `into`; fewer where the file ends
    /// first (or where reading failed). Returns how many.
    virtual std::size_t ReadInto(std::size_t offset, std::span<std::uint8_t> into);

    /// True once a read failed for another reason than the end of the file.
    virtual bool Failed() const { return false; }
};

/// A DOC file already in memory.
class MemoryDocSource final : public DocSource {
  public:
    explicit MemoryDocSource(ByteView image) : image_(image) {}

    std::size_t Size() const override { return image_.size(); }
    ByteView Read(std::size_t offset, std::size_t length) override;

  private:
    ByteView image_;
};

/// A DOC file opened for reading only: the file itself is never changed, not even its
/// permissions.
class FileDocSource final : public DocSource {
  public:
    explicit FileDocSource(const std::string& path);  ///< see IsOpen()
    ~FileDocSource() override;

    FileDocSource(const FileDocSource&) = delete;
    FileDocSource& operator=(const FileDocSource&) = delete;

    /// False when the path cannot be opened for reading or is not a regular file.
    bool IsOpen() const { return descriptor_ >= 0; }

    std::size_t Size() const override { return size_; }
    ByteView Read(std::size_t offset, std::size_t length) override;
    /// Reads straight into `into`, past the window.
    std::size_t ReadInto(std::size_t offset, std::span<std::uint8_t> into) override;
    bool Failed() const override { return failed_; }

  private:
    /// One read call brings this much of the file, so that records of a few kilobytes do not
    /// each cost a system call.
    static constexpr std::size_t kWindowSize = 256 * 1024;

    int descriptor_ = -1;
    std::size_t size_ = 0;
    bool failed_ = false;
    Bytes window_;
    std::size_t windowOffset_ = 0;
    std::size_t windowLength_ = 0;
};

}  // namespace tomery::doc
