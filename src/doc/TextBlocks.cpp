#include "TextBlocks.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tomery::doc {

TextBlocks::TextBlocks(const std::string& path) : buffer_(kBufferSize) {
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor_ < 0) {
        return;
    }
    struct stat status {};
    if (::fstat(descriptor_, &status) != 0 || S_ISDIR(status.st_mode)) {
        ::close(descriptor_);
        descriptor_ = -1;
        return;
    }
    measuredSize_ = static_cast<std::size_t>(status.st_size);
    ::posix_fadvise(descriptor_, 0, 0, POSIX_FADV_SEQUENTIAL);
}

TextBlocks::~TextBlocks() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

void TextBlocks::Refill() {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
    while (!atEnd_ && end_ < buffer_.size()) {
        const ssize_t got = ::read(descriptor_, buffer_.data() + end_, buffer_.size() - end_);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            failed_ = true;
        }
        if (got <= 0) {
            atEnd_ = true;
            break;
        }
        end_ += static_cast<std::size_t>(got);
    }
}

ByteView TextBlocks::Next() {
    if (!atEnd_ && end_ - begin_ <= kTextRecordSize) {
        Refill();
    }
    if (failed_) {
        return {};
    }
    const std::size_t length = std::min(kTextRecordSize, end_ - begin_);
    const ByteView block(buffer_.data() + begin_, length);
    begin_ += length;
    bytesRead_ += length;
    return block;
}

std::optional<std::uint8_t> TextBlocks::FollowingByte() const {
    if (begin_ < end_) {
        return buffer_[begin_];
    }
    return std::nullopt;
}

}  // namespace tomery::doc
