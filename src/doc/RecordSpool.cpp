#include "RecordSpool.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace tomery::doc {

namespace {

int OpenUnnamedFile(const std::filesystem::path& folder) {
    return ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
}

}  // namespace

RecordSpool::RecordSpool(const std::string& destination) {
    std::filesystem::path folder = std::filesystem::path(destination).parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    descriptor_ = OpenUnnamedFile(folder);
    if (descriptor_ < 0) {
        std::error_code error;
        const auto temporary = std::filesystem::temp_directory_path(error);
        if (!error) {
            descriptor_ = OpenUnnamedFile(temporary);
        }
    }
    buffer_.reserve(kChunkSize);
}

RecordSpool::~RecordSpool() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
    }
}

bool RecordSpool::WriteBuffer() {
    const std::uint8_t* bytes = buffer_.data();
    std::size_t size = buffer_.size();
    while (size > 0 && !failed_) {
        const ssize_t written = ::write(descriptor_, bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            failed_ = true;
            break;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    buffer_.clear();
    return !failed_;
}

bool RecordSpool::Append(ByteView record) {
    buffer_.insert(buffer_.end(), record.begin(), record.end());
    if (descriptor_ >= 0 && buffer_.size() >= kChunkSize) {
        return WriteBuffer();
    }
    return !failed_;
}

bool RecordSpool::CopyTo(FileReplacement& out) {
    if (descriptor_ < 0) {
        return out.Write(buffer_.data(), buffer_.size());
    }
    if (!WriteBuffer() || ::lseek(descriptor_, 0, SEEK_SET) != 0) {
        return false;
    }
    buffer_.resize(kChunkSize);
    for (;;) {
        const ssize_t got = ::read(descriptor_, buffer_.data(), buffer_.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            return true;
        }
        if (!out.Write(buffer_.data(), static_cast<std::size_t>(got))) {
            return false;
        }
    }
}

}  // namespace tomery::doc
