#include "ReplacementLog.h"

namespace tomery::charset {

void TReplacementLog::Add(std::int64_t line, std::string original, std::string shown,
                          std::size_t characters) {
    count_ += characters;
    if (first_.size() < kKept) {
        first_.push_back({line, std::move(original), std::move(shown)});
    } else {
        more_ = true;
    }
}

std::string TReplacementLog::CountText() const {
    return count_ == 1 ? "1 character was replaced"
                       : std::to_string(count_) + " characters were replaced";
}

std::string TReplacementLog::Details() const {
    std::string text = CountText() + ":";
    for (const TReplacement& replacement : first_) {
        text += "\n";
        if (replacement.Line > 0) {
            text += "line " + std::to_string(replacement.Line) + ": ";
        }
        text += replacement.Original + " \u2192 " + replacement.Shown;
    }
    if (more_) {
        text += "\n...";
    }
    return text;
}

}  // namespace tomery::charset
