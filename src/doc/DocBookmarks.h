// The bookmarks some DOC files store after their text records: one 20-byte record each, a
// 16-byte name and the big-endian offset of the place in the text.
#pragma once

#include "DocFormat.h"
#include "DocSource.h"

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
std::vector<TStoredBookmark> ReadStoredBookmarks(DocSource& file);

/// The 20-byte record of a bookmark: its name cut to the name field, then its offset.
Bytes BuildBookmarkRecord(const TStoredBookmark& bookmark);

/// A stored bookmark's place in the lines of the decoded text, both counted from 0. CR, LF
/// and CR LF each end a line, as in the text file the editor reads.
struct TBookmarkPlace {
    std::string Name;
    std::uint32_t Line = 0;
    std::uint32_t Column = 0;
    friend bool operator==(const TBookmarkPlace&, const TBookmarkPlace&) = default;
};

/// Follows a decoded text piece by piece, in order, to find the lines and columns of the
/// bookmarks' offsets.
class BookmarkPlacer {
  public:
    explicit BookmarkPlacer(std::vector<TStoredBookmark> bookmarks);

    void Follow(ByteView text);
    /// The places in the bookmarks' order; an offset past the text stands at its end.
    std::vector<TBookmarkPlace> Places() const;

  private:
    TBookmarkPlace PlaceAt(std::size_t bookmark, std::uint64_t offset) const;

    std::vector<TStoredBookmark> bookmarks_;
    std::vector<std::size_t> byOffset_;  ///< bookmark indexes, offsets rising
    std::size_t next_ = 0;               ///< the first in byOffset_ not yet placed
    std::vector<TBookmarkPlace> places_;
    std::uint64_t offset_ = 0;  ///< of the next byte to follow
    std::uint32_t line_ = 0;
    std::uint64_t lineStart_ = 0;
    bool previousWasCr_ = false;
};

}  // namespace tomery::doc
