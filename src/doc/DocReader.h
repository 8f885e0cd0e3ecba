// The DOC reader from the header on: the header, the record list, record 0, then the text
// records in list order, each decoded and expanded as it is read and handed on in large
// pieces. It holds one record and the record list at a time, whatever the file's size.
#pragma once

#include "Conversion.h"
#include "ConversionLog.h"
#include "DocSource.h"

#include <string>

namespace tomery::doc {

/// Where the reader's text goes: a file that replaces its destination at the end, or memory.
class TextSink {
  public:
    virtual ~TextSink() = default;

    /// Creates the output; false when it cannot be created.
    virtual bool Open() = 0;
    /// The output as the log names it.
    virtual const std::string& Name() const = 0;
    /// Appends text; false when the write failed.
    virtual bool Write(ByteView text) = 0;
    /// Completes the output; false when anything failed on the way, a failed Write included.
    virtual bool Commit() = 0;
};

/// Reads the DOC file in `source` into `out`, logging each step. Returns true when the whole
/// text was written; `docName` is emptied after the format check and set to the DOC's name
/// on success. `findings`, when given, gets the stored bookmarks' places and whether the text
/// was cut short.
bool ReadDocText(LogLines& log, DocSource& source, TextSink& out, std::string& docName,
                 const ConversionOptions& options, DocTextFindings* findings = nullptr);

}  // namespace tomery::doc
