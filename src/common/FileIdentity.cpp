#include "FileIdentity.h"

#include <array>
#include <functional>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tomery {

namespace {

/// File systems keep modification times in steps as coarse as two seconds (FAT); a file
/// written within that span before it was identified may change again without a new time.
constexpr std::time_t kCoarsestTimeStep = 2;

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

timespec Now() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

bool ModifiedJustBefore(const timespec& modified, const timespec& identified) {
    return modified.tv_sec + kCoarsestTimeStep >= identified.tv_sec;
}

std::optional<std::uint64_t> HashContents(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return std::nullopt;
    }
    std::array<char, 65536> buffer;
    std::uint64_t hash = 14695981039346656037ULL;
    ssize_t length;
    while ((length = ::read(descriptor, buffer.data(), buffer.size())) > 0) {
        hash = (hash ^ std::hash<std::string_view>{}(
                           std::string_view(buffer.data(), static_cast<std::size_t>(length)))) *
               1099511628211ULL;
    }
    ::close(descriptor);
    if (length < 0) {
        return std::nullopt;
    }
    return hash;
}

}  // namespace

TFileIdentity IdentifyFile(const std::string& path) {
    TFileIdentity identity;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return identity;
    }
    identity.Exists = true;
    identity.Device = status.st_dev;
    identity.Inode = status.st_ino;
    identity.Size = status.st_size;
    identity.Modified = status.st_mtim;
    if (ModifiedJustBefore(identity.Modified, Now())) {
        identity.ContentHash = HashContents(path);
    }
    return identity;
}

TDiskChange CheckFileOnDisk(TFileIdentity& known, const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) {
        return known.Exists ? TDiskChange::Deleted : TDiskChange::None;
    }
    if (!known.Exists || status.st_dev != known.Device || status.st_ino != known.Inode ||
        status.st_size != known.Size || !SameTime(status.st_mtim, known.Modified)) {
        return TDiskChange::Changed;
    }
    if (!known.ContentHash) {
        return TDiskChange::None;
    }
    if (HashContents(path) != known.ContentHash) {
        return TDiskChange::Changed;
    }
    if (!ModifiedJustBefore(known.Modified, Now())) {
        // Any later change must now show in the time: no need to read the file again.
        known.ContentHash.reset();
    }
    return TDiskChange::None;
}

}  // namespace tomery
