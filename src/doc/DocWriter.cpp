#include "DocWriter.h"

#include "DocBookmarks.h"
#include "DocCompressor.h"
#include "DocDecoder.h"
#include "DocFormat.h"
#include "RecordWorkers.h"
#include "RecordsBehindFront.h"

#include <algorithm>
#include <array>
#include <functional>
#include <cstdio>
#include <optional>
#include <vector>

namespace tomery::doc {

namespace {

using std::to_string;

/// Blocks in flight per thread: enough to keep every core busy, little memory.
constexpr std::size_t kRecordsPerThread = 32;

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

/// Turns the bookmarks' places in the source text into offsets in the DOC's text, block by
/// block as the writer converts the text.
class BookmarkOffsets {
  public:
    explicit BookmarkOffsets(const std::vector<TBookmarkToStore>& bookmarks)
        : bookmarks_(bookmarks), offsets_(bookmarks.size()) {
        for (std::size_t i = 0; i < bookmarks.size(); ++i) {
            if (bookmarks[i].DocOffset) {
                offsets_[i] = *bookmarks[i].DocOffset;
            } else {
                byPlace_.push_back(i);
            }
        }
        std::stable_sort(byPlace_.begin(), byPlace_.end(), [this](std::size_t a, std::size_t b) {
            return bookmarks_[a].SourceOffset < bookmarks_[b].SourceOffset;
        });
    }

    /// `block` starts at `sourceStart` in the source; its converted bytes start at `docStart`
    /// in the DOC's text.
    void Follow(ByteView block, std::uint64_t sourceStart, std::uint64_t docStart,
                bool convertLineEnds) {
        for (; next_ < byPlace_.size(); ++next_) {
            const std::uint64_t place = bookmarks_[byPlace_[next_]].SourceOffset;
            if (place >= sourceStart + block.size()) {
                return;
            }
            const ByteView before = block.first(place - sourceStart);
            offsets_[byPlace_[next_]] =
                docStart + (convertLineEnds
                                ? ConvertLineEndsToDoc(before, block[before.size()]).size()
                                : before.size());
        }
    }

    /// The first `count` bookmarks as records; places past the text stand at its end.
    std::vector<TStoredBookmark> Records(std::size_t count, std::uint64_t docLength) const {
        std::vector<TStoredBookmark> records;
        for (std::size_t i = 0; i < count; ++i) {
            records.push_back(
                {bookmarks_[i].Name,
                 static_cast<std::uint32_t>(std::min(offsets_[i].value_or(docLength), docLength))});
        }
        return records;
    }

  private:
    const std::vector<TBookmarkToStore>& bookmarks_;
    std::vector<std::size_t> byPlace_;  ///< indexes of those placed in the source, places rising
    std::size_t next_ = 0;              ///< the first in byPlace_ not yet placed
    std::vector<std::optional<std::uint64_t>> offsets_;  ///< none for a place past the text
};

/// Why reading a batch of blocks stopped.
enum class BatchEnd { Full, TextEnd, TooLong, Refused };

/// Blocks converted and waiting to be compressed, with what their records will hold. Each
/// slot keeps its buffers from batch to batch.
class RecordBatch {
  public:
    explicit RecordBatch(std::size_t capacity) : blocks_(capacity) {}

    /// Converts `block` (`following` is the byte after it) into the next slot; returns the
    /// converted text.
    ByteView Add(ByteView block, std::optional<std::uint8_t> following, bool binaryMode) {
        Block& slot = blocks_[size_++];
        slot.text.resize(std::max(slot.text.size(), block.size()));
        if (binaryMode) {
            std::copy(block.begin(), block.end(), slot.text.begin());
            slot.textSize = block.size();
        } else {
            slot.textSize = ConvertLineEndsToDoc(block, following, slot.text.data());
        }
        slot.sourceSize = block.size();
        return ByteView(slot.text.data(), slot.textSize);
    }
    std::size_t Size() const { return size_; }
    bool Full() const { return size_ == blocks_.size(); }
    void Clear() { size_ = 0; }

    /// Safe to call for different blocks at once.
    void Compress(std::size_t i) {
        Block& slot = blocks_[i];
        slot.recordSize = CompressBlock(ByteView(slot.text.data(), slot.textSize), slot.record);
    }
    ByteView Record(std::size_t i, bool compressed) const {
        const Block& slot = blocks_[i];
        return compressed ? ByteView(slot.record.data(), slot.recordSize)
                          : ByteView(slot.text.data(), slot.textSize);
    }
    /// The bytes of the source the block was converted from.
    std::size_t SourceSize(std::size_t i) const { return blocks_[i].sourceSize; }

  private:
    struct Block {
        Bytes text;  ///< the converted block at its front
        std::size_t textSize = 0;
        Bytes record;  ///< the compressed block at its front
        std::size_t recordSize = 0;
        std::size_t sourceSize = 0;
    };
    std::vector<Block> blocks_;
    std::size_t size_ = 0;  ///< the slots in use
};

/// How many bookmarks fit beside `textRecords` records: the header's record count is 16 bits,
/// and without a text record, record 0 cannot tell its readers where the text ends.
std::size_t BookmarksThatFit(std::size_t textRecords, std::size_t bookmarks) {
    return textRecords == 0 ? 0 : std::min(bookmarks, kMaxTextRecords - textRecords);
}

/// BookmarksThatFit, logging why the others are left out.
std::size_t LogBookmarksThatFit(LogLines& log, std::size_t textRecords, std::size_t bookmarks) {
    const std::size_t fit = BookmarksThatFit(textRecords, bookmarks);
    if (fit < bookmarks) {
        log.Line(textRecords == 0 ? "no bookmarks stored: the text is empty"
                                  : "only " + to_string(fit) + " of " + to_string(bookmarks) +
                                        " bookmarks stored: a DOC file holds at most " +
                                        to_string(kMaxTextRecords + 1) + " records");
    }
    return fit;
}

/// Where record 0 starts in a file of `records` records besides it.
constexpr std::size_t Record0Offset(std::size_t records) {
    return RecordListEnd(records + 1) + 2;
}

/// The size of the front BuildFileFront makes for `records` records besides record 0.
constexpr std::size_t FileFrontSize(std::size_t records) {
    return Record0Offset(records) + kDocHeaderRecordSize;
}

/// The header, the record list, the two zero bytes and record 0 for records of the given
/// sizes, the first `textRecords` of them text, which follow record 0 back to back.
Bytes BuildFileFront(const std::string& docName, std::size_t textLength, std::size_t textRecords,
                     const std::vector<std::uint32_t>& recordSizes,
                     const ConversionOptions& options) {
    const std::size_t n = recordSizes.size();
    Bytes front = BuildDatabaseHeader(docName, n);
    const auto record0 = static_cast<std::uint32_t>(Record0Offset(n));
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
    AppendUInt16(front, static_cast<std::uint16_t>(textRecords));
    AppendUInt16(front, static_cast<std::uint16_t>(kTextRecordSize));
    AppendUInt32(front, 0);
    return front;
}

}  // namespace

bool WriteDocFile(LogLines& log, TextBlocks& text, FileReplacement& out, const std::string& source,
                  const std::string& destination, const std::string& docName,
                  const ConversionOptions& options,
                  const std::vector<TBookmarkToStore>& bookmarks) {
    // Measured before reading, so that a text too long is refused without reading it.
    if (RefuseTooLongText(log, text.MeasuredSize())) {
        return false;
    }
    const std::size_t n = TextRecordsFor(text.MeasuredSize());
    RecordsBehindFront records(out, FileFrontSize(n + BookmarksThatFit(n, bookmarks.size())));
    std::vector<std::uint32_t> recordSizes;
    BookmarkOffsets places(bookmarks);
    std::uint64_t docLength = 0;
    std::size_t blocksRead = 0;
    // Blocks are read and converted in order, a batch at a time, and compressed on every core
    // while the batch before is written in order: the file is the one a single thread would
    // write. The batches outlive the workers' jobs on them.
    const unsigned threads = RecordWorkers::ThreadCount(options.threads);
    std::array<RecordBatch, 2> batches{RecordBatch(kRecordsPerThread * threads),
                                       RecordBatch(kRecordsPerThread * threads)};
    RecordWorkers workers(options.compression ? threads : 1);
    const auto readBatch = [&](RecordBatch& batch) {
        while (!batch.Full()) {
            const ByteView block = text.Next();
            if (block.empty()) {
                return BatchEnd::TextEnd;
            }
            // A source that grew since it was measured is taken as it reads now.
            if (blocksRead == kMaxTextRecords) {
                return BatchEnd::TooLong;
            }
            if (options.acceptBlock && !options.acceptBlock(block)) {
                return BatchEnd::Refused;
            }
            ++blocksRead;
            places.Follow(block, text.BytesRead() - block.size(), docLength, !options.binaryMode);
            docLength += batch.Add(block, text.FollowingByte(), options.binaryMode).size();
        }
        return BatchEnd::Full;
    };
    const auto writeBatch = [&](const RecordBatch& batch) {
        for (std::size_t i = 0; i < batch.Size(); ++i) {
            const ByteView record = batch.Record(i, options.compression);
            if (!records.Append(record)) {
                return false;
            }
            recordSizes.push_back(static_cast<std::uint32_t>(record.size()));
            log.Line("converting record " + to_string(recordSizes.size()) + " of " + to_string(n));
            if (options.ratioLogging && options.compression && !record.empty()) {
                log.Line(RatioLine(batch.SourceSize(i), record.size()));
            }
        }
        return true;
    };
    log.EmptyLine();
    // One batch is compressed while the other is written and then read full again.
    BatchEnd end = readBatch(batches[0]);
    bool writing = true;
    bool compressedWaiting = false;  ///< the other batch holds records to write
    for (std::size_t current = 0; writing; current ^= 1) {
        if (end == BatchEnd::Refused) {
            return false;
        }
        RecordBatch& now = batches[current];
        RecordBatch& other = batches[current ^ 1];
        if (now.Size() == 0) {
            writing = !compressedWaiting || writeBatch(other);
            break;
        }
        const std::function<void(std::size_t)> compress = [&now](std::size_t i) {
            now.Compress(i);
        };
        if (options.compression) {
            workers.Start(now.Size(), compress);
        }
        writing = !compressedWaiting || writeBatch(other);
        other.Clear();
        if (writing && end == BatchEnd::Full) {
            end = readBatch(other);
        }
        if (options.compression) {
            workers.Finish();
        }
        compressedWaiting = true;
        // Between batches no job runs, and the destination is not touched before the end.
        ReportProgress(options.progress, text.BytesRead(), text.MeasuredSize());
    }
    if (writing && end == BatchEnd::TooLong) {
        RefuseTooLongText(log, LengthOfTheRest(text));
        return false;
    }
    if (text.Failed()) {
        log.EmptyLine();
        log.Line("problem reading source file " + source);
        return false;
    }
    const std::size_t textRecords = recordSizes.size();
    Bytes bookmarkRecords;
    for (const TStoredBookmark& bookmark :
         places.Records(LogBookmarksThatFit(log, textRecords, bookmarks.size()), docLength)) {
        const Bytes record = BuildBookmarkRecord(bookmark);
        bookmarkRecords.insert(bookmarkRecords.end(), record.begin(), record.end());
        recordSizes.push_back(static_cast<std::uint32_t>(record.size()));
    }
    const Bytes front =
        BuildFileFront(docName, text.BytesRead(), textRecords, recordSizes, options);
    if (!records.Finish(front, bookmarkRecords) || !out.Commit()) {
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
