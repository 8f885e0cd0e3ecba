#include "DocWriter.h"

#include "DocCompressor.h"
#include "DocDecoder.h"
#include "DocFormat.h"
#include "RecordSpool.h"

#include <cstdio>
#include <vector>

namespace tomery::doc {

namespace {

using std::to_string;

std::size_t TextRecordsFor(std::size_t textLength) {
    return (textLength + kTextRecordSize - 1) / kTextRecordSize;
}

/// The record count field is 16 bits wide: longer texts are refused, not cut.
bool RefuseTooLongText(LogLines& log, std::size_t textLength) {
    const std::size_t n = TextRecordsFor(textLength);
    if (n <= kMaxTextRecords) {
        return false;
    }
    log.EmptyLine();
    log.Line("text too long: it needs " + to_string(n) + " records, a DOC file holds at most " +
             to_string(kMaxTextRecords));
    return true;
}

/// The length of the whole text, reading the rest without keeping it.
std::size_t LengthOfTheRest(TextBlocks& text) {
    while (!text.Next().empty()) {
    }
    return text.BytesRead();
}

std::string RatioLine(std::size_t bytesRead, std::size_t bytesWritten) {
    char ratio[32];
    std::snprintf(ratio, sizeof ratio, "%5.1f",
                  100.0 * static_cast<double>(bytesWritten) / static_cast<double>(bytesRead));
    return "original " + to_string(bytesRead) + " bytes, compressed to " + to_string(bytesWritten) +
           " bytes, ratio: " + ratio;
}

/// The header, the record list, the two zero bytes and record 0 for records of the given
/// sizes, which follow record 0 back to back.
Bytes BuildFileFront(const std::string& docName, std::size_t textLength,
                     const std::vector<std::uint32_t>& recordSizes,
                     const ConversionOptions& options) {
    const std::size_t n = recordSizes.size();
    Bytes front = BuildDatabaseHeader(docName, n);
    const auto record0 = static_cast<std::uint32_t>(RecordListEnd(n + 1) + 2);
    std::uint32_t offset = record0 + kDocHeaderRecordSize;
    for (std::size_t k = 0; k <= n; ++k) {
        AppendUInt32(front, k == 0 ? record0 : offset);
        AppendUInt32(front, kRecordEntryTag + static_cast<std::uint32_t>(k));
        if (k > 0) {
            offset += recordSizes[k - 1];
        }
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

}  // namespace

bool WriteDocFile(LogLines& log, TextBlocks& text, FileReplacement& out, const std::string& source,
                  const std::string& destination, const std::string& docName,
                  const ConversionOptions& options) {
    // Measured before reading, so that a text too long is refused without reading it.
    if (RefuseTooLongText(log, text.MeasuredSize())) {
        return false;
    }
    const std::size_t n = TextRecordsFor(text.MeasuredSize());
    RecordSpool spool(destination);
    std::vector<std::uint32_t> recordSizes;
    log.EmptyLine();
    for (ByteView block = text.Next(); !block.empty(); block = text.Next()) {
        // A source that grew since it was measured is taken as it reads now.
        if (recordSizes.size() == kMaxTextRecords) {
            RefuseTooLongText(log, LengthOfTheRest(text));
            return false;
        }
        const std::size_t bytesRead = block.size();
        Bytes converted;
        if (!options.binaryMode) {
            converted = ConvertLineEndsToDoc(block, text.FollowingByte());
            block = converted;
        }
        const Bytes record =
            options.compression ? CompressBlock(block) : Bytes(block.begin(), block.end());
        if (!spool.Append(record)) {
            break;
        }
        recordSizes.push_back(static_cast<std::uint32_t>(record.size()));
        const std::size_t k = recordSizes.size();
        log.Line("converting record " + to_string(k) + " of " + to_string(n));
        if (options.ratioLogging && options.compression && !record.empty()) {
            log.Line(RatioLine(bytesRead, record.size()));
        }
    }
    if (text.Failed()) {
        log.EmptyLine();
        log.Line("problem reading source file " + source);
        return false;
    }
    const Bytes front = BuildFileFront(docName, text.BytesRead(), recordSizes, options);
    if (!out.Write(front.data(), front.size()) || !spool.CopyTo(out) || !out.Commit()) {
        log.EmptyLine();
        log.Line("problem writing destination file " + destination);
        if (out.RefusedWithoutCopy()) {
            log.Line(out.ErrorText());
        }
        return false;
    }
    return true;
}

}  // namespace tomery::doc
