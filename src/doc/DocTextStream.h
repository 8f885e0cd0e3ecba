// A DOC file's text handed on as it is decoded: the conversion into its text file runs on a
// thread of its own, and a reader takes the text piece by piece meanwhile, instead of reading
// the whole text file back once it is written.
#pragma once

#include "Conversion.h"
#include "ConversionLog.h"
#include "DocFormat.h"

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace tomery::doc {

/// Raised to the reader of a DocTextStream whose conversion failed (its log says why).
class EDocConversionFailed : public std::runtime_error {
  public:
    EDocConversionFailed() : std::runtime_error("The DOC conversion failed") {}
};

class DocTextStream {
  public:
    /// Starts converting the DOC file `source` into the text file `output` as
    /// ConvertDocToText does, with the same log. The output is a scratch copy of the DOC
    /// file: it replaces the old one without waiting for the disk.
    DocTextStream(const std::string& source, const std::string& output,
                  const ConversionOptions& options);
    /// Stops a conversion whose text was not read to its end, which leaves the output as it
    /// was, and waits for it.
    ~DocTextStream();
    DocTextStream(const DocTextStream&) = delete;
    DocTextStream& operator=(const DocTextStream&) = delete;

    /// Up to `capacity` bytes of the text that follow those read, waiting for them; 0 once
    /// the whole text was read and the output written. Raises EDocConversionFailed when the
    /// conversion failed, or what else stopped it.
    std::size_t Read(char* dest, std::size_t capacity);
    /// Lets the conversion run to its end without the rest of the text being read; whether
    /// it succeeded. Raises what other than a failed conversion stopped it.
    bool Finish();

    /// Bytes of the DOC file decoded so far, and its size.
    std::uint64_t SourceDone() const { return sourceDone_; }
    std::uint64_t SourceSize() const { return sourceSize_; }

    /// After a successful end: the DOC's name and what else it held.
    const std::string& DocName() const { return docName_; }
    const DocTextFindings& Findings() const { return findings_; }

  private:
    class Sink;
    /// Pieces of text waiting for the reader: enough to keep both sides busy, little memory.
    static constexpr std::size_t kWaitingPieces = 8;

    void Convert(const std::string& source, const std::string& output, ConversionOptions options);
    /// The converting thread's side: queues a copy of `text`, its parts as one piece, waiting
    /// for room.
    void Put(std::span<const ByteView> text);
    /// The converting thread's side before the output replaces the old one: waits until the
    /// reader took the whole text, so that a reader that stops leaves the old output. Raises
    /// EWorkCancelled when it stopped.
    void AwaitReader();

    std::optional<ConversionLog> log_;  ///< made and closed on the caller's thread
    std::string docName_;
    DocTextFindings findings_;
    std::atomic<std::uint64_t> sourceDone_{0};
    std::atomic<std::uint64_t> sourceSize_{0};

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Bytes> waiting_;
    std::vector<Bytes> spare_;  ///< pieces read, whose memory is used again
    bool ended_ = false;
    bool converted_ = false;
    bool stopping_ = false;       ///< the conversion is to stop: nobody wants its text any more
    bool discarding_ = false;     ///< the rest of the text is not read
    bool readerWaiting_ = false;  ///< the reader took every piece and waits for more
    std::exception_ptr failure_;

    Bytes reading_;  ///< the piece being read, from readAt_ on
    std::size_t readAt_ = 0;
    std::thread thread_;
};

}  // namespace tomery::doc
