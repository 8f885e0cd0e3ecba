// The HotSync users of the desktop software and the hand-over of a file to the HotSync
// Manager: the users come from the registry and users.dat; installing copies the file into
// the user's install folder and sets the user's install flag.
#pragma once

#include "Registry.h"

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tomery::install {

/// Shows an error message box with the given caption and text.
using TErrorBox = std::function<void(const std::string& caption, const std::string& text)>;

/// users.dat is missing, unreadable or damaged; the message names the file.
class EUsersFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct THotSyncUser {
    std::uint16_t id = 0;
    std::string name;    ///< at most 31 bytes
    std::string folder;  ///< the user's folder under the HotSync path, at most 31 bytes
};

struct TUsersFile {
    std::vector<THotSyncUser> users;
    std::int32_t defaultIndex = 0;  ///< the last user whose name is `lastUserName`, else 0
    bool defaultFound = false;      ///< some user's name is `lastUserName`
};

/// Reads the users of a users.dat image. Names and folders longer than 31 bytes are cut to
/// 31. Raises EUsersFileError (without the file's name) when the image ends early or a user
/// but the last has no end marker.
TUsersFile ParseUsersFile(std::string_view bytes, const std::string& lastUserName);

class TUserData {
  public:
    /// Reads the registry and users.dat. A missing desktop software is reported through
    /// `errorBox` and gives no users; a missing or damaged users.dat raises EUsersFileError.
    TUserData(TRegistry& registry, TErrorBox errorBox);

    std::uint8_t UserCount() const { return static_cast<std::uint8_t>(users_.size()); }
    std::int32_t DefaultUser() const { return defaultIndex_; }
    /// Whether DefaultUser() is the user of the last HotSync rather than the first by want of one.
    bool HasLastUser() const { return defaultFound_; }
    const std::string& HotSyncPath() const { return hotSyncPath_; }
    /// 0 / "" for an index outside 0 to UserCount() - 1.
    std::uint16_t UserId(std::int32_t index) const;
    std::string UserName(std::int32_t index) const;
    std::string UserFolder(std::int32_t index) const;
    /// Where InstallFile puts the files of a user: <HotSync path>/<user folder>/Install.
    std::string InstallFolder(std::int32_t index) const;

    /// Copies the file into <HotSync path>/<user folder>/Install/ (replacing a file of its
    /// name) and sets the user's install flag in the registry as it is then. True when both
    /// happened. A registry that cannot be read or written is reported through `errorBox`.
    bool InstallFile(std::int32_t index, const std::string& path);

  private:
    /// The desktop software's base key, or "" when it is not installed.
    std::string BaseKey() const;
    bool ValidIndex(std::int32_t index) const;

    TRegistry& registry_;
    TErrorBox errorBox_;
    std::string hotSyncPath_;
    std::string lastUserName_;
    std::vector<THotSyncUser> users_;
    std::int32_t defaultIndex_ = 0;
    bool defaultFound_ = false;
};

}  // namespace tomery::install
