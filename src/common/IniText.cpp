#include "IniText.h"

#include <algorithm>
#include <cctype>

namespace tomery {

namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

/// The name of a "[name]" line; nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    const std::string_view text = Trimmed(line);
    const auto close = text.find(']');
    if (text.empty() || text.front() != '[' || close == std::string_view::npos) {
        return std::nullopt;
    }
    return Trimmed(text.substr(1, close - 1));
}

/// The key of a "key=value" line; nothing for a comment or a line without '='.
std::optional<std::string_view> KeyName(std::string_view line) {
    const std::string_view text = Trimmed(line);
    const auto equals = text.find('=');
    if (text.empty() || text.front() == ';' || equals == std::string_view::npos) {
        return std::nullopt;
    }
    return Trimmed(text.substr(0, equals));
}

/// Blanks at either end or enclosing quotes would be lost on reading: quote the value then.
std::string StoredValue(std::string_view value) {
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    if (quoted || Trimmed(value).size() != value.size()) {
        return "\"" + std::string(value) + "\"";
    }
    return std::string(value);
}

}  // namespace

IniText::IniText(std::string_view text) {
    if (text.find("\r\n") != std::string_view::npos) {
        lineEnd_ = "\r\n";
    }
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines_.emplace_back(line);
        start = end + 1;
    }
}

std::optional<std::string> IniText::Value(std::string_view section, std::string_view key) const {
    bool inSection = false;
    bool sectionSeen = false;
    for (const std::string& line : lines_) {
        if (const auto name = SectionName(line)) {
            if (inSection) {
                break;
            }
            inSection = !sectionSeen && SameName(*name, section);
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        const auto name = KeyName(line);
        if (!inSection || !name || !SameName(*name, key)) {
            continue;
        }
        std::string_view value = Trimmed(std::string_view(line).substr(line.find('=') + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
            value = value.substr(1, value.size() - 2);
        }
        return std::string(value);
    }
    return std::nullopt;
}

bool IniText::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    if (value.find_first_of("\r\n") != std::string_view::npos) {
        return false;
    }
    const std::string keyLine = std::string(key) + "=" + StoredValue(value);
    auto line = std::find_if(lines_.begin(), lines_.end(), [&](const std::string& text) {
        const auto name = SectionName(text);
        return name && SameName(*name, section);
    });
    if (line == lines_.end()) {
        if (!lines_.empty() && !Trimmed(lines_.back()).empty()) {
            lines_.emplace_back();
        }
        lines_.push_back("[" + std::string(section) + "]");
        lines_.push_back(keyLine);
        return true;
    }
    auto lastEntry = line;
    for (++line; line != lines_.end() && !SectionName(*line); ++line) {
        if (const auto name = KeyName(*line); name && SameName(*name, key)) {
            *line = keyLine;
            return true;
        }
        if (!Trimmed(*line).empty()) {
            lastEntry = line;
        }
    }
    lines_.insert(lastEntry + 1, keyLine);
    return true;
}

std::string IniText::Text() const {
    std::string text;
    for (const std::string& line : lines_) {
        text += line;
        text += lineEnd_;
    }
    return text;
}

}  // namespace tomery
