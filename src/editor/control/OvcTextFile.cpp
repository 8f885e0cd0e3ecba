#include "OvcTextFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace tomery::editor {

namespace {

constexpr char kEndOfText = 26;

}  // namespace

EInOutError::EInOutError(int errorCode)
    : std::runtime_error(InOutErrorMessage(errorCode)), errorCode_(errorCode) {}

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

TTextFileReader::TTextFileReader(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        throw EInOutError(errno);
    }
}

TTextFileReader::~TTextFileReader() {
    ::close(fd_);
}

bool TTextFileReader::fill() {
    if (atEnd_) {
        return false;
    }
    ssize_t got;
    do {
        got = ::read(fd_, buffer_.data(), buffer_.size());
    } while (got < 0 && errno == EINTR);
    if (got < 0) {
        throw EInOutError(errno);
    }
    begin_ = 0;
    end_ = static_cast<std::size_t>(got);
    atEnd_ = got == 0;
    return got > 0;
}

bool TTextFileReader::ReadLine(std::string& line) {
    line.clear();
    bool any = false;
    for (;;) {
        if (begin_ == end_ && !fill()) {
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
        const char* p = start;
        while (p != stop && *p != '\r' && *p != kEndOfText) {
            ++p;
        }
        line.append(start, p);
        any = true;
        if (p == stop) {
            begin_ = end_;
            continue;
        }
        if (*p == kEndOfText) {
            begin_ = end_;
            atEnd_ = true;
            return !line.empty();
        }
        begin_ = static_cast<std::size_t>(p - buffer_.data()) + 1;
        skipLineFeed_ = true;
        return true;
    }
}

TTextFileWriter::TTextFileWriter(const std::string& path) : file_(path) {
    if (!file_.IsOpen()) {
        throw EInOutError(file_.Error());
    }
}

void TTextFileWriter::flush() {
    if (used_ > 0 && !file_.Write(buffer_.data(), used_)) {
        throw EInOutError(file_.Error());
    }
    used_ = 0;
}

void TTextFileWriter::Write(std::string_view bytes) {
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
    if (!file_.Commit()) {
        throw EInOutError(file_.Error());
    }
}

}  // namespace tomery::editor
