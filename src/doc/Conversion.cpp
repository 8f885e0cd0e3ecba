#include "Conversion.h"

#include "ConversionLog.h"
#include "DocCompressor.h"
#include "DocDecoder.h"
#include "DocFormat.h"
#include "FileAccess.h"
#include "FileReplacement.h"

#include <cstdio>
#include <filesystem>
#include <optional>

#ifndef TOMERY_DOC_BINARY_MODE
#define TOMERY_DOC_BINARY_MODE 0
#endif
#ifndef TOMERY_DOC_COMPRESSION
#define TOMERY_DOC_COMPRESSION 1
#endif
#ifndef TOMERY_DOC_RATIO_LOGGING
#define TOMERY_DOC_RATIO_LOGGING 0
#endif

namespace tomery::doc {

namespace {

using std::to_string;

/// Logs why the record list cannot be right at text record `k`, or returns false.
bool RecordOffsetIsBad(ConversionLog& log, std::size_t k, std::size_t offset,
                       std::size_t previousOffset, std::size_t listEnd, std::size_t fileSize) {
    std::string problem;
    if (offset < listEnd) {
        problem = "lies before the end of the record list at " + to_string(listEnd);
    } else if (offset < previousOffset) {
        problem = "is below the offset of the record before it, " + to_string(previousOffset);
    } else if (offset > fileSize) {
        problem = "lies beyond the end of the file at " + to_string(fileSize);
    } else {
        return false;
    }
    log.EmptyLine();
    log.Line("bad record list: offset " + to_string(offset) + " of record " + to_string(k) + " " +
             problem);
    return true;
}

/// The reader from the header check on; returns true when the whole text was written.
bool DecodeDocFile(ConversionLog& log, const Bytes& file, const std::string& output,
                   std::string& docName, const ConversionOptions& options) {
    const auto layout = ReadDatabaseHeader(file);
    if (!layout) {
        log.EmptyLine();
        log.Line("file is shorter than its header: " + to_string(file.size()) + " bytes");
        return false;
    }
    log.Line("file pos = " + to_string(kDatabaseHeaderSize));
    log.Line("Name = " + layout->name);
    log.Line("Creator = " + FourCharText(layout->creator));
    log.Line("Type = " + FourCharText(layout->type));
    if (!IsDocFormat(*layout)) {
        log.EmptyLine();
        log.Line(".prc file is not the correct format");
        return false;
    }
    docName.clear();

    if (const auto problem = RecordListProblem(file, *layout)) {
        log.EmptyLine();
        log.Line(*problem);
        return false;
    }
    const std::size_t listEnd = RecordListEnd(layout->recordCount);
    const std::size_t record0 = RecordOffset(file, 0);
    log.Line("Record0 pos = " + to_string(record0));
    if (const auto problem = RecordZeroProblem(file, *layout)) {
        log.EmptyLine();
        log.Line(*problem);
        return false;
    }
    const std::uint16_t compression = ReadUInt16(file, record0 + kCompressionOffset);
    log.Line("bCompressed = " + to_string(compression));
    log.Line("Next file pos = " + to_string(record0 + kDocHeaderRecordSize));
    if (compression != kCompressionPlain && compression != kCompressionCompressed) {
        log.Line("WARNING: unknown file compression type: " + to_string(compression));
    }

    FileReplacement out(output);
    if (!out.IsOpen()) {
        log.EmptyLine();
        log.Line("problem opening output file " + output);
        return false;
    }
    const std::size_t n =
        TextRecordCount(layout->recordCount, ReadUInt16(file, record0 + kStoredTextRecordsOffset));
    log.EmptyLine();
    log.Line("opened dest file: " + output);
    log.EmptyLine();
    log.Line("dwLen = " + to_string(file.size()));
    log.Line("nRecs = " + to_string(n));

    std::size_t previousOffset = record0;
    bool previousWasCr = false;
    Bytes decoded;
    for (std::size_t k = 1; k <= n; ++k) {
        const std::size_t offset = RecordOffset(file, k);
        log.Line("Rec " + to_string(k) + ": pos = " + to_string(offset));
        const bool hasNextEntry = k + 1 < layout->recordCount;
        const std::size_t end = hasNextEntry ? RecordOffset(file, k + 1) : file.size();
        if (RecordOffsetIsBad(log, k, offset, previousOffset, listEnd, file.size()) ||
            (hasNextEntry && RecordOffsetIsBad(log, k + 1, end, offset, listEnd, file.size()))) {
            return false;
        }
        previousOffset = offset;
        log.Line("       dwRecLen = " + to_string(end - offset));
        const ByteView record(file.data() + offset, end - offset);
        log.Line("       " + to_string(record.size()) + " bytes read");

        ByteView text = record;
        if (compression != kCompressionPlain) {
            if (const auto error = DecodeRecord(record, decoded)) {
                log.EmptyLine();
                log.Line("bad record " + to_string(k) + ": " + error->Describe());
                return false;
            }
            text = decoded;
        }
        const Bytes expanded = options.binaryMode ? Bytes(text.begin(), text.end())
                                                  : ExpandLineEnds(text, previousWasCr);
        log.Line("reconverting " + layout->name + ": record " + to_string(k) + " of " +
                 to_string(n));
        if (!out.Write(expanded.data(), expanded.size())) {
            break;
        }
    }
    if (!out.Commit()) {
        log.EmptyLine();
        log.Line("problem writing output file " + output);
        return false;
    }
    docName = layout->name;
    return true;
}

std::string SavingLine(const std::string& destination, const std::string& docName,
                       const ConversionOptions& options) {
    std::string line = "saving to " + destination + " as <" + docName + ">,";
    if (options.binaryMode) {
        line += " binary mode,";
    }
    if (!options.compression) {
        line += " not";
    }
    return line + " compressed";
}

std::string RatioLine(std::size_t bytesRead, std::size_t bytesWritten) {
    char ratio[32];
    std::snprintf(ratio, sizeof ratio, "%5.1f",
                  100.0 * static_cast<double>(bytesWritten) / static_cast<double>(bytesRead));
    return "original " + to_string(bytesRead) + " bytes, compressed to " + to_string(bytesWritten) +
           " bytes, ratio: " + ratio;
}

/// The header, the record list with provisional offsets, the two zero bytes and record 0.
Bytes BuildFileFront(const std::string& docName, std::size_t textLength, std::size_t n,
                     const ConversionOptions& options) {
    Bytes front = BuildDatabaseHeader(docName, n);
    const auto record0 = static_cast<std::uint32_t>(RecordListEnd(n + 1) + 2);
    for (std::size_t k = 0; k <= n; ++k) {
        const std::uint32_t provisional =
            k == 0 ? record0 : record0 + 16 + static_cast<std::uint32_t>((k - 1) * kTextRecordSize);
        AppendUInt32(front, provisional);
        AppendUInt32(front, kRecordEntryTag + static_cast<std::uint32_t>(k));
    }
    AppendUInt16(front, 0);
    AppendUInt16(front, options.compression ? kCompressionCompressed : kCompressionPlain);
    AppendUInt16(front, 0);
    AppendUInt32(front, static_cast<std::uint32_t>(textLength));
    AppendUInt16(front, static_cast<std::uint16_t>(n));
    AppendUInt16(front, static_cast<std::uint16_t>(kTextRecordSize));
    AppendUInt32(front, 0);
    return front;
}

std::size_t TextRecordsFor(std::size_t textLength) {
    return (textLength + kTextRecordSize - 1) / kTextRecordSize;
}

/// The record count field is 16 bits wide: longer texts are refused, not cut.
bool RefuseTooLongText(ConversionLog& log, std::size_t textLength) {
    const std::size_t n = TextRecordsFor(textLength);
    if (n <= kMaxTextRecords) {
        return false;
    }
    log.EmptyLine();
    log.Line("text too long: it needs " + to_string(n) + " records, a DOC file holds at most " +
             to_string(kMaxTextRecords));
    return true;
}

/// The writer from the read source on; returns true when every record was written.
bool EncodeTextFile(ConversionLog& log, const Bytes& text, FileReplacement& out,
                    const std::string& destination, const std::string& docName,
                    const ConversionOptions& options) {
    const std::size_t n = TextRecordsFor(text.size());
    Bytes file = BuildFileFront(docName, text.size(), n, options);
    log.EmptyLine();
    for (std::size_t k = 1; k <= n; ++k) {
        WriteUInt32(file, kDatabaseHeaderSize + kRecordEntrySize * k,
                    static_cast<std::uint32_t>(file.size()));
        const std::size_t start = (k - 1) * kTextRecordSize;
        const std::size_t length = std::min(kTextRecordSize, text.size() - start);
        ByteView block(text.data() + start, length);
        const std::optional<std::uint8_t> nextByte =
            start + length < text.size() ? std::optional(text[start + length]) : std::nullopt;

        Bytes converted;
        if (!options.binaryMode) {
            converted = ConvertLineEndsToDoc(block, nextByte);
            block = converted;
        }
        const Bytes record =
            options.compression ? CompressBlock(block) : Bytes(block.begin(), block.end());
        file.insert(file.end(), record.begin(), record.end());
        log.Line("converting record " + to_string(k) + " of " + to_string(n));
        if (options.ratioLogging && options.compression && !record.empty()) {
            log.Line(RatioLine(length, record.size()));
        }
    }
    if (!out.Write(file.data(), file.size()) || !out.Commit()) {
        log.EmptyLine();
        log.Line("problem writing destination file " + destination);
        return false;
    }
    return true;
}

}  // namespace

const ConversionOptions& BuiltInConversionOptions() {
    static const ConversionOptions options{TOMERY_DOC_BINARY_MODE != 0, TOMERY_DOC_COMPRESSION != 0,
                                           TOMERY_DOC_RATIO_LOGGING != 0};
    return options;
}

bool ConvertDocToText(const std::string& source, const std::string& output, std::string& docName) {
    return ConvertDocToText(source, output, docName, BuiltInConversionOptions());
}

bool ConvertDocToText(const std::string& source, const std::string& output, std::string& docName,
                      const ConversionOptions& options) {
    ConversionLog log;
    if (!log.IsOpen()) {
        return false;
    }
    const ReadOnlyAttributeLift lift(source);
    const auto file = ReadWholeFile(source);
    if (!file) {
        log.EmptyLine();
        log.Line("problem opening source file: " + source);
        return false;
    }
    log.EmptyLine();
    log.Line("opened source file: " + source);
    return DecodeDocFile(log, *file, output, docName, options);
}

bool ConvertTextToDoc(const std::string& source, const std::string& destination,
                      const std::string& docName) {
    return ConvertTextToDoc(source, destination, docName, BuiltInConversionOptions());
}

bool ConvertTextToDoc(const std::string& source, const std::string& destination,
                      const std::string& docName, const ConversionOptions& options) {
    ConversionLog log;
    if (!log.IsOpen()) {
        return false;
    }
    std::error_code error;
    const auto sourceSize = std::filesystem::file_size(source, error);
    FileReplacement out(destination);
    if (error || !out.IsOpen()) {
        log.EmptyLine();
        log.Line("problem opening files");
        return false;
    }
    log.EmptyLine();
    log.Line("Opened files: " + source + ", " + destination);
    log.Line(SavingLine(destination, docName, options));
    // Measured before reading, so that a text too long is refused without loading it.
    if (RefuseTooLongText(log, sourceSize)) {
        return false;
    }
    const auto text = ReadWholeFile(source);
    if (!text) {
        log.EmptyLine();
        log.Line("problem reading source file " + source);
        return false;
    }
    // A source that grew since it was measured is taken as it reads now.
    if (RefuseTooLongText(log, text->size())) {
        return false;
    }
    return EncodeTextFile(log, *text, out, destination, docName, options);
}

}  // namespace tomery::doc
