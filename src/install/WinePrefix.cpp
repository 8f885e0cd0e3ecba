#include "WinePrefix.h"

#include "TextCase.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

namespace tomery::install {

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

/// Whether some process holds a lock on the file; false when there is no such file.
bool LockHeld(const std::string& path) {
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return false;
    }
    struct flock probe {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    const bool held = ::fcntl(descriptor, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    ::close(descriptor);
    return held;
}

std::string Hex(unsigned long long value) {
    std::ostringstream text;
    text << std::hex << value;
    return text.str();
}

}  // namespace

std::string DefaultWinePrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix != nullptr && *prefix != '\0') {
        return prefix;
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : "") + "/.wine";
}

bool IsWindowsPath(const std::string& path) {
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) != 0 &&
           path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}

std::string ExistingName(const std::string& folder, const std::string& name) {
    if (Exists(folder + "/" + name)) {
        return name;
    }
    DIR* entries = ::opendir(folder.c_str());
    if (entries == nullptr) {
        return name;
    }
    std::string found = name;
    const std::string wanted = AsciiLowered(name);
    while (const dirent* entry = ::readdir(entries)) {
        if (AsciiLowered(entry->d_name) == wanted) {
            found = entry->d_name;
            break;
        }
    }
    ::closedir(entries);
    return found;
}

std::optional<std::string> WindowsPathInPrefix(const std::string& prefix, const std::string& path) {
    if (!IsWindowsPath(path)) {
        return std::nullopt;
    }
    const std::string drive = AsciiLowered(path.substr(0, 2));
    std::string local = prefix + "/dosdevices/" + drive;
    if (!Exists(local)) {
        if (drive != "c:" || !Exists(prefix + "/drive_c")) {
            return std::nullopt;
        }
        local = prefix + "/drive_c";
    }
    std::string rest = path.substr(3);
    std::replace(rest.begin(), rest.end(), '/', '\\');
    std::istringstream levels(rest);
    for (std::string level; std::getline(levels, level, '\\');) {
        if (!level.empty()) {
            local += "/" + ExistingName(local, level);
        }
    }
    return local;
}

std::string WineServerRoot() {
    return "/tmp/.wine-" + std::to_string(::getuid());
}

bool WineServerRuns(const std::string& prefix, const std::string& root) {
    struct stat info {};
    if (::stat(prefix.c_str(), &info) != 0) {
        return false;
    }
    const std::string server = root + "/server-" + Hex(info.st_dev) + "-" + Hex(info.st_ino);
    if (!Exists(server + "/socket")) {
        return false;
    }
    // Without a lock file to ask, a socket is taken at its word.
    return !Exists(server + "/lock") || LockHeld(server + "/lock");
}

std::string FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path != nullptr ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
        struct stat info {};
        if (::stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            ::access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
    }
    return {};
}

TWineRegistry::TWineRegistry(std::string prefix, std::string wine, TRunProgram run,
                             std::string serverRoot)
    : prefix_(std::move(prefix)),
      wine_(std::move(wine)),
      run_(std::move(run)),
      serverRoot_(std::move(serverRoot)),
      file_(prefix_ + "/user.reg") {}

bool TWineRegistry::WriteInteger(const std::string& key, const std::string& name,
                                 std::uint32_t value) {
    if (!file_.Problem().empty() || !OpenKey(key)) {
        return false;
    }
    if (wine_.empty()) {
        if (WineServerRuns(prefix_, serverRoot_)) {
            throw ERegistryWriteError(
                "Wine is running for the prefix " + prefix_ +
                " and would write its own registry over " + file_.Path() +
                ". Close the Windows programs of that prefix (or run \"wineserver -k\") and "
                "install again.");
        }
        return file_.WriteInteger(key, name, value);
    }
    const TProgramRun run = run_({wine_, "reg", "add", "HKEY_CURRENT_USER\\" + key, "/v", name,
                                  "/t", "REG_DWORD", "/d", std::to_string(value), "/f"},
                                 {"WINEPREFIX=" + prefix_});
    if (run.exitCode != 0) {
        throw ERegistryWriteError("\"wine reg add\" could not set " + name + " in the prefix " +
                                  prefix_ + (run.output.empty() ? "." : ": " + run.output));
    }
    return true;
}

std::string TWineRegistry::LocalPath(const std::string& path) const {
    return WindowsPathInPrefix(prefix_, path).value_or(path);
}

}  // namespace tomery::install
