// A fresh temporary folder per test, also used as the program folder (TOMERY_HOME), and
// sibling folders for the state folder (XDG_STATE_HOME), so that the recovery copies and notes
// of saves stay out of the folder's listing, and for the desktop's data (XDG_DATA_HOME).
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tomery::testing {

class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tomery-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
        ::setenv("TOMERY_HOME", path_.c_str(), 1);
        ::setenv("XDG_STATE_HOME", StateHome().c_str(), 1);
        ::setenv("XDG_DATA_HOME", DataHome().c_str(), 1);
    }
    ~TempFolder() {
        std::error_code error;
        // Tests may leave read-only files behind; removal needs the folder writable only.
        std::filesystem::remove_all(path_, error);
        std::filesystem::remove_all(StateHome(), error);
        std::filesystem::remove_all(DataHome(), error);
        ::unsetenv("TOMERY_HOME");
        ::unsetenv("XDG_STATE_HOME");
        ::unsetenv("XDG_DATA_HOME");
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Path(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Root() const { return path_; }
    std::string StateHome() const { return path_ + "-state"; }
    /// The desktop's data folder (XDG_DATA_HOME), where the recently used list lives.
    std::string DataHome() const { return path_ + "-data"; }

  private:
    std::string path_;
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// The lines of a CR LF file, without their line ends.
inline std::vector<std::string> ReadCrLfLines(const std::string& path) {
    const std::string text = ReadFile(path);
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(text.substr(start, end - start));
    }
    if (start < text.size()) {
        lines.push_back(text.substr(start));
    }
    return lines;
}

}  // namespace tomery::testing
