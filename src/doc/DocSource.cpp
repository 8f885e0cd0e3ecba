#include "DocSource.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tomery::doc {

std::size_t DocSource::ReadInto(std::size_t offset, std::span<std::uint8_t> into) {
    const ByteView bytes = Read(offset, into.size());
    std::copy(bytes.begin(), bytes.end(), into.begin());
    return bytes.size();
}

ByteView MemoryDocSource::Read(std::size_t offset, std::size_t length) {
    if (offset >= image_.size()) {
        return {};
    }
    return image_.subspan(offset, std::min(length, image_.size() - offset));
}

FileDocSource::FileDocSource(const std::string& path) {
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor_ < 0) {
        return;
    }
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(descriptor_);
        descriptor_ = -1;
        return;
    }
    size_ = static_cast<std::size_t>(status.st_size);
    // Tell the system the file is read front to back once, so it reads ahead generously.
    ::posix_fadvise(descriptor_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

FileDocSource::~FileDocSource() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

ByteView FileDocSource::Read(std::size_t offset, std::size_t length) {
    if (offset >= windowOffset_ && offset + length <= windowOffset_ + windowLength_) {
        return ByteView(window_.data() + (offset - windowOffset_), length);
    }
    // A new window starts at the bytes asked for; one record larger than the window gets a
    // window of its own size.
    const std::size_t wanted = std::max(length, kWindowSize);
    if (window_.size() < wanted) {
        window_.resize(wanted);
    }
    windowOffset_ = offset;
    windowLength_ = ReadInto(offset, std::span(window_.data(), wanted));
    return ByteView(window_.data(), std::min(length, windowLength_));
}

std::size_t FileDocSource::ReadInto(std::size_t offset, std::span<std::uint8_t> into) {
    std::size_t done = 0;
    while (done < into.size()) {
        const ssize_t got = ::pread(descriptor_, into.data() + done, into.size() - done,
                                    static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            failed_ = true;
        }
        if (got <= 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

}  // namespace tomery::doc
