#include "ProgramFolder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#ifndef TOMERY_DATA_FROM_BIN
#define TOMERY_DATA_FROM_BIN "../share/tomery"
#endif
#ifndef TOMERY_BUILD_TREE_MARKER
#define TOMERY_BUILD_TREE_MARKER "tomery-build-tree"
#endif

namespace tomery {

namespace {

std::string WithSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string ExecutableFolder() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path(error).string()
                 : executable.parent_path().string();
}

std::string HomeFolder() {
    if (std::string home = Environment("HOME"); !home.empty()) {
        return home;
    }
    const passwd* user = ::getpwuid(::getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "/tmp";
}

bool Exists(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// An installed program's executable stands in a "bin" folder (/usr/bin, ~/.local/bin,
// /opt/x/bin), which is no place for its settings, texts and logs, even when the user (root,
// or the owner of ~/.local/bin) may write there. A build's bin folder holds its marker.
bool IsInstalledProgramsFolder(const TProgramFolderFacts& facts) {
    std::filesystem::path folder(facts.executableFolder);
    if (!folder.has_filename()) {
        folder = folder.parent_path();
    }
    return folder.filename() == "bin" && !facts.buildMarkerBesideExecutable;
}

}  // namespace

std::string ChooseProgramFolder(const TProgramFolderFacts& facts) {
    if (!facts.tomeryHome.empty()) {
        return WithSlash(facts.tomeryHome);
    }
    if (facts.executableFolderWritable && !IsInstalledProgramsFolder(facts)) {
        return WithSlash(facts.executableFolder);
    }
    // The configuration folder must be absolute; a relative one is ignored, as desktops do.
    const std::string config = !facts.xdgConfigHome.empty() && facts.xdgConfigHome.front() == '/'
                                   ? facts.xdgConfigHome
                                   : WithSlash(facts.home) + ".config";
    return WithSlash(config) + "tomery/";
}

std::string ProgramFolder() {
    TProgramFolderFacts facts;
    facts.tomeryHome = Environment("TOMERY_HOME");
    if (facts.tomeryHome.empty()) {
        facts.executableFolder = ExecutableFolder();
        facts.executableFolderWritable = ::access(facts.executableFolder.c_str(), W_OK) == 0;
        facts.buildMarkerBesideExecutable =
            Exists(WithSlash(facts.executableFolder) + TOMERY_BUILD_TREE_MARKER);
        facts.xdgConfigHome = Environment("XDG_CONFIG_HOME");
        facts.home = HomeFolder();
    }
    std::string folder = ChooseProgramFolder(facts);
    if (facts.tomeryHome.empty() && folder != WithSlash(facts.executableFolder)) {
        // A failure shows later, where the first file in it cannot be written.
        std::error_code error;
        std::filesystem::create_directories(folder, error);
    }
    return folder;
}

std::string ProgramFilePath(const std::string& fileName) {
    return ProgramFolder() + fileName;
}

std::string StateFolder() {
    const std::string state = Environment("XDG_STATE_HOME");
    const std::string folder =
        WithSlash(!state.empty() && state.front() == '/' ? state
                                                         : WithSlash(HomeFolder()) + ".local/state") +
        "tomery/";
    std::error_code error;
    if (std::filesystem::create_directories(folder, error)) {
        // Recovery copies hold the user's texts: nobody else reads them.
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);
    }
    return folder;
}

std::vector<std::string> ResourceFolders(const std::string& programFolder,
                                         const std::string& executableFolder) {
    const std::filesystem::path dataFolder =
        std::filesystem::path(WithSlash(executableFolder)) / TOMERY_DATA_FROM_BIN;
    return {WithSlash(programFolder), WithSlash(executableFolder),
            WithSlash(dataFolder.lexically_normal().string())};
}

std::string FindResourceFile(const std::string& fileName, const std::vector<std::string>& folders) {
    for (const std::string& folder : folders) {
        if (Exists(folder + fileName)) {
            return folder + fileName;
        }
    }
    return folders.empty() ? fileName : folders.front() + fileName;
}

std::string ResourceFilePath(const std::string& fileName) {
    return FindResourceFile(fileName, ResourceFolders(ProgramFolder(), ExecutableFolder()));
}

}  // namespace tomery
