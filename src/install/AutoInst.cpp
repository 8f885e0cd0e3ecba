#include "AutoInst.h"

#include "Destinations.h"
#include "FileAccess.h"
#include "WinePrefix.h"

#include <sys/stat.h>

#include <filesystem>

namespace tomery::install {

namespace {

constexpr std::size_t kFieldLimit = 31;
constexpr std::size_t kFirstRecord = 13;
constexpr char kCaption[] = "Pictavo";

/// Reads users.dat's fields in order and says what ran short.
class TUsersReader {
  public:
    TUsersReader(std::string_view bytes, std::size_t user, std::size_t count)
        : bytes_(bytes), user_(user), count_(count) {}

    std::size_t at = 0;

    std::uint8_t Byte() {
        Need(1);
        return static_cast<std::uint8_t>(bytes_[at++]);
    }
    std::string Text() {
        const std::size_t length = Byte();
        Need(length);
        std::string text(bytes_.substr(at, std::min(length, kFieldLimit)));
        at += length;
        return text;
    }
    /// Passes over bytes up to and including the end marker 01 80; a 01 takes the byte after
    /// it as its partner whatever that byte is.
    void SkipToEndMarker() {
        while (at < bytes_.size()) {
            if (bytes_[at++] != '\x01') {
                continue;
            }
            if (at < bytes_.size() && bytes_[at++] == '\x80') {
                return;
            }
        }
        throw EUsersFileError("user " + std::to_string(user_ + 1) + " of " +
                              std::to_string(count_) + " has no end marker (01 80)");
    }
    void Need(std::size_t size) const {
        if (bytes_.size() < at || bytes_.size() - at < size) {
            throw EUsersFileError("it ends inside user " + std::to_string(user_ + 1) + " of " +
                                  std::to_string(count_));
        }
    }

  private:
    std::string_view bytes_;
    std::size_t user_;
    std::size_t count_;
};

std::string ReadUsersFile(const std::string& path) {
    const auto bytes = ReadWholeFile(path);
    if (!bytes) {
        std::error_code error;
        throw EUsersFileError(
            "The HotSync users file " + path +
            (std::filesystem::exists(path, error) ? " cannot be read." : " does not exist."));
    }
    return std::string(bytes->begin(), bytes->end());
}

}  // namespace

TUsersFile ParseUsersFile(std::string_view bytes, const std::string& lastUserName) {
    TUsersFile result;
    if (bytes.empty()) {
        throw EUsersFileError("it is empty");
    }
    const std::size_t count = static_cast<std::uint8_t>(bytes[0]);
    std::size_t recordStart = kFirstRecord;
    for (std::size_t i = 0; i < count; ++i) {
        TUsersReader reader(bytes, i, count);
        reader.at = recordStart;
        reader.Need(4);
        THotSyncUser user;
        user.id =
            static_cast<std::uint16_t>(static_cast<std::uint8_t>(bytes[recordStart]) |
                                       static_cast<std::uint8_t>(bytes[recordStart + 1]) << 8);
        reader.at = recordStart + 4;
        user.name = reader.Text();
        user.folder = reader.Text();
        reader.Byte();
        if (user.name == lastUserName) {
            result.defaultIndex = static_cast<std::int32_t>(i);
            result.defaultFound = true;
        }
        result.users.push_back(std::move(user));
        if (i + 1 < count) {
            reader.SkipToEndMarker();
        }
        recordStart = reader.at;
    }
    return result;
}

TUserData::TUserData(TRegistry& registry, TErrorBox errorBox)
    : registry_(registry), errorBox_(std::move(errorBox)) {
    const std::string base = BaseKey();
    if (base.empty()) {
        errorBox_(kCaption, "The PalmPilot Desktop software is not correctly installed.");
        return;
    }
    lastUserName_ = registry_.ReadString(base + "\\Pilot Desktop\\Preferences", "LastUserName", 32)
                        .value_or("");
    const auto path = registry_.ReadString(base + "\\Pilot Desktop\\Core", "Path", 256);
    if (!path) {
        return;
    }
    // Under Wine the path is a Windows one: the users and install folders lie in the prefix.
    hotSyncPath_ = registry_.LocalPath(*path);
    const std::string usersFile = hotSyncPath_ + "/" + ExistingName(hotSyncPath_, "users.dat");
    try {
        TUsersFile read = ParseUsersFile(ReadUsersFile(usersFile), lastUserName_);
        users_ = std::move(read.users);
        defaultIndex_ = read.defaultIndex;
        defaultFound_ = read.defaultFound;
    } catch (const EUsersFileError& error) {
        const std::string what = error.what();
        // Reading errors already name the file; parsing errors say what is wrong in it.
        throw EUsersFileError(what.rfind("The HotSync", 0) == 0
                                  ? what
                                  : "The HotSync users file " + usersFile + " is damaged: " + what +
                                        ".");
    }
}

std::string TUserData::BaseKey() const {
    for (const char* key : {"Software\\U.S. Robotics", "Software\\Palm Computing"}) {
        if (registry_.OpenKey(key)) {
            return key;
        }
    }
    return {};
}

bool TUserData::ValidIndex(std::int32_t index) const {
    return index >= 0 && static_cast<std::size_t>(index) < users_.size();
}

std::uint16_t TUserData::UserId(std::int32_t index) const {
    return ValidIndex(index) ? users_[static_cast<std::size_t>(index)].id : 0;
}

std::string TUserData::UserName(std::int32_t index) const {
    return ValidIndex(index) ? users_[static_cast<std::size_t>(index)].name : std::string();
}

std::string TUserData::UserFolder(std::int32_t index) const {
    return ValidIndex(index) ? users_[static_cast<std::size_t>(index)].folder : std::string();
}

std::string TUserData::InstallFolder(std::int32_t index) const {
    // Folders made by Windows programs may differ in case from what users.dat says.
    const std::string user = hotSyncPath_ + "/" + ExistingName(hotSyncPath_, UserFolder(index));
    return user + "/" + ExistingName(user, "Install");
}

bool TUserData::InstallFile(std::int32_t index, const std::string& path) {
    if (!ValidIndex(index)) {
        return false;
    }
    const std::string folder = InstallFolder(index);
    // Only the last level is made; an existing folder is what we want anyway.
    ::mkdir(folder.c_str(), 0777);
    if (!CopyFileTo(path, folder + "/" + FileNamePart(path)).empty()) {
        return false;
    }
    // Another program may have changed the registry while the user chose: the flag goes
    // into what it holds now.
    if (const std::string problem = registry_.Reread(); !problem.empty()) {
        errorBox_("Error", problem);
    }
    const std::string base = BaseKey();
    if (base.empty()) {
        errorBox_(kCaption, "The Pilot DeskTop Software is not Correctly Installed");
        return false;
    }
    const std::string manager = base + "\\Pilot Desktop\\HotSync Manager";
    if (!registry_.OpenKey(manager)) {
        return false;
    }
    try {
        return registry_.WriteInteger(manager, "Install" + std::to_string(UserId(index)), 1);
    } catch (const ERegistryWriteError& error) {
        errorBox_("Error", std::string(error.what()) +
                               "\nThe file is in the install folder, but the HotSync Manager "
                               "is not told to install it.");
        return false;
    }
}

}  // namespace tomery::install
