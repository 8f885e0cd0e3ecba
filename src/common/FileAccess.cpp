#include "FileAccess.h"

#include <cerrno>
#include <climits>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace tomery {

namespace {

/// The bytes from the descriptor's position to the end, `expected` of them read at once: a
/// file that changes while it is read is taken as it reads.
std::optional<std::vector<std::uint8_t>> ReadToEnd(int descriptor, std::size_t expected) {
    std::vector<std::uint8_t> bytes(expected + 1);  // room for one more tells the end at once
    std::size_t size = 0;
    for (;;) {
        if (size == bytes.size()) {
            bytes.resize(size * 2);
        }
        const ssize_t got = ::read(descriptor, bytes.data() + size, bytes.size() - size);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            bytes.resize(size);
            return bytes;
        }
        size += static_cast<std::size_t>(got);
    }
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
    // Without waiting for a writer, should the path name a pipe.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) {
        return std::nullopt;
    }
    struct stat status {};
    std::optional<std::vector<std::uint8_t>> bytes;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode)) {
        bytes = ReadToEnd(descriptor, static_cast<std::size_t>(status.st_size));
    }
    ::close(descriptor);
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

std::size_t TotalSize(std::span<const std::string_view> pieces) {
    std::size_t size = 0;
    for (const std::string_view piece : pieces) {
        size += piece.size();
    }
    return size;
}

bool WriteAllPiecesAt(int descriptor, std::span<const std::string_view> pieces,
                      std::uint64_t offset, int& error) {
    std::vector<iovec> window;
    return TransferAll(TotalSize(pieces), ENOSPC, error, [&](std::size_t done) {
        // The pieces from byte `done` on, as many as one call takes.
        window.clear();
        std::size_t skip = done;
        for (std::string_view piece : pieces) {
            if (skip >= piece.size()) {
                skip -= piece.size();
                continue;
            }
            piece.remove_prefix(skip);
            skip = 0;
            window.push_back({const_cast<char*>(piece.data()), piece.size()});
            if (window.size() == static_cast<std::size_t>(IOV_MAX)) {
                break;
            }
        }
        return ::pwritev(descriptor, window.data(), static_cast<int>(window.size()),
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
