// The DOC conversion: a DOC file to a plain text file with CR LF line ends, and back.
// Every conversion replaces "Conversion.log" in the program folder (see ConversionLog.h).
#pragma once

#include "DocBookmarks.h"
#include "WorkProgress.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tomery::doc {

/// The conversion's three switches. The program runs with the options it was built with
/// (BuiltInConversionOptions); the overloads that take options exist for tests.
struct ConversionOptions {
    bool binaryMode = false;    ///< no line-end conversion in either direction
    bool compression = true;    ///< the writer compresses its records
    bool ratioLogging = false;  ///< the writer logs each record's compression ratio
    unsigned threads = 0;       ///< records compressed and decoded at once; 0: one per core
    /// Told after each batch of records how many bytes of the source are done. When it asks
    /// to stop, the conversion logs so and raises EWorkCancelled, its output left as it was.
    TWorkProgress progress = {};
    /// The writer shows it each block of the source, in order, before converting the block.
    /// When it answers false the conversion stops without a word in the log and its
    /// destination stays as it was.
    std::function<bool(ByteView block)> acceptBlock = {};
};

const ConversionOptions& BuiltInConversionOptions();

/// What decoding a DOC file found besides its text.
struct DocTextFindings {
    std::vector<TBookmarkPlace> bookmarks;  ///< the stored bookmarks, in record order
    bool cutShort = false;  ///< the text ends before the length record 0 declares (logged)
};

/// Decodes the DOC file `source` into the text file `output`, which is replaced only when
/// the whole text was decoded. Returns true on success, with `docName` set to the DOC's name;
/// a failure after the format check leaves `docName` empty, an earlier one leaves it as it
/// was. The source is only ever opened for reading: its contents and attributes stay as
/// they are. On success `findings`, when given, says what else the file held.
bool ConvertDocToText(const std::string& source, const std::string& output, std::string& docName);
bool ConvertDocToText(const std::string& source, const std::string& output, std::string& docName,
                      DocTextFindings& findings);
bool ConvertDocToText(const std::string& source, const std::string& output, std::string& docName,
                      const ConversionOptions& options, DocTextFindings* findings = nullptr);

/// What DecodeDocImage made of a DOC file in memory.
struct DocImageText {
    bool converted = false;
    std::string docName;  ///< as ConvertDocToText sets it, starting empty
    std::string text;     ///< the whole text when converted, else empty
    std::string log;      ///< the log's lines from the header check on, each ended by CR LF
    DocTextFindings findings;
};

/// Decodes a DOC file held in memory, touching no file: the same reading, checks and log
/// lines as ConvertDocToText from the header on (the output is named "(memory)").
DocImageText DecodeDocImage(std::string_view image,
                            const ConversionOptions& options = BuiltInConversionOptions());

/// A bookmark for the DOC writer to store: its name (the first 16 bytes are kept) and where
/// it stands in the source text file, in bytes from its start; or, when DocOffset is given,
/// the offset to store as it is (a place past the text is its end).
struct TBookmarkToStore {
    std::string Name;
    std::uint64_t SourceOffset = 0;
    std::optional<std::uint32_t> DocOffset;
};

/// Encodes the text file `source` as the DOC file `destination` named `docName` (its first
/// 31 bytes). `bookmarks` are stored in their order in records after the text, their offsets
/// those of their places in the DOC's text (a place past the text is its end). An existing
/// destination is replaced only when every record was written; on failure it stays as it
/// was. Returns true on success.
bool ConvertTextToDoc(const std::string& source, const std::string& destination,
                      const std::string& docName,
                      const std::vector<TBookmarkToStore>& bookmarks = {});
bool ConvertTextToDoc(const std::string& source, const std::string& destination,
                      const std::string& docName, const ConversionOptions& options,
                      const std::vector<TBookmarkToStore>& bookmarks = {});

}  // namespace tomery::doc
