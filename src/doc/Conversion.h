// The DOC conversion: a DOC file to a plain text file with CR LF line ends, and back.
// Every conversion replaces "Conversion.log" in the program folder (see ConversionLog.h).
#pragma once

#include <string>
#include <string_view>

namespace tomery::doc {

/// The conversion's three switches. The program runs with the options it was built with
/// (BuiltInConversionOptions); the overloads that take options exist for tests.
struct ConversionOptions {
    bool binaryMode = false;    ///< no line-end conversion in either direction
    bool compression = true;    ///< the writer compresses its records
    bool ratioLogging = false;  ///< the writer logs each record's compression ratio
};

const ConversionOptions& BuiltInConversionOptions();

/// Decodes the DOC file `source` into the text file `output`, which is replaced only when
/// the whole text was decoded. Returns true on success, with `docName` set to the DOC's name;
/// a failure after the format check leaves `docName` empty, an earlier one leaves it as it
/// was. The source is only ever opened for reading: its contents and attributes stay as
/// they are.
bool ConvertDocToText(const std::string& source, const std::string& output, std::string& docName);
bool ConvertDocToText(const std::string& source, const std::string& output, std::string& docName,
                      const ConversionOptions& options);

/// What DecodeDocImage made of a DOC file in memory.
struct DocImageText {
    bool converted = false;
    std::string docName;  ///< as ConvertDocToText sets it, starting empty
    std::string text;     ///< the whole text when converted, else empty
    std::string log;      ///< the log's lines from the header check on, each ended by CR LF
};

/// Decodes a DOC file held in memory, touching no file: the same reading, checks and log
/// lines as ConvertDocToText from the header on (the output is named "(memory)").
DocImageText DecodeDocImage(std::string_view image,
                            const ConversionOptions& options = BuiltInConversionOptions());

/// Encodes the text file `source` as the DOC file `destination` named `docName` (its first
/// 31 bytes). An existing destination is replaced only when every record was written; on
/// failure it stays as it was. Returns true on success.
bool ConvertTextToDoc(const std::string& source, const std::string& destination,
                      const std::string& docName);
bool ConvertTextToDoc(const std::string& source, const std::string& destination,
                      const std::string& docName, const ConversionOptions& options);

}  // namespace tomery::doc
