#include "TextLines.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace tomery {

std::vector<std::string> SplitTextLines(std::string_view text, std::size_t maxLines) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size() && lines.size() < maxLines) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
    }
    return lines;
}

bool ReadTextFile(const std::string& path, std::string& text, std::string& error) {
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    text.clear();
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        text.append(buffer, got);
    }
    if (std::ferror(file.get()) != 0) {
        error = std::strerror(errno != 0 ? errno : EIO);
        return false;
    }
    return true;
}

bool ReadTextFileLines(const std::string& path, std::vector<std::string>& lines,
                       std::string& error) {
    std::string text;
    if (!ReadTextFile(path, text, error)) {
        return false;
    }
    lines = SplitTextLines(text);
    return true;
}

}  // namespace tomery
