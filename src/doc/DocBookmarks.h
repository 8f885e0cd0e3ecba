// The bookmarks some DOC files store after their text records: one 20-byte record each, a
// 16-byte name and the big-endian offset of the place in the text.
#pragma once

#include "DocFormat.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tomery::doc {

inline constexpr std::size_t kBookmarkRecordSize = 20;
inline constexpr std::size_t kBookmarkNameSize = 16;

struct TStoredBookmark {
    std::string Name;      ///< the name field up to its first zero byte
    std::uint32_t Offset;  ///< bytes into the decoded text, its line ends single LFs
};

/// The bookmark records of a DOC file, in record order. A record is left out when it does not
/// lie whole in the file, holds fewer than 20 bytes, or points past the text length that
/// record 0 declares. Anything that is not a readable DOC file gives an empty list.
std::vector<TStoredBookmark> ReadStoredBookmarks(ByteView file);

/// As above for the file at `path`; empty when it cannot be read.
std::vector<TStoredBookmark> ReadStoredBookmarks(const std::string& path);

}  // namespace tomery::doc
