// Writing a file so that its old contents survive every failure: a temporary file in the
// same folder that is renamed over the destination only when everything was written.
#pragma once

#include <cstddef>
#include <string>

namespace tomery {

class FileReplacement {
  public:
    /// Creates the temporary file beside `destination` (or beside the file a symbolic link
    /// at `destination` points to). Fails, leaving IsOpen() false, when the folder is not
    /// writable, the destination is a folder, or an existing destination is read-only.
    explicit FileReplacement(const std::string& destination);
    ~FileReplacement();  ///< removes the temporary file unless Commit() succeeded

    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    bool IsOpen() const { return descriptor_ >= 0; }
    /// The system error number of the last failure (EACCES for a read-only destination,
    /// EISDIR for one that is not a regular file); 0 while nothing failed.
    int Error() const { return error_; }

    /// Appends bytes; false (and the replacement is spoilt) when the write fails.
    bool Write(const void* data, std::size_t size);

    /// Flushes the temporary file to disk and renames it over the destination. The new file
    /// keeps an existing destination's permission bits. False when anything failed.
    bool Commit();

  private:
    void Discard();

    std::string target_;
    std::string temporary_;
    int descriptor_ = -1;
    bool failed_ = false;
    int error_ = 0;
};

}  // namespace tomery
