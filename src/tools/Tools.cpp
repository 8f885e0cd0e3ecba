#include "Tools.h"

#include <charconv>

namespace tomery::tools {

std::string_view NextWord(std::string_view text, std::size_t& from) {
    while (from < text.size() && IsBlank(text[from])) {
        ++from;
    }
    const std::size_t start = from;
    while (from < text.size() && !IsBlank(text[from])) {
        ++from;
    }
    return text.substr(start, from - start);
}

std::int32_t ParseInteger(const std::string& text) {
    std::string_view digits = text;
    while (!digits.empty() && digits.front() == ' ') {
        digits.remove_prefix(1);
    }
    while (!digits.empty() && digits.back() == ' ') {
        digits.remove_suffix(1);
    }
    // from_chars takes a minus but no plus.
    if (digits.size() > 1 && digits.front() == '+' && digits[1] != '-') {
        digits.remove_prefix(1);
    }
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        throw EConvertError("'" + text + "' is not a valid integer value");
    }
    return value;
}

TWorkLines SplitFileLines(std::string_view bytes) {
    TWorkLines lines;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find_first_of("\r\n");
        if (end == std::string_view::npos) {
            lines.emplace_back(bytes);
            break;
        }
        lines.emplace_back(bytes.substr(0, end));
        const bool crLf = bytes[end] == '\r' && end + 1 < bytes.size() && bytes[end + 1] == '\n';
        bytes.remove_prefix(end + (crLf ? 2 : 1));
    }
    return lines;
}

}  // namespace tomery::tools
