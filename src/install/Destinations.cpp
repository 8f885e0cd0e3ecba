#include "Destinations.h"

#include "FileAccess.h"
#include "FileReplacement.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace tomery::install {

namespace {

/// J-Pilot reads its list with lines of 1000 bytes: the path, its line end and the
/// terminator must fit.
constexpr std::size_t kLongestJPilotLine = 998;
constexpr char kCardMark = '\x01';

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

/// The list's line as a path: without a carriage return and without the card mark.
std::string ListedPath(std::string line) {
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return !line.empty() && line.front() == kCardMark ? line.substr(1) : line;
}

}  // namespace

std::string FileNamePart(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string CopyFileTo(const std::string& source, const std::string& destination) {
    const auto bytes = ReadWholeFile(source);
    if (!bytes) {
        return source + " cannot be read";
    }
    FileReplacement out(destination);
    if (out.IsOpen() && out.Write(bytes->data(), bytes->size()) && out.Commit()) {
        return {};
    }
    return out.ErrorText();
}

std::string CopyIntoFolder(const std::string& file, const std::string& folder) {
    if (!IsFolder(folder)) {
        throw EInstallError("The folder " + folder + " does not exist.");
    }
    const std::string copy = (folder.back() == '/' ? folder : folder + "/") + FileNamePart(file);
    if (const std::string failure = CopyFileTo(file, copy); !failure.empty()) {
        throw EInstallError(FileNamePart(file) + " cannot be copied to " + folder + ": " + failure +
                            ".");
    }
    return copy;
}

std::string FindJPilotFolder() {
    const char* home = std::getenv("JPILOT_HOME");
    if (home == nullptr || *home == '\0') {
        home = std::getenv("HOME");
    }
    const std::string folder = std::string(home != nullptr ? home : "") + "/.jpilot";
    return home != nullptr && IsFolder(folder) ? folder : std::string();
}

TJPilotListing AddToJPilotList(const std::string& folder, const std::string& file) {
    const std::string path = std::filesystem::absolute(file).lexically_normal().string();
    if (path.find_first_of("\r\n") != std::string::npos) {
        throw EInstallError("J-Pilot's install list holds one file a line; the path " + path +
                            " has a line break in it.");
    }
    if (path.size() > kLongestJPilotLine) {
        throw EInstallError("J-Pilot reads paths of at most " + std::to_string(kLongestJPilotLine) +
                            " characters; the path of " + FileNamePart(path) + " is longer.");
    }
    if (!IsFile(path)) {
        throw EInstallError(path + " does not exist.");
    }
    TJPilotListing listing{folder + "/jpilot.install", false};
    if (!IsFile(listing.listFile) && IsFile(folder + "/jpilot_to_install")) {
        listing.listFile = folder + "/jpilot_to_install";
    }
    std::string contents;
    if (IsFile(listing.listFile)) {
        const auto bytes = ReadWholeFile(listing.listFile);
        if (!bytes) {
            throw EInstallError("J-Pilot's install list " + listing.listFile + " cannot be read.");
        }
        contents.assign(bytes->begin(), bytes->end());
    }
    std::istringstream lines(contents);
    for (std::string line; std::getline(lines, line);) {
        if (ListedPath(line) == path) {
            listing.alreadyListed = true;
            return listing;
        }
    }
    if (!contents.empty() && contents.back() != '\n') {
        contents += '\n';
    }
    contents += path + "\n";
    FileReplacement out(listing.listFile);
    if (!(out.IsOpen() && out.Write(contents.data(), contents.size()) && out.Commit())) {
        throw EInstallError("J-Pilot's install list " + listing.listFile +
                            " cannot be written: " + out.ErrorText() + ".");
    }
    return listing;
}

std::string PilotPort() {
    const char* port = std::getenv("PILOTPORT");
    return port != nullptr && *port != '\0' ? port : "usb:";
}

std::vector<std::string> PilotXferArguments(const std::string& port, const std::string& file) {
    return {"-p", port, "-i", file};
}

bool PilotXferSucceeded(int exitCode, const std::string& output) {
    if (exitCode != 0) {
        return false;
    }
    for (const char* failure :
         {"failed", "Unable to open", "Insufficient space", "Exiting on cancel"}) {
        if (output.find(failure) != std::string::npos) {
            return false;
        }
    }
    return true;
}

}  // namespace tomery::install
