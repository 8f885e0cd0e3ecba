#include "FileAccess.h"

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace tomery {

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

namespace {

/// Runs `transfer(done)`, which moves bytes from `done` on and returns how many it moved, until
/// `size` bytes are moved, going on after interruptions. `emptyError` is the error when a
/// call moves nothing.
template <typename Transfer>
bool TransferAll(std::size_t size, int emptyError, int& error, Transfer transfer) {
    for (std::size_t done = 0; done < size;) {
        const ssize_t moved = transfer(done);
        if (moved < 0 && errno == EINTR) {
            continue;
        }
        if (moved <= 0) {
            error = moved < 0 ? errno : emptyError;
            return false;
        }
        done += static_cast<std::size_t>(moved);
    }
    return true;
}

}  // namespace

bool WriteAllBytes(int descriptor, std::string_view bytes, int& error) {
    return TransferAll(bytes.size(), ENOSPC, error, [&](std::size_t done) {
        return ::write(descriptor, bytes.data() + done, bytes.size() - done);
    });
}

bool WriteAllBytesAt(int descriptor, std::string_view bytes, std::uint64_t offset, int& error) {
    return TransferAll(bytes.size(), ENOSPC, error, [&](std::size_t done) {
        return ::pwrite(descriptor, bytes.data() + done, bytes.size() - done,
                        static_cast<off_t>(offset + done));
    });
}

bool ReadAllBytesAt(int descriptor, void* data, std::size_t size, std::uint64_t offset,
                    int& error) {
    return TransferAll(size, EIO, error, [&](std::size_t done) {
        return ::pread(descriptor, static_cast<char*>(data) + done, size - done,
                       static_cast<off_t>(offset + done));
    });
}

std::string FolderOfPath(const std::string& path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

void SyncFolder(const std::string& folder) {
    const int descriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
}

}  // namespace tomery
