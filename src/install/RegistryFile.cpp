#include "RegistryFile.h"

#include "FileEncoding.h"
#include "FileReplacement.h"
#include "ProgramFolder.h"
#include "TextCase.h"
#include "Utf8.h"
#include "WinePrefix.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
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

constexpr char kRegedit4[] = "REGEDIT4";
constexpr char kRegedit5[] = "Windows Registry Editor Version 5.00";
constexpr char kWineHeader[] = "WINE REGISTRY Version 2";

/// The bytes of UTF-16 LE text after its byte order mark; nothing when they are not whole.
std::optional<std::string> DecodeUtf16(const std::string& bytes) {
    if ((bytes.size() - 2) % 2 != 0) {
        return std::nullopt;
    }
    return charset::Utf16ToUtf8(std::string_view(bytes).substr(2), false);
}

/// UTF-8 text (as DecodeUtf16 made it) as UTF-16 LE bytes with a byte order mark.
std::string EncodeUtf16(const std::string& text) {
    return "\xFF\xFE" + charset::Utf8ToUtf16(text, false);
}

bool IsHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

/// Reads one escape of Wine's registry text after its backslash: C escapes, \xHHHH (up to
/// four hex digits, a UTF-16 unit) and octal; any other character stands for itself.
void ReadWineEscape(const std::string& text, std::size_t& at, std::string& result) {
    static const std::string letters = "abefnrtv";
    static const std::string codes = "\a\b\x1b\f\n\r\t\v";
    const char c = text[at];
    if (const auto letter = letters.find(c); letter != std::string::npos) {
        result += codes[letter];
        ++at;
    } else if (c == 'x' && at + 1 < text.size() && IsHexDigit(text[at + 1])) {
        char32_t code = 0;
        for (int digits = 0; digits < 4 && at + 1 < text.size() && IsHexDigit(text[at + 1]);
             ++digits) {
            const char digit =
                static_cast<char>(std::tolower(static_cast<unsigned char>(text[++at])));
            code = code * 16 + static_cast<char32_t>(digit <= '9' ? digit - '0' : digit - 'a' + 10);
        }
        ++at;
        charset::AppendUtf8(code >= 0xD800 && code < 0xE000 ? 0xFFFD : code, result);
    } else if (c >= '0' && c <= '7') {
        int code = 0;
        for (int digits = 0; digits < 3 && at < text.size() && text[at] >= '0' && text[at] <= '7';
             ++digits) {
            code = code * 8 + (text[at++] - '0');
        }
        charset::AppendUtf8(static_cast<char32_t>(code), result);
    } else {
        result += c;
        ++at;
    }
}

/// Reads text up to `end` with the format's escapes (\\ and \" in the export formats; those
/// of ReadWineEscape in Wine's) starting at text[at]. On success `at` is just past `end`.
bool ReadEscaped(TRegistryFormat format, const std::string& text, std::size_t& at, char end,
                 std::string& result) {
    result.clear();
    while (at < text.size()) {
        if (text[at] == end) {
            ++at;
            return true;
        }
        if (text[at] == '\\' && at + 1 < text.size()) {
            ++at;
            if (format == TRegistryFormat::Wine) {
                ReadWineEscape(text, at, result);
                continue;
            }
        }
        result += text[at++];
    }
    return false;
}

/// Reads a quoted string starting at text[at] == '"'. On success `at` is just past the
/// closing quote.
bool ReadQuoted(TRegistryFormat format, const std::string& text, std::size_t& at,
                std::string& result) {
    if (at >= text.size() || text[at] != '"') {
        return false;
    }
    ++at;
    return ReadEscaped(format, text, at, '"', result);
}

/// A string value's text: "text", and in Wine's format also str:"text" and the expandable
/// and multiple strings str(2):"..." and str(7):"...".
bool ReadStringData(TRegistryFormat format, const std::string& data, std::string& text) {
    std::size_t at = 0;
    if (format == TRegistryFormat::Wine) {
        for (const char* tag : {"str:", "str(2):", "str(7):"}) {
            if (data.rfind(tag, 0) == 0) {
                at = std::strlen(tag);
            }
        }
    }
    return ReadQuoted(format, data, at, text) && at == data.size();
}

std::string Escaped(const std::string& text, const std::string& special) {
    std::string result;
    for (const char c : text) {
        if (c == '\\' || special.find(c) != std::string::npos) {
            result += '\\';
        }
        result += c;
    }
    return result;
}

std::string Quoted(const std::string& text) {
    return '"' + Escaped(text, "\"") + '"';
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
    utf16_ = false;
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
    if (text.rfind("\xFF\xFE", 0) == 0) {
        const auto decoded = DecodeUtf16(text);
        if (!decoded) {
            problem_ = "The registry file " + path_ +
                       " is damaged: its UTF-16 text ends in half a character. It is left as "
                       "it is and read as empty.";
            return;
        }
        text = *decoded;
        utf16_ = true;
    }
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

std::optional<std::string> TRegistryFile::SectionKey(const std::string& line, bool& damaged) const {
    damaged = false;
    if (format_ != TRegistryFormat::Wine) {
        if (line.back() != ']') {
            damaged = true;
            return std::nullopt;
        }
        return UserKey(line.substr(1, line.size() - 2));
    }
    // Wine's keys lie below the current user already; a time stamp may follow the name.
    std::string key;
    std::size_t at = 1;
    if (!ReadEscaped(format_, line, at, ']', key) ||
        Trim(line.substr(at)).find_first_not_of("0123456789") != std::string::npos) {
        damaged = true;
        return std::nullopt;
    }
    return key;
}

void TRegistryFile::Parse() {
    sections_.clear();
    const auto fail = [this](std::size_t line, const std::string& why) {
        problem_ = "The registry file " + path_ + " is damaged: line " + std::to_string(line + 1) +
                   " " + why + ". It is left as it is and read as empty.";
        sections_.clear();
    };
    static const std::string kHeaders = std::string("should be ") + kRegedit4 + ", \"" + kRegedit5 +
                                        "\" or \"" + kWineHeader +
                                        "\", the first line of a registry file";
    bool headerSeen = false;
    bool foreignSection = false;  ///< values of another root are kept but never read
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string line = Trim(lines_[i]);
        if (i == 0 && line.rfind("\xEF\xBB\xBF", 0) == 0) {
            line = line.substr(3);
        }
        if (line.empty() || line.front() == ';' ||
            (headerSeen && format_ == TRegistryFormat::Wine && line.front() == '#')) {
            continue;
        }
        if (!headerSeen) {
            if (line == kRegedit4) {
                format_ = TRegistryFormat::Regedit4;
            } else if (line == kRegedit5) {
                format_ = TRegistryFormat::Regedit5;
            } else if (line == kWineHeader) {
                format_ = TRegistryFormat::Wine;
            } else {
                fail(i, kHeaders);
                return;
            }
            headerSeen = true;
            continue;
        }
        if (line.front() == '[') {
            bool damaged = false;
            const auto key = SectionKey(line, damaged);
            if (damaged) {
                fail(i, "opens a key with '[' but does not close it with ']'");
                return;
            }
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
        } else if (!ReadQuoted(format_, line, at, name)) {
            fail(i, "has a value name without its closing quote");
            return;
        }
        if (at >= line.size() || line[at] != '=') {
            fail(i, "has no '=' after the value name");
            return;
        }
        const std::string data = Trim(line.substr(at + 1));
        std::string text;
        const bool isString = ReadStringData(format_, data, text);
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
        fail(0, kHeaders);
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
    if (value == nullptr || bufferSize == 0 || !ReadStringData(format_, value->data, text)) {
        return std::nullopt;
    }
    text.resize(std::min(text.size(), bufferSize - 1));
    return text;
}

std::vector<std::string> TRegistryFile::NewSection(const std::string& key) const {
    if (format_ != TRegistryFormat::Wine) {
        return {"[HKEY_CURRENT_USER\\" + key + "]"};
    }
    // Wine stamps every key with its change time: seconds since 1970 on the key's line, and
    // 100-nanosecond ticks since 1601 in hex on the line after it.
    const auto now = static_cast<unsigned long long>(std::time(nullptr));
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "#time=%llx", (now + 11644473600ULL) * 10000000ULL);
    return {"[" + Escaped(key, "[]") + "] " + std::to_string(now), stamp};
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
        for (std::string& header : NewSection(key)) {
            lines_.push_back(std::move(header));
        }
        lines_.push_back(line);
    }
    if (const std::string failure = Store(); !failure.empty()) {
        lines_ = before;
        throw ERegistryWriteError("The registry file " + path_ + " cannot be written: " + failure);
    }
    Parse();
    return true;
}

std::string TRegistryFile::LocalPath(const std::string& path) const {
    return IsWindowsPath(path) ? WindowsPathInPrefix(DefaultWinePrefix(), path).value_or(path)
                               : path;
}

std::string TRegistryFile::Store() const {
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += lineEnd_;
    }
    if (utf16_) {
        text = EncodeUtf16(text);
    }
    FileReplacement file(path_);
    const bool stored = file.IsOpen() && file.Write(text.data(), text.size()) && file.Commit();
    return stored ? std::string() : file.ErrorText();
}

}  // namespace tomery::install
