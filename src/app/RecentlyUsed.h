// The desktop's list of recently used files (recently-used.xbel, shared by every program of
// the session): each file the editor opens is noted there, and every other entry is kept.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tomery::app {

/// One use of a file, as the list records it.
struct TRecentUse {
    std::string path;      ///< the file's bytes
    std::string mimeType;  ///< e.g. "text/plain"
    std::string time;      ///< ISO 8601 in UTC, e.g. "2026-12-09T00:42:17Z"
};

/// The "file://" URI of a path, percent-encoded byte by byte as other programs write it.
std::string FileUri(std::string_view path);

/// `list` (the file's bytes, empty when there is none yet) with `use` noted: a new entry for a
/// file not listed yet; for a listed one its times and this program's count. Every byte of
/// the other entries stays as it was. Nothing when `list` is not a list this can change
/// without harm (damaged XML, not UTF-8, not a bookmark list): it is then left alone.
std::optional<std::string> NoteRecentUse(std::string_view list, const TRecentUse& use);

/// "recently-used.xbel" in XDG_DATA_HOME when that is an absolute path, else in the home
/// folder's ".local/share".
std::string RecentlyUsedPath();

/// Notes that `path` was opened now. The list is replaced whole or not at all; a damaged or
/// unreadable list, or one that cannot be written, stays as it was and nobody is bothered.
void AddToRecentlyUsed(const std::string& path);

}  // namespace tomery::app
