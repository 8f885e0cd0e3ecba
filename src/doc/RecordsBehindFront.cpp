#include "RecordsBehindFront.h"

#include <algorithm>

namespace tomery::doc {

RecordsBehindFront::RecordsBehindFront(FileReplacement& out, std::size_t room)
    : out_(out), room_(room) {
    out_.Resize(room);  // a failure spoils `out`, which every later write then reports
    buffer_.reserve(kChunkSize);
}

bool RecordsBehindFront::Append(ByteView record) {
    buffer_.insert(buffer_.end(), record.begin(), record.end());
    recordBytes_ += record.size();
    return !out_.Spoilt() && (buffer_.size() < kChunkSize || WriteBuffer());
}

bool RecordsBehindFront::WriteBuffer() {
    const bool written = out_.Write(buffer_.data(), buffer_.size());
    buffer_.clear();
    return written;
}

bool RecordsBehindFront::MoveRecords(std::uint64_t to) {
    const std::uint64_t from = room_;
    Bytes chunk(static_cast<std::size_t>(std::min<std::uint64_t>(kChunkSize, recordBytes_)));
    // Toward the end the last bytes move first, toward the start the first ones: no byte is
    // overwritten before it moved.
    for (std::uint64_t moved = 0; moved < recordBytes_;) {
        const auto size =
            static_cast<std::size_t>(std::min<std::uint64_t>(kChunkSize, recordBytes_ - moved));
        const std::uint64_t at = to > from ? recordBytes_ - moved - size : moved;
        if (!out_.ReadAt(from + at, chunk.data(), size) ||
            !out_.WriteAt(to + at, chunk.data(), size)) {
            return false;
        }
        moved += size;
    }
    return out_.Resize(to + recordBytes_);
}

bool RecordsBehindFront::Finish(ByteView front, ByteView after) {
    if (!WriteBuffer() || (front.size() != room_ && !MoveRecords(front.size()))) {
        return false;
    }
    return out_.WriteAt(0, front.data(), front.size()) && out_.Write(after.data(), after.size());
}

}  // namespace tomery::doc
