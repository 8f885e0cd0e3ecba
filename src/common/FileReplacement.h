// Writing a file so that its old contents survive every failure: a temporary file in the
// same folder that is renamed over the destination only when everything was written.
#pragma once

#include <sys/types.h>
#include <cstddef>
#include <string>

namespace tomery {

class FileReplacement {
  public:
    /// Creates the temporary file beside `destination`, or beside the file a symbolic link at
    /// `destination` points to (also when that file does not exist yet). Fails, leaving
    /// IsOpen() false, when the destination is a folder or an existing destination is
    /// read-only. When the folder refuses a temporary file but an existing destination may be
    /// written, the destination itself is rewritten on Commit() instead (see WritesInPlace).
    explicit FileReplacement(const std::string& destination);
    ~FileReplacement();  ///< removes the temporary file unless Commit() succeeded

    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    bool IsOpen() const { return descriptor_ >= 0; }
    /// The system error number of the last failure (EACCES for a read-only destination,
    /// EISDIR for one that is not a regular file); 0 while nothing failed.
    int Error() const { return error_; }
    /// True when no temporary file could be made and Commit() overwrites the destination.
    bool WritesInPlace() const { return inPlace_; }

    /// Appends bytes; false (and the replacement is spoilt) when the write fails.
    bool Write(const void* data, std::size_t size);

    /// Flushes the temporary file to disk and renames it over the destination, then removes
    /// the temporary files that killed saves of the same destination left behind. The new
    /// file keeps an existing destination's permission bits, and its owner and group where
    /// the process may set them. False when anything failed.
    bool Commit();

  private:
    bool OpenTemporary(const std::string& folder);
    bool OpenInPlace();
    bool CommitInPlace();
    void KeepOwnership();
    void Discard();

    std::string target_;
    std::string temporary_;
    int descriptor_ = -1;
    bool failed_ = false;
    int error_ = 0;
    bool inPlace_ = false;
    std::string pending_;  ///< in place, the whole new content until Commit()
    bool existed_ = false;
    mode_t mode_ = 0;
    uid_t owner_ = 0;
    gid_t group_ = 0;
};

}  // namespace tomery
