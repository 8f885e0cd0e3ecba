#include "DocReader.h"

#include "DocBookmarks.h"
#include "DocDecoder.h"
#include "DocFormat.h"
#include "RecordWorkers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string_view>

namespace tomery::doc {

namespace {

using std::to_string;

/// Records read ahead per thread: enough to keep every core busy, little memory.
constexpr std::size_t kRecordsPerThread = 32;

void LogProblem(LogLines& log, const std::string& problem) {
    log.EmptyLine();
    log.Line(problem);
}

/// Logs a read that failed although the file's size said the bytes were there.
bool ReadFailed(LogLines& log, const DocSource& source, ByteView bytes, std::size_t wanted) {
    if (bytes.size() == wanted && !source.Failed()) {
        return false;
    }
    LogProblem(log, "problem reading source file");
    return true;
}

/// Why the record list cannot be right at text record `k`, if it cannot.
std::optional<std::string> RecordOffsetProblem(std::size_t k, std::size_t offset,
                                               std::size_t previousOffset, std::size_t listEnd,
                                               std::size_t fileSize) {
    std::string problem;
    if (offset < listEnd) {
        problem = "lies before the end of the record list at " + to_string(listEnd);
    } else if (offset < previousOffset) {
        problem = "is below the offset of the record before it, " + to_string(previousOffset);
    } else if (offset > fileSize) {
        problem = "lies beyond the end of the file at " + to_string(fileSize);
    } else {
        return std::nullopt;
    }
    return "bad record list: offset " + to_string(offset) + " of record " + to_string(k) + " " +
           problem;
}

/// Names the records left after the text, so that a file that decodes shorter than its
/// header suggests explains itself.
void LogSkippedRecords(LogLines& log, std::uint16_t headerRecordCount, std::size_t textRecords) {
    const std::size_t headerTextRecords = static_cast<std::uint16_t>(headerRecordCount - 1);
    if (textRecords >= headerTextRecords) {
        return;
    }
    const std::size_t skipped = headerTextRecords - textRecords;
    log.Line("skipping " + to_string(skipped) + (skipped == 1 ? " record" : " records") +
             " after the " + to_string(textRecords) + " text records that record 0 counts");
}

/// What the decoded text says about the text length that record 0 declares.
struct TextTally {
    std::uint64_t bytes = 0;
    std::uint64_t lineFeeds = 0;

    void Add(std::uint64_t textBytes, std::uint64_t textLineFeeds) {
        bytes += textBytes;
        lineFeeds += textLineFeeds;
    }
};

/// Whether the text ends before the length record 0 declares. Other converters declare the
/// text's own length. This program's writer, whose files carry its fixed dates, declares the
/// length of the CR LF text it was given, which the text decodes short of by a CR for each LF.
bool EndsBeforeDeclaredLength(const TextTally& tally, std::uint32_t declared,
                              bool declaresCrLfLength) {
    return tally.bytes + (declaresCrLfLength ? tally.lineFeeds : 0) < declared;
}

/// Log lines made of texts and numbers in one buffer kept from line to line: a decode logs
/// four lines for each record.
class LineMaker {
  public:
    explicit LineMaker(LogLines& log) : log_(log) {}

    template <typename... Parts>
    void Line(const Parts&... parts) {
        text_.clear();
        (Append(parts), ...);
        log_.Line(text_);
    }

  private:
    void Append(std::string_view text) { text_ += text; }
    void Append(std::size_t number) {
        char digits[20];
        text_.append(digits, std::to_chars(std::begin(digits), std::end(digits), number).ptr);
    }

    LogLines& log_;
    std::string text_;
};

/// The text of the records taking their turn, written at once when the turn ends.
class TextPieces {
  public:
    explicit TextPieces(TextSink& out) : out_(out) {}

    /// Valid until Flush.
    void Add(ByteView piece) { pieces_.push_back(piece); }
    /// Writes what was collected.
    void Flush() {
        if (!pieces_.empty() && writing_) {
            writing_ = out_.WritePieces(pieces_);
        }
        pieces_.clear();
    }
    /// False once a write failed: what follows would be lost anyway.
    bool Writing() const { return writing_; }

  private:
    TextSink& out_;
    std::vector<ByteView> pieces_;
    bool writing_ = true;
};

/// Where the text records lie: the record list checked one record at a time.
class RecordPlaces {
  public:
    RecordPlaces(const DocLayout& layout, ByteView front, std::size_t fileSize)
        : front_(front),
          recordCount_(layout.recordCount),
          listEnd_(RecordListEnd(layout.recordCount)),
          fileSize_(fileSize) {}

    struct Place {
        std::size_t offset = 0;
        std::size_t end = 0;
        std::optional<std::string> problem;  ///< why the list cannot be right here
    };

    /// Text record `k`'s place; its offset must not lie below `previousOffset`.
    Place Of(std::size_t k, std::size_t previousOffset) const {
        Place place;
        place.offset = RecordOffset(front_, k);
        const bool hasNextEntry = k + 1 < recordCount_;
        place.end = hasNextEntry ? RecordOffset(front_, k + 1) : fileSize_;
        place.problem = RecordOffsetProblem(k, place.offset, previousOffset, listEnd_, fileSize_);
        if (!place.problem && hasNextEntry) {
            place.problem =
                RecordOffsetProblem(k + 1, place.end, place.offset, listEnd_, fileSize_);
        }
        return place;
    }
    std::size_t FirstOffset() const { return RecordOffset(front_, 0); }

  private:
    ByteView front_;
    std::size_t recordCount_;
    std::size_t listEnd_;
    std::size_t fileSize_;
};

/// Text records read ahead of their turn, then decoded and given their CR LF line ends on
/// every core; their turn then logs them, in order, exactly as reading them one by one would.
class RecordBatch {
  public:
    RecordBatch(std::size_t capacity, bool compressed, bool binaryMode)
        : slots_(capacity), compressed_(compressed), binaryMode_(binaryMode) {}

    struct Slot {
        RecordPlaces::Place place;
        ByteView bytes;  ///< in the batch's records
        bool readFailed = false;
        RecordDecoder decoder;
        std::optional<DecodeError> error;
        /// The text with CR LF line ends as if no CR ended the record before.
        std::unique_ptr<std::uint8_t[]> expanded;
        std::size_t expandedRoom = 0;
        std::size_t expandedSize = 0;
        std::uint64_t lineFeeds = 0;

        ByteView Text(bool compressed) const { return compressed ? decoder.Text() : bytes; }
    };

    /// Reads records from `first` on, up to the batch's capacity and `last`, stopping after
    /// one whose place or read is bad. Returns how many were read. The records lie back to
    /// back, so that one read brings them all.
    std::size_t Read(DocSource& source, const RecordPlaces& places, std::size_t first,
                     std::size_t last, std::size_t& previousOffset) {
        count_ = 0;
        stopped_ = false;
        for (std::size_t k = first; k <= last && count_ < slots_.size(); ++k) {
            Slot& slot = slots_[count_++];
            slot.place = places.Of(k, previousOffset);
            if (slot.place.problem) {
                stopped_ = true;
                break;
            }
            previousOffset = slot.place.offset;
        }
        const std::size_t placed = stopped_ ? count_ - 1 : count_;
        if (placed == 0) {
            return count_;
        }
        const std::size_t start = slots_[0].place.offset;
        const std::size_t span = slots_[placed - 1].place.end - start;
        if (records_.size() < span) {
            records_.resize(span);
        }
        const std::size_t got = source.ReadInto(start, std::span(records_.data(), span));
        const bool failed = source.Failed();
        for (std::size_t j = 0; j < placed; ++j) {
            Slot& slot = slots_[j];
            const std::size_t from = std::min(slot.place.offset - start, got);
            const std::size_t to = std::min(slot.place.end - start, got);
            slot.bytes = ByteView(records_.data() + from, to - from);
            // A failed read spoils the first record it did not bring whole; a read that
            // failed before, the first record.
            slot.readFailed = failed && (to < slot.place.end - start || got == span);
            if (slot.readFailed) {
                count_ = j + 1;
                stopped_ = true;
                break;
            }
        }
        return count_;
    }
    /// Whether the last record read was bad, so that none after it is to be read.
    bool Stopped() const { return stopped_; }

    /// Safe to call for different slots at once.
    void Decode(std::size_t i) {
        Slot& slot = slots_[i];
        if (slot.place.problem || slot.readFailed) {
            return;
        }
        if (compressed_) {
            slot.error = slot.decoder.Decode(slot.bytes);
            if (slot.error) {
                return;
            }
        }
        const ByteView text = slot.Text(compressed_);
        if (binaryMode_) {
            slot.lineFeeds = CountLineFeeds(text);
            return;
        }
        if (slot.expandedRoom < ExpandedSizeLimit(text.size())) {
            slot.expandedRoom = ExpandedSizeLimit(text.size());
            slot.expanded.reset(new std::uint8_t[slot.expandedRoom]);
        }
        bool noCrBefore = false;
        const ExpandedText expanded = ExpandLineEnds(text, noCrBefore, slot.expanded.get());
        slot.expandedSize = expanded.size;
        slot.lineFeeds = expanded.lineFeeds;
    }
    const Slot& At(std::size_t i) const { return slots_[i]; }

  private:
    std::vector<Slot> slots_;
    Bytes records_;  ///< the bytes of the records read, back to back
    bool compressed_;
    bool binaryMode_;
    std::size_t count_ = 0;
    bool stopped_ = false;
};

/// One record's text as it is written: with CR LF line ends, an LF that follows the CR ending
/// the record before excepted.
ByteView TextToWrite(const RecordBatch::Slot& slot, ByteView text, bool binaryMode,
                     bool& previousWasCr) {
    if (binaryMode) {
        return text;
    }
    const std::size_t skip = previousWasCr && !text.empty() && text.front() == '\n' ? 1 : 0;
    if (!text.empty()) {
        previousWasCr = text.back() == '\r';
    }
    return ByteView(slot.expanded.get() + skip, slot.expandedSize - skip);
}

/// The text records in list order (`front` holds the header and the record list); false,
/// after logging why, when one cannot be read or decoded. A failed write only ends the loop early:
/// the sink's Commit reports it.
bool ReadTextRecords(LogLines& log, DocSource& source, const DocLayout& layout, ByteView front,
                     std::uint16_t compression, std::size_t n, TextSink& out,
                     const ConversionOptions& options, TextTally& tally, BookmarkPlacer& placer) {
    const RecordPlaces places(layout, front, source.Size());
    std::size_t previousOffset = places.FirstOffset();
    bool previousWasCr = false;
    const bool compressed = compression != kCompressionPlain;
    // The batches outlive the workers' jobs on them.
    const unsigned threads = RecordWorkers::ThreadCount(options.threads);
    std::array<RecordBatch, 2> batches{
        RecordBatch(kRecordsPerThread * threads, compressed, options.binaryMode),
        RecordBatch(kRecordsPerThread * threads, compressed, options.binaryMode)};
    RecordWorkers workers(threads);
    TextPieces pieces(out);
    LineMaker lines(log);
    enum class Turn { Done, Failed, WriteFailed };
    // Logs the decoded records of `batch` from text record `first` on and writes their text.
    const auto takeTurn = [&](const RecordBatch& batch, std::size_t first, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t k = first + i;
            const RecordBatch::Slot& slot = batch.At(i);
            lines.Line("Rec ", k, ": pos = ", slot.place.offset);
            if (slot.place.problem) {
                LogProblem(log, *slot.place.problem);
                return Turn::Failed;
            }
            lines.Line("       dwRecLen = ", slot.place.end - slot.place.offset);
            lines.Line("       ", slot.bytes.size(), " bytes read");
            if (slot.readFailed) {
                LogProblem(log, "problem reading source file");
                return Turn::Failed;
            }
            if (slot.error) {
                LogProblem(log, "bad record " + to_string(k) + ": " + slot.error->Describe());
                return Turn::Failed;
            }
            const ByteView text = slot.Text(compressed);
            tally.Add(text.size(), slot.lineFeeds);
            placer.Follow(text);
            pieces.Add(TextToWrite(slot, text, options.binaryMode, previousWasCr));
            lines.Line("reconverting ", layout.name, ": record ", k, " of ", n);
        }
        // Before the batch is read again, over the text of its records.
        pieces.Flush();
        return pieces.Writing() ? Turn::Done : Turn::WriteFailed;
    };
    // One batch is decoded while the other takes its turn and is then read full again.
    std::size_t first = 1;
    std::size_t count = batches[0].Read(source, places, first, n, previousOffset);
    std::size_t waitingFirst = 0;
    std::size_t waitingCount = 0;  ///< decoded records of the other batch awaiting their turn
    for (std::size_t current = 0;; current ^= 1) {
        RecordBatch& now = batches[current];
        RecordBatch& other = batches[current ^ 1];
        const std::function<void(std::size_t)> decode = [&now](std::size_t i) { now.Decode(i); };
        workers.Start(count, decode);
        const Turn turn = waitingCount > 0 ? takeTurn(other, waitingFirst, waitingCount)
                                           : Turn::Done;
        const std::size_t next = first + count;
        const std::size_t nextCount = turn != Turn::Done || count == 0 || now.Stopped() || next > n
                                          ? 0
                                          : other.Read(source, places, next, n, previousOffset);
        workers.Finish();
        // Between batches no job runs: a cancel leaves nothing behind but the batches.
        ReportProgress(options.progress, previousOffset, source.Size());
        if (turn == Turn::Failed) {
            return false;
        }
        if (turn == Turn::WriteFailed || count == 0) {
            break;  // the sink's Commit reports a failed write
        }
        waitingFirst = first;
        waitingCount = count;
        first = next;
        count = nextCount;
    }
    return true;
}

}  // namespace

bool TextSink::WritePieces(std::span<const ByteView> pieces) {
    return std::all_of(pieces.begin(), pieces.end(),
                       [this](ByteView piece) { return Write(piece); });
}

bool TextFileSink::WritePieces(std::span<const ByteView> pieces) {
    pieces_.clear();
    for (const ByteView piece : pieces) {
        pieces_.emplace_back(reinterpret_cast<const char*>(piece.data()), piece.size());
    }
    return file_->Write(pieces_);
}

bool ReadDocText(LogLines& log, DocSource& source, TextSink& out, std::string& docName,
                 const ConversionOptions& options, DocTextFindings* findings) {
    const std::size_t fileSize = source.Size();
    const ByteView header = source.Read(0, kDatabaseHeaderSize);
    if (source.Failed()) {
        LogProblem(log, "problem reading source file");
        return false;
    }
    const auto layout = ReadDatabaseHeader(header);
    if (!layout) {
        LogProblem(log, "file is shorter than its header: " + to_string(fileSize) + " bytes");
        return false;
    }
    const bool declaresCrLfLength = ReadUInt32(header, kCreationDateOffset) == kFixedDate &&
                                    ReadUInt32(header, kModificationDateOffset) == kFixedDate;
    log.Line("file pos = " + to_string(kDatabaseHeaderSize));
    log.Line("Name = " + layout->name);
    log.Line("Creator = " + FourCharText(layout->creator));
    log.Line("Type = " + FourCharText(layout->type));
    if (!IsDocFormat(*layout)) {
        LogProblem(log, ".prc file is not the correct format");
        return false;
    }
    docName.clear();

    if (const auto problem = RecordListProblem(fileSize, *layout)) {
        LogProblem(log, *problem);
        return false;
    }
    const std::size_t listEnd = RecordListEnd(layout->recordCount);
    const ByteView frontBytes = source.Read(0, listEnd);
    if (ReadFailed(log, source, frontBytes, listEnd)) {
        return false;
    }
    const Bytes front(frontBytes.begin(), frontBytes.end());  // the header and the record list
    const std::uint32_t record0 = RecordOffset(front, 0);
    log.Line("Record0 pos = " + to_string(record0));
    if (const auto problem = RecordZeroProblem(fileSize, *layout, record0)) {
        LogProblem(log, *problem);
        return false;
    }
    const ByteView docHeader = source.Read(record0, kDocHeaderRecordSize);
    if (ReadFailed(log, source, docHeader, kDocHeaderRecordSize)) {
        return false;
    }
    const std::uint16_t compression = ReadUInt16(docHeader, kCompressionOffset);
    const std::uint16_t storedTextRecords = ReadUInt16(docHeader, kStoredTextRecordsOffset);
    const std::uint32_t declaredLength = ReadUInt32(docHeader, kTextLengthOffset);
    log.Line("bCompressed = " + to_string(compression));
    log.Line("Next file pos = " + to_string(record0 + kDocHeaderRecordSize));
    if (compression != kCompressionPlain && compression != kCompressionCompressed) {
        log.Line("WARNING: unknown file compression type: " + to_string(compression));
    }

    if (!out.Open()) {
        LogProblem(log, "problem opening output file " + out.Name());
        return false;
    }
    const std::size_t n = TextRecordCount(layout->recordCount, storedTextRecords);
    log.EmptyLine();
    log.Line("opened dest file: " + out.Name());
    log.EmptyLine();
    log.Line("dwLen = " + to_string(fileSize));
    log.Line("nRecs = " + to_string(n));
    LogSkippedRecords(log, layout->recordCount, n);

    BookmarkPlacer placer(findings != nullptr ? ReadStoredBookmarks(source)
                                              : std::vector<TStoredBookmark>{});
    TextTally tally;
    if (!ReadTextRecords(log, source, *layout, front, compression, n, out, options, tally,
                         placer)) {
        return false;
    }
    if (!out.Commit()) {
        LogProblem(log, "problem writing output file " + out.Name());
        return false;
    }
    const bool cutShort = EndsBeforeDeclaredLength(tally, declaredLength, declaresCrLfLength);
    if (cutShort) {
        log.Line("WARNING: the text ends before the length record 0 declares (" +
                 to_string(tally.bytes) + " of " + to_string(declaredLength) +
                 " bytes decoded): the file may be cut short");
    }
    if (findings != nullptr) {
        findings->bookmarks = placer.Places();
        findings->cutShort = cutShort;
    }
    docName = layout->name;
    return true;
}

bool ReadDocFile(LogLines& log, const std::string& path, TextSink& out, std::string& docName,
                 const ConversionOptions& options, DocTextFindings* findings) {
    FileDocSource file(path);
    if (!file.IsOpen()) {
        LogProblem(log, "problem opening source file: " + path);
        return false;
    }
    log.EmptyLine();
    log.Line("opened source file: " + path);
    try {
        return ReadDocText(log, file, out, docName, options, findings);
    } catch (const EWorkCancelled&) {
        LogProblem(log, "conversion cancelled");
        throw;
    }
}

}  // namespace tomery::doc
