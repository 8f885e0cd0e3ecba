// The DOC writer from the opened files on: the text is cut into records that are converted
// and compressed one at a time, then the front of the file (header, record list, record 0)
// and the records are written. It holds one record at a time, whatever the text's size.
#pragma once

#include "Conversion.h"
#include "ConversionLog.h"
#include "FileReplacement.h"
#include "TextBlocks.h"

#include <string>
#include <vector>

namespace tomery::doc {

/// Writes the DOC file for `text` to `out`, logging each record, and the bookmark records
/// after the text. Returns true when every record was written and the destination replaced.
bool WriteDocFile(LogLines& log, TextBlocks& text, FileReplacement& out, const std::string& source,
                  const std::string& destination, const std::string& docName,
                  const ConversionOptions& options, const std::vector<TBookmarkToStore>& bookmarks);

}  // namespace tomery::doc
