#include "Tools.h"

#include <algorithm>
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

TWorkProgress PassProgress(const TWorkProgress& whole, unsigned pass, unsigned passes) {
    if (!whole) {
        return {};
    }
    return StepProgress(whole, 1000u * pass / passes, 1000u * (pass + 1) / passes);
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

}  // namespace tomery::tools
