#include "ProgramFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace tomery {

std::string ProgramFolder() {
    std::string folder;
    if (const char* home = std::getenv("TOMERY_HOME"); home != nullptr && *home != '\0') {
        folder = home;
    } else {
        std::error_code error;
        const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
        folder = error ? std::filesystem::current_path(error).string()
                       : executable.parent_path().string();
    }
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

std::string ProgramFilePath(const std::string& fileName) {
    return ProgramFolder() + fileName;
}

}  // namespace tomery
