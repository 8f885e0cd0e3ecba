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
};

DocInfo ReadDocInfo(const std::string& path);

/// "name:", "type:", "creator:", "records:", "compression:" and "text length:" lines, and
/// the two record counts when they disagree (a file with records after its text).
std::string FormatDocInfo(const DocInfo& info);

}  // namespace tomery::doc
