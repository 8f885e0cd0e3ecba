#include "DocTextStream.h"

#include "DocReader.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <utility>

namespace tomery::doc {

/// Writes the text file and hands each piece to the stream's reader too.
class DocTextStream::Sink final : public TextSink {
  public:
    Sink(DocTextStream& stream, std::string output)
        : stream_(stream), file_(std::move(output), TDurability::Scratch) {}

    bool Open() override { return file_.Open(); }
    const std::string& Name() const override { return file_.Name(); }
    bool Write(ByteView text) override { return WritePieces(std::span(&text, 1)); }
    bool WritePieces(std::span<const ByteView> pieces) override {
        if (!file_.WritePieces(pieces)) {
            return false;
        }
        stream_.Put(pieces);
        return true;
    }
    bool Commit() override {
        stream_.AwaitReader();
        return file_.Commit();
    }

  private:
    DocTextStream& stream_;
    TextFileSink file_;
};

DocTextStream::DocTextStream(const std::string& source, const std::string& output,
                             const ConversionOptions& options) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(source, error);
    sourceSize_ = error ? 0 : size;
    // The log reports its own failures to the user, which only the caller's thread may do.
    log_.emplace();
    if (!log_->IsOpen()) {
        ended_ = true;
        return;
    }
    thread_ = std::thread([this, source, output, options] { Convert(source, output, options); });
}

DocTextStream::~DocTextStream() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void DocTextStream::Convert(const std::string& source, const std::string& output,
                            ConversionOptions options) {
    options.progress = [this](std::uint64_t done, std::uint64_t total) {
        sourceDone_ = done;
        sourceSize_ = total;
        const std::lock_guard lock(mutex_);
        return !stopping_;
    };
    bool converted = false;
    std::exception_ptr failure;
    try {
        Sink sink(*this, output);
        converted = ReadDocFile(*log_, source, sink, docName_, options, &findings_);
    } catch (const EWorkCancelled&) {
        // Nobody reads the text any more.
    } catch (...) {
        failure = std::current_exception();
    }
    {
        const std::lock_guard lock(mutex_);
        ended_ = true;
        converted_ = converted;
        failure_ = failure;
    }
    changed_.notify_all();
}

void DocTextStream::Put(std::span<const ByteView> text) {
    Bytes piece;
    {
        std::unique_lock lock(mutex_);
        changed_.wait(
            lock, [this] { return stopping_ || discarding_ || waiting_.size() < kWaitingPieces; });
        if (stopping_ || discarding_) {
            return;
        }
        if (!spare_.empty()) {
            piece = std::move(spare_.back());
            spare_.pop_back();
        }
    }
    piece.clear();
    for (const ByteView part : text) {
        piece.insert(piece.end(), part.begin(), part.end());
    }
    {
        const std::lock_guard lock(mutex_);
        waiting_.push_back(std::move(piece));
    }
    changed_.notify_all();
}

void DocTextStream::AwaitReader() {
    std::unique_lock lock(mutex_);
    changed_.wait(
        lock, [this] { return stopping_ || discarding_ || (waiting_.empty() && readerWaiting_); });
    if (stopping_) {
        throw EWorkCancelled();
    }
}

std::size_t DocTextStream::Read(char* dest, std::size_t capacity) {
    while (readAt_ == reading_.size()) {
        std::unique_lock lock(mutex_);
        if (reading_.capacity() > 0) {
            reading_.clear();
            spare_.push_back(std::move(reading_));
        }
        reading_ = {};
        readAt_ = 0;
        readerWaiting_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return !waiting_.empty() || ended_; });
        readerWaiting_ = false;
        if (waiting_.empty()) {
            if (failure_) {
                std::rethrow_exception(failure_);
            }
            if (!converted_) {
                throw EDocConversionFailed();
            }
            return 0;
        }
        reading_ = std::move(waiting_.front());
        waiting_.pop_front();
        lock.unlock();
        changed_.notify_all();
    }
    const std::size_t size = std::min(capacity, reading_.size() - readAt_);
    std::memcpy(dest, reading_.data() + readAt_, size);
    readAt_ += size;
    return size;
}

bool DocTextStream::Finish() {
    {
        const std::lock_guard lock(mutex_);
        discarding_ = true;
        waiting_.clear();
    }
    changed_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
    if (failure_) {
        std::rethrow_exception(failure_);
    }
    return converted_;
}

}  // namespace tomery::doc
