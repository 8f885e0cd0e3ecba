// The DOC writer's holding place for compressed records: the record list at the front of
// the file needs every record's size, so the records wait until the last one is made. They
// wait in an unnamed temporary file, which keeps memory flat for a text of any size and
// vanishes with the process; only where no such file can be made do they wait in memory.
#pragma once

#include "DocFormat.h"
#include "FileReplacement.h"

#include <cstddef>
#include <string>

namespace tomery::doc {

class RecordSpool {
  public:
    /// Prefers the destination's folder, which is on the file system the DOC file goes to.
    explicit RecordSpool(const std::string& destination);
    ~RecordSpool();

    RecordSpool(const RecordSpool&) = delete;
    RecordSpool& operator=(const RecordSpool&) = delete;

    /// False when the records could not be kept (the temporary file failed).
    bool Append(ByteView record);

    /// Writes every record appended, in order, to `out`; false when anything failed.
    bool CopyTo(FileReplacement& out);

  private:
    static constexpr std::size_t kChunkSize = 256 * 1024;

    bool WriteBuffer();

    int descriptor_ = -1;  ///< the temporary file; -1 while the records wait in memory
    Bytes buffer_;         ///< records not yet in the temporary file
    bool failed_ = false;
};

}  // namespace tomery::doc
