#include "FileReplacement.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace tomery {

namespace {

mode_t NewFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

FileReplacement::FileReplacement(const std::string& destination) : target_(destination) {
    std::error_code error;
    if (fs::is_symlink(fs::symlink_status(target_, error))) {
        const fs::path resolved = fs::weakly_canonical(target_, error);
        if (error) {
            error_ = error.value();
            return;
        }
        target_ = resolved.string();
    }
    mode_t mode = NewFileMode();
    struct stat existing {};
    if (::stat(target_.c_str(), &existing) == 0) {
        if (!S_ISREG(existing.st_mode)) {
            error_ = EISDIR;
            return;
        }
        if ((existing.st_mode & S_IWUSR) == 0) {
            error_ = EACCES;
            return;
        }
        mode = existing.st_mode & 07777;
    }
    fs::path folder = fs::path(target_).parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    // A hidden name beside the destination; mkstemp fills in the Xs.
    std::string hiddenName = ".";
    hiddenName += fs::path(target_).filename().string();
    hiddenName += ".XXXXXX";
    const std::string pattern = (folder / hiddenName).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    descriptor_ = ::mkstemp(name.data());
    if (descriptor_ < 0) {
        error_ = errno;
        return;
    }
    temporary_ = name.data();
    if (::fchmod(descriptor_, mode) != 0) {
        error_ = errno;
        Discard();
    }
}

FileReplacement::~FileReplacement() {
    Discard();
}

bool FileReplacement::Write(const void* data, std::size_t size) {
    if (!IsOpen() || failed_) {
        return false;
    }
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::write(descriptor_, bytes, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            error_ = written < 0 ? errno : ENOSPC;
            failed_ = true;
            return false;
        }
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

bool FileReplacement::Commit() {
    if (!IsOpen() || failed_) {
        Discard();
        return false;
    }
    const bool flushed = ::fsync(descriptor_) == 0;
    if (!flushed) {
        error_ = errno;
    }
    const bool closed = ::close(descriptor_) == 0;
    if (flushed && !closed) {
        error_ = errno;
    }
    descriptor_ = -1;
    if (!flushed || !closed) {
        Discard();
        return false;
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        error_ = errno;
        Discard();
        return false;
    }
    temporary_.clear();
    return true;
}

void FileReplacement::Discard() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

}  // namespace tomery
