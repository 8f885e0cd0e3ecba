#include "OvcTextFile.h"

#include "TextConversion.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tomery::editor {

namespace {

/// The old end-of-file mark, dropped when it is the very last byte of a file.
constexpr char kEndOfFileMark = 26;

}  // namespace

EInOutError::EInOutError(int errorCode)
    : std::runtime_error(InOutErrorMessage(errorCode)), errorCode_(errorCode) {}

EInOutError::EInOutError(int errorCode, const std::string& message)
    : std::runtime_error(message), errorCode_(errorCode) {}

std::string InOutErrorMessage(int errorCode) {
    switch (errorCode) {
        case ENOENT:
        case ENOTDIR:
            return "File not found";
        case ENAMETOOLONG:
        case EINVAL:
        case ELOOP:
            return "Invalid filename";
        case EMFILE:
        case ENFILE:
            return "Too many open files";
        case EACCES:
        case EPERM:
        case EROFS:
        case EISDIR:
        case ETXTBSY:
            return "File access denied";
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return "Disk full";
        default:
            return "I/O error " + std::to_string(errorCode);
    }
}

std::string NormalizeFileName(std::string name) {
    if (name.size() >= 2 && name.back() == '.') {
        name.pop_back();
    }
    return name;
}

std::string BackupFileName(const std::string& name, std::string_view extension) {
    const std::size_t slash = name.find_last_of('/');
    const std::size_t dot = name.find_last_of('.');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    std::string backup = hasExtension ? name.substr(0, dot) : name;
    backup += '.';
    backup += extension;
    return backup;
}

std::string_view LineBreakBytes(TLineBreak lineBreak) {
    return lineBreak == TLineBreak::Lf ? "\n" : "\r\n";
}

TTextFileReader::TTextFileReader(const std::string& path, const charset::TCharacterSet& set,
                                 std::optional<charset::TFileEncoding> forced,
                                 TWorkProgress progress)
    : set_(&set), progress_(std::move(progress)) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        throw EInOutError(errno);
    }
    try {
        struct stat status {};
        if (::fstat(fd_, &status) == 0) {
            readingTotal_ = 2 * static_cast<std::uint64_t>(status.st_size);
        }
        learn(forced);
    } catch (...) {
        ::close(fd_);
        throw;
    }
}

TTextFileReader::TTextFileReader(TInMemoryText text, const charset::TCharacterSet& set,
                                 std::optional<charset::TFileEncoding> forced)
    : set_(&set), memory_(text.Bytes), wholeMemory_(text.Bytes) {
    learn(forced);
}

TTextFileReader::TTextFileReader(TTextStream& stream, const charset::TCharacterSet& set,
                                 TWorkProgress progress)
    : set_(&set), stream_(&stream), progress_(std::move(progress)) {}

TTextFileReader::~TTextFileReader() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

void TTextFileReader::reportRead(std::size_t got) {
    bytesRead_ += got;
    if (!progress_ || !reportStep_.Due(bytesRead_)) {
        return;
    }
    if (stream_ != nullptr) {
        ReportProgress(progress_, stream_->WorkDone(), stream_->WorkTotal());
    } else {
        ReportProgress(progress_, bytesRead_, readingTotal_);
    }
}

std::size_t TTextFileReader::readSource(char* dest, std::size_t capacity) {
    if (stream_ != nullptr) {
        const std::size_t got = stream_->Read(dest, capacity);
        reportRead(got);
        return got;
    }
    if (fd_ < 0) {
        const std::size_t take = std::min(capacity, memory_.size());
        std::memcpy(dest, memory_.data(), take);
        memory_.remove_prefix(take);
        return take;
    }
    ssize_t got;
    do {
        got = ::read(fd_, dest, capacity);
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        throw EInOutError(errno);
    }
    reportRead(static_cast<std::size_t>(got));
    return static_cast<std::size_t>(got);
}

void TTextFileReader::rewind() {
    if (fd_ < 0) {
        memory_ = wholeMemory_.substr(start_);
    } else if (::lseek(fd_, static_cast<off_t>(start_), SEEK_SET) != static_cast<off_t>(start_)) {
        throw EInOutError(errno);
    }
}

TTextFileReader::TSurvey TTextFileReader::survey() {
    TSurvey found;
    charset::TEncodingSniffer sniffer;
    while (const std::size_t got = readSource(buffer_.data(), buffer_.size())) {
        const std::string_view chunk(buffer_.data(), got);
        sniffer.Feed(chunk);
        found.AnyCr = found.AnyCr || chunk.find('\r') != std::string_view::npos;
        found.AnyLf = found.AnyLf || chunk.find('\n') != std::string_view::npos;
        found.Last = chunk.back();
        found.Size += got;
    }
    found.Sniffed = sniffer.Result();
    return found;
}

void TTextFileReader::convertUtf16() {
    rewind();
    std::string utf16;
    while (const std::size_t got = readSource(buffer_.data(), buffer_.size())) {
        utf16.append(buffer_.data(), got);
    }
    utf8_ = charset::Utf16ToUtf8(utf16, encoding_ == charset::TFileEncoding::Utf16Be);
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    memory_ = wholeMemory_ = utf8_;
    start_ = 0;
}

void TTextFileReader::learn(std::optional<charset::TFileEncoding> forced) {
    TSurvey found = survey();
    const charset::TReadingEncoding reading = charset::ReadingEncoding(found.Sniffed, forced);
    encoding_ = reading.Encoding;
    start_ = reading.MarkLength;
    if (charset::IsUtf16(encoding_)) {
        // CR and LF bytes stand inside other UTF-16 characters too: the line ends are those
        // of the converted text.
        convertUtf16();
        found = survey();
    }
    // Whether the file ends its lines with LF alone can only be told once all of it is seen:
    // a single CR anywhere makes it a file of the text-file rules.
    lineBreak_ = found.AnyLf && !found.AnyCr ? TLineBreak::Lf : TLineBreak::CrLf;
    const std::uint64_t size = found.Size - start_;
    textLeft_ = size > 0 && found.Last == kEndOfFileMark ? size - 1 : size;
    rewind();
}

bool TTextFileReader::fillFromStream() {
    std::size_t used = 0;
    if (heldByte_) {
        buffer_[used++] = *heldByte_;
        heldByte_.reset();
    }
    for (;;) {
        const std::size_t got = readSource(buffer_.data() + used, buffer_.size() - used);
        used += got;
        if (got == 0) {
            if (used > 0 && buffer_[used - 1] == kEndOfFileMark) {
                --used;
            }
            break;
        }
        if (used >= 2) {
            heldByte_ = buffer_[--used];
            break;
        }
    }
    end_ = used;
    return used > 0;
}

bool TTextFileReader::fill() {
    begin_ = end_ = 0;
    if (stream_ != nullptr) {
        return fillFromStream();
    }
    if (textLeft_ == 0) {
        return false;
    }
    const std::size_t want =
        static_cast<std::size_t>(std::min<std::uint64_t>(textLeft_, buffer_.size()));
    const std::size_t got = readSource(buffer_.data(), want);
    // A file that shrank since the survey simply ends sooner.
    textLeft_ = got == 0 ? 0 : textLeft_ - got;
    end_ = got;
    return got > 0;
}

bool TTextFileReader::ReadLine(std::string& line) {
    std::string_view read;
    if (!nextLine(read)) {
        return false;
    }
    ++lineNumber_;
    if (encoding_ == charset::TFileEncoding::Bytes) {
        line.assign(read);
    } else {
        line.clear();
        set_->AppendFromUtf8(read, line, &replacements_, lineNumber_);
    }
    return true;
}

bool TTextFileReader::nextLine(std::string_view& line) {
    spill_.clear();
    const char lineEnd = lineBreak_ == TLineBreak::Lf ? '\n' : '\r';
    bool any = false;
    for (;;) {
        if (begin_ == end_ && !fill()) {
            line = spill_;
            return any;
        }
        if (skipLineFeed_) {
            skipLineFeed_ = false;
            if (buffer_[begin_] == '\n') {
                ++begin_;
                continue;
            }
        }
        const char* const start = buffer_.data() + begin_;
        const char* const stop = buffer_.data() + end_;
        const char* const found = static_cast<const char*>(
            std::memchr(start, lineEnd, static_cast<std::size_t>(stop - start)));
        const char* const p = found != nullptr ? found : stop;
        any = true;
        if (p == stop) {
            spill_.append(start, p);
            begin_ = end_;
            continue;
        }
        begin_ = static_cast<std::size_t>(p - buffer_.data()) + 1;
        skipLineFeed_ = lineBreak_ == TLineBreak::CrLf;
        if (spill_.empty()) {
            line = std::string_view(start, static_cast<std::size_t>(p - start));
        } else {
            spill_.append(start, p);
            line = spill_;
        }
        return true;
    }
}

TTextFileWriter::TTextFileWriter(const std::string& path, const charset::TCharacterSet& set,
                                 charset::TFileEncoding encoding)
    : file_(std::in_place, path), set_(&set), encoding_(encoding) {
    if (!file_->IsOpen()) {
        throw EInOutError(file_->Error());
    }
    writeFileBytes(charset::ByteOrderMark(encoding));
}

TTextFileWriter::TTextFileWriter(std::string& memory, const charset::TCharacterSet& set,
                                 charset::TFileEncoding encoding)
    : memory_(&memory), set_(&set), encoding_(encoding) {
    writeFileBytes(charset::ByteOrderMark(encoding));
}

void TTextFileWriter::flush() {
    if (memory_ != nullptr) {
        memory_->append(buffer_.data(), used_);
    } else if (used_ > 0 && !file_->Write(buffer_.data(), used_)) {
        throw EInOutError(file_->Error());
    }
    used_ = 0;
}

void TTextFileWriter::Write(std::string_view bytes) {
    if (encoding_ == charset::TFileEncoding::Bytes) {
        writeFileBytes(bytes);
        return;
    }
    encoded_.clear();
    charset::AppendEncodedText(bytes, *set_, encoding_, encoded_);
    writeFileBytes(encoded_);
}

void TTextFileWriter::writeFileBytes(std::string_view bytes) {
    while (!bytes.empty()) {
        if (used_ == buffer_.size()) {
            flush();
        }
        const std::size_t take = std::min(bytes.size(), buffer_.size() - used_);
        std::memcpy(buffer_.data() + used_, bytes.data(), take);
        used_ += take;
        bytes.remove_prefix(take);
    }
}

void TTextFileWriter::Close() {
    flush();
    if (memory_ != nullptr || file_->Commit()) {
        return;
    }
    if (file_->RefusedWithoutCopy()) {
        throw EInOutError(file_->Error(), file_->ErrorText());
    }
    throw EInOutError(file_->Error());
}

}  // namespace tomery::editor
