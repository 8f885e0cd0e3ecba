#include "RegistryFile.h"

#include "FileReplacement.h"
#include "ProgramFolder.h"
#include "TextCase.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

namespace tomery::install {

namespace {

constexpr char kRoot[] = "hkey_current_user";

bool SameName(const std::string& a, const std::string& b) {
    return AsciiLowered(a) == AsciiLowered(b);
}

std::string Trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

/// Reads a quoted string with \\ and \" escapes starting at text[at] == '"'. On success
/// `at` is just past the closing quote.
bool ReadQuoted(const std::string& text, std::size_t& at, std::string& result) {
    if (at >= text.size() || text[at] != '"') {
        return false;
    }
    result.clear();
    for (++at; at < text.size(); ++at) {
        if (text[at] == '"') {
            ++at;
            return true;
        }
        if (text[at] == '\\' && at + 1 < text.size()) {
            ++at;
        }
        result += text[at];
    }
    return false;
}

std::string Quoted(const std::string& text) {
    std::string result = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            result += '\\';
        }
        result += c;
    }
    return result + '"';
}

bool IsDword(const std::string& data) {
    if (AsciiLowered(data.substr(0, 6)) != "dword:") {
        return false;
    }
    const std::string digits = data.substr(6);
    return !digits.empty() && digits.size() <= 8 &&
           digits.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

/// A key path of the current user without its root; nothing for another root.
std::optional<std::string> UserKey(const std::string& sectionName) {
    const std::string lower = AsciiLowered(sectionName);
    if (lower == kRoot) {
        return std::string();
    }
    if (lower.rfind(std::string(kRoot) + "\\", 0) == 0) {
        return sectionName.substr(std::strlen(kRoot) + 1);
    }
    return std::nullopt;
}

}  // namespace

TRegistryFile::TRegistryFile(std::string path) : path_(std::move(path)) {
    Load();
}

std::string TRegistryFile::Reread() {
    Load();
    return problem_;
}

void TRegistryFile::Load() {
    problem_.clear();
    lines_.clear();
    sections_.clear();
    lineEnd_ = "\r\n";
    std::ifstream file(path_, std::ios::binary);
    if (!file) {
        if (errno != ENOENT) {
            problem_ = "The registry file " + path_ + " cannot be read: " + std::strerror(errno);
        }
        return;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    std::string text = contents.str();
    if (text.find("\r\n") == std::string::npos && text.find('\n') != std::string::npos) {
        lineEnd_ = "\n";
    }
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines_.push_back(std::move(line));
    }
    Parse();
}

std::string TRegistryFile::DefaultPath() {
    const char* named = std::getenv("TOMERY_REGISTRY");
    return named != nullptr && *named != '\0' ? named : ProgramFilePath("registry.reg");
}

void TRegistryFile::Parse() {
    sections_.clear();
    const auto fail = [this](std::size_t line, const std::string& why) {
        problem_ = "The registry file " + path_ + " is damaged: line " + std::to_string(line + 1) +
                   " " + why + ". It is left as it is and read as empty.";
        sections_.clear();
    };
    bool headerSeen = false;
    bool foreignSection = false;  ///< values of another root are kept but never read
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string line = Trim(lines_[i]);
        if (i == 0 && line.rfind("\xEF\xBB\xBF", 0) == 0) {
            line = line.substr(3);
        }
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (!headerSeen) {
            if (line != "REGEDIT4") {
                fail(i, "should be REGEDIT4, the first line of a registry file");
                return;
            }
            headerSeen = true;
            continue;
        }
        if (line.front() == '[') {
            if (line.back() != ']') {
                fail(i, "opens a key with '[' but does not close it with ']'");
                return;
            }
            const auto key = UserKey(line.substr(1, line.size() - 2));
            foreignSection = !key;
            if (key) {
                sections_.push_back({*key, i, {}});
            }
            continue;
        }
        if (line.front() != '"' && line.front() != '@') {
            fail(i, "is neither a key, a value nor a comment");
            return;
        }
        std::string name;
        std::size_t at = 0;
        if (line.front() == '@') {
            at = 1;
        } else if (!ReadQuoted(line, at, name)) {
            fail(i, "has a value name without its closing quote");
            return;
        }
        if (at >= line.size() || line[at] != '=') {
            fail(i, "has no '=' after the value name");
            return;
        }
        const std::string data = Trim(line.substr(at + 1));
        std::string text;
        std::size_t end = 0;
        const bool isString = ReadQuoted(data, end, text) && end == data.size();
        const bool isHex = AsciiLowered(data.substr(0, 3)) == "hex";
        if (!isString && !IsDword(data) && !isHex && data != "-") {
            fail(i, "holds a value that is neither \"text\", dword:XXXXXXXX nor hex");
            return;
        }
        if (sections_.empty() && !foreignSection) {
            fail(i, "holds a value outside any key");
            return;
        }
        // Binary values may go on over several lines, each but the last ending in '\'.
        std::size_t last = i;
        while (isHex && last + 1 < lines_.size()) {
            const std::string part = Trim(lines_[last]);
            if (part.empty() || part.back() != '\\') {
                break;
            }
            ++last;
        }
        if (!foreignSection) {
            sections_.back().values.push_back({i, name, data});
            sections_.back().last = last;
        }
        i = last;
    }
    if (!headerSeen && !lines_.empty()) {
        fail(0, "should be REGEDIT4, the first line of a registry file");
    }
}

const TRegistryFile::TSection* TRegistryFile::FindSection(const std::string& key) const {
    for (const TSection& section : sections_) {
        if (SameName(section.key, key)) {
            return &section;
        }
    }
    return nullptr;
}

const TRegistryFile::TValue* TRegistryFile::FindValue(const std::string& key,
                                                      const std::string& name) const {
    // A key may appear in several sections; as when the file is imported, the last wins.
    const TValue* found = nullptr;
    for (const TSection& section : sections_) {
        if (!SameName(section.key, key)) {
            continue;
        }
        for (const TValue& value : section.values) {
            if (SameName(value.name, name)) {
                found = &value;
            }
        }
    }
    return found;
}

bool TRegistryFile::OpenKey(const std::string& key) const {
    const std::string below = AsciiLowered(key) + "\\";
    return std::any_of(sections_.begin(), sections_.end(), [&](const TSection& section) {
        return SameName(section.key, key) || AsciiLowered(section.key).rfind(below, 0) == 0;
    });
}

std::optional<std::string> TRegistryFile::ReadString(const std::string& key,
                                                     const std::string& name,
                                                     std::size_t bufferSize) const {
    const TValue* value = FindValue(key, name);
    std::string text;
    std::size_t end = 0;
    if (value == nullptr || bufferSize == 0 || !ReadQuoted(value->data, end, text)) {
        return std::nullopt;
    }
    text.resize(std::min(text.size(), bufferSize - 1));
    return text;
}

bool TRegistryFile::WriteInteger(const std::string& key, const std::string& name,
                                 std::uint32_t value) {
    if (!problem_.empty() || !OpenKey(key)) {
        return false;
    }
    char number[16];
    std::snprintf(number, sizeof number, "dword:%08x", value);
    const std::string line = Quoted(name) + "=" + number;
    const std::vector<std::string> before = lines_;
    if (const TValue* existing = FindValue(key, name)) {
        lines_[existing->line] = Quoted(existing->name) + "=" + number;
    } else if (const TSection* section = FindSection(key)) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(section->last + 1), line);
    } else {
        // The key exists only through keys below it: it gets a section of its own.
        if (!lines_.empty() && !Trim(lines_.back()).empty()) {
            lines_.emplace_back();
        }
        lines_.push_back("[HKEY_CURRENT_USER\\" + key + "]");
        lines_.push_back(line);
    }
    if (const std::string failure = Store(); !failure.empty()) {
        lines_ = before;
        throw ERegistryWriteError("The registry file " + path_ + " cannot be written: " + failure);
    }
    Parse();
    return true;
}

std::string TRegistryFile::Store() const {
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += lineEnd_;
    }
    FileReplacement file(path_);
    const bool stored = file.IsOpen() && file.Write(text.data(), text.size()) && file.Commit();
    return stored ? std::string() : file.ErrorText();
}

}  // namespace tomery::install
