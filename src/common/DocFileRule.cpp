#include "DocFileRule.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace tomery {

bool IsDocFile(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".pdb" || extension == ".prc";
}

std::int64_t FileSizeKB(const std::string& path) {
    std::error_code error;
    const auto size = std::filesystem::file_size(path, error);
    if (error) {
        return 0;
    }
    return static_cast<std::int64_t>(size / 1024) + 1;
}

}  // namespace tomery
