// Files in the state folder that must survive a crash whole: a few named fields (the file
// a copy belongs to, its document name ...) and a body (the text or the old contents).
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tomery {

struct TStateFile {
    std::map<std::string, std::string> Fields;
    std::string Body;

    /// The field's value, "" when it is absent.
    std::string Field(const std::string& name) const;
};

/// Writes `file` at `path` whole or not at all: a temporary file, flushed to disk, renamed
/// over `path`, and the rename flushed too. Returns 0 or the system error number.
int WriteStateFile(const std::string& path, const std::map<std::string, std::string>& fields,
                   std::string_view body);

/// The file at `path`; none when it cannot be read or is not a state file.
std::optional<TStateFile> ReadStateFile(const std::string& path);

/// A name for a new state file in `folder` (made when missing): `prefix`, the process number,
/// the time and a counter. `prefix` holds no full stop.
std::string NewStateFileName(const std::string& folder, const std::string& prefix);

/// The paths of the state files in `folder` whose names start with `prefix`, sorted.
std::vector<std::string> StateFiles(const std::string& folder, const std::string& prefix);

}  // namespace tomery
