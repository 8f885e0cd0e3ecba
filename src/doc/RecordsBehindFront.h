// The DOC writer's text records go into the new file as they are made, behind room kept for
// the file's front: its record list needs every record's size, so the front is written last.
// The room is sized from the text's measured length; when the front comes out of another
// size (the text changed its length while it was read), the records move to where it ends.
#pragma once

#include "DocFormat.h"
#include "FileReplacement.h"

#include <cstddef>
#include <cstdint>

namespace tomery::doc {

class RecordsBehindFront {
  public:
    /// Keeps `room` bytes for the front at the start of `out`, which holds nothing yet.
    RecordsBehindFront(FileReplacement& out, std::size_t room);

    /// False when the file could not be written.
    bool Append(ByteView record);

    /// Puts `front` before the records and `after` behind them; false when the file could
    /// not be written.
    bool Finish(ByteView front, ByteView after);

  private:
    static constexpr std::size_t kChunkSize = 256 * 1024;

    bool WriteBuffer();
    /// Moves the records from behind the room kept to `to`.
    bool MoveRecords(std::uint64_t to);

    FileReplacement& out_;
    std::uint64_t room_;
    std::uint64_t recordBytes_ = 0;  ///< appended so far, in the file or the buffer
    Bytes buffer_;                   ///< records not yet in the file
};

}  // namespace tomery::doc
