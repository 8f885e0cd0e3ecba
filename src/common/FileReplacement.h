// Writing a file so that its old contents survive every failure: a temporary file in the
// same folder that is renamed over the destination only when everything was written. Where
// the folder takes no new file, the file is rewritten in place, after a whole copy of its old
// contents went to the state folder.
#pragma once

#include "BackgroundFlush.h"

#include <sys/types.h>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tomery {

/// The state files that hold a file's old contents while it is rewritten in place; one left
/// behind means the rewrite was interrupted. The field kCopyOfField names the file.
inline constexpr const char* kInPlaceCopyPrefix = "in-place-";
inline constexpr const char* kCopyOfField = "file";

/// Removes the temporary files that killed saves left behind anywhere, once no save holds
/// them any more. Every save notes its temporary file in the state folder until it ends.
void RemoveStaleSaveTemporaries();

/// How far Commit takes the new contents before it returns.
enum class TDurability {
    Durable,  ///< on the disk: the file survives a crash of the system
    Scratch,  ///< handed to the system only: for a copy that can be made again
};

class FileReplacement {
  public:
    /// Creates the temporary file beside `destination`, or beside the file a symbolic link at
    /// `destination` points to (also when that file does not exist yet). Fails, leaving
    /// IsOpen() false, when the destination is a folder or an existing destination is
    /// read-only. When the folder refuses a temporary file but an existing destination may be
    /// written, the destination itself is rewritten on Commit() instead (see WritesInPlace).
    explicit FileReplacement(const std::string& destination,
                             TDurability durability = TDurability::Durable);
    ~FileReplacement();  ///< removes the temporary file unless Commit() succeeded

    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    bool IsOpen() const { return descriptor_ >= 0; }
    /// The system error number of the last failure (EACCES for a read-only destination,
    /// EISDIR for one that is not a regular file); 0 while nothing failed.
    int Error() const { return error_; }
    /// True when no temporary file could be made and Commit() overwrites the destination.
    bool WritesInPlace() const { return inPlace_; }
    /// True when an in-place rewrite was refused because no copy of the old contents could
    /// be kept in the state folder.
    bool RefusedWithoutCopy() const { return refusedWithoutCopy_; }
    /// The last failure for the user: the system's text for Error(), or why an in-place
    /// rewrite was refused, naming the folders.
    std::string ErrorText() const;

    /// Appends bytes; false (and the replacement is spoilt) when the write fails.
    bool Write(const void* data, std::size_t size);
    /// Appends `pieces` in order, with one write where it can.
    bool Write(std::span<const std::string_view> pieces);
    /// Writes bytes at `offset` of the new contents, over bytes written before or past their
    /// end (a gap reads as zero bytes); false (spoilt) when the write fails.
    bool WriteAt(std::uint64_t offset, const void* data, std::size_t size);
    /// Reads back bytes of the new contents; false (spoilt) past their end or on a failure.
    bool ReadAt(std::uint64_t offset, void* data, std::size_t size);
    /// Cuts the new contents to `size` bytes (or lengthens them with zero bytes).
    bool Resize(std::uint64_t size);
    /// True once a write, read or cut failed: Commit() then fails.
    bool Spoilt() const { return failed_; }

    /// Flushes the temporary file to disk and renames it over the destination, then removes
    /// the temporary files that killed saves of the same destination left behind. The new
    /// file keeps an existing destination's permission bits, and its owner and group where
    /// the process may set them. False when anything failed. A Scratch replacement renames
    /// without waiting for the disk.
    bool Commit();

  private:
    bool OpenTemporary(const std::string& folder);
    bool OpenInPlace();
    bool CommitInPlace();
    bool Overwrite(const std::string& contents);
    /// A durable replacement flushes what was written on another thread each time
    /// kFlushStep bytes more were written.
    void FlushEarly();
    /// Notes `size` bytes written at `offset`, and flushes early when their time has come.
    void Written(std::uint64_t offset, std::size_t size);
    /// Waits for an early flush; the system error number of one that failed, or 0.
    int EndEarlyFlush();
    void KeepOwnership();
    void ForgetTemporaryNote();
    void Discard();

    std::string target_;
    std::string temporary_;
    std::string temporaryNote_;  ///< the state folder's note of the temporary file
    int descriptor_ = -1;
    bool failed_ = false;
    int error_ = 0;
    bool inPlace_ = false;
    bool refusedWithoutCopy_ = false;
    TDurability durability_;
    static constexpr std::size_t kFlushStep = std::size_t{4} << 20;
    std::uint64_t size_ = 0;     ///< of the new contents
    std::size_t unflushed_ = 0;  ///< bytes written since the last early flush was asked for
    std::optional<TBackgroundFlush> earlyFlush_;  ///< while the temporary file is open
    std::string pending_;  ///< in place, the whole new content until Commit()
    bool existed_ = false;
    mode_t mode_ = 0;
    uid_t owner_ = 0;
    gid_t group_ = 0;
};

}  // namespace tomery
