// A DOC file's description from its header and record 0, for the command-line tool.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tomery::doc {

struct DocInfo {
    std::string problem;  ///< why the file cannot be described; empty when it can
    std::string name;
    std::string type;
    std::string creator;
    std::size_t textRecords = 0;          ///< the records the reader decodes as text
    std::uint16_t headerRecords = 0;      ///< the header's count, record 0 included
    std::uint16_t storedTextRecords = 0;  ///< record 0's count of text records
    std::uint16_t compression = 0;
    std::uint32_t textLength = 0;  ///< record 0's text length
    std::uint32_t created = 0;     ///< the header's dates as stored
    std::uint32_t modified = 0;
    std::uint32_t backedUp = 0;
    std::size_t storedBookmarks = 0;
    std::string damage;  ///< why decoding the records fails, as decode would; empty when it works
    bool cutShort = false;  ///< the records decode to less than the text length declared
};

/// Describes the DOC file at `path` and decodes its records (keeping none of the text) to
/// find damage.
DocInfo ReadDocInfo(const std::string& path);

/// A header date as "2026-12-08 21:40:00 UTC", or "none" for 0. A date with its top bit set
/// counts seconds from 1904 (as the handheld does), any other from 1970 (as some converters do).
std::string FormatDocDate(std::uint32_t date);

/// "name:", "type:", "creator:", "created:", "modified:", "backed up:", "records:",
/// "compression:" and "text length:" lines, the two record counts when they disagree (a file
/// with records after its text), and the number of stored bookmarks when there are any.
std::string FormatDocInfo(const DocInfo& info);

}  // namespace tomery::doc
