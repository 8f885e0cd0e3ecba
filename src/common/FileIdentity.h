// What a file was when the document last read or wrote it, and whether another program has
// changed, replaced or deleted it since.
#pragma once

#include <sys/types.h>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace tomery {

struct TFileIdentity {
    bool Exists = false;
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = 0;
    timespec Modified{};
    /// The contents' hash, taken only when the file was modified so shortly before it was
    /// identified that a later change could leave the same size and time behind.
    std::optional<std::uint64_t> ContentHash;
};

enum class TDiskChange { None, Changed, Deleted };

/// The file at `path` (links followed) as it is now.
TFileIdentity IdentifyFile(const std::string& path);

/// How the file at `path` differs from `known`. A file that was absent when identified and
/// still is counts as unchanged. When only the contents' hash could tell and it tells nothing
/// changed, `known` is brought up to date so that later checks need not read the file again.
TDiskChange CheckFileOnDisk(TFileIdentity& known, const std::string& path);

}  // namespace tomery
