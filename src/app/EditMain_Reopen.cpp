#include "EditMain_Reopen.h"

#include <algorithm>
#include <cctype>

namespace tomery::app {

namespace {

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

}  // namespace

bool TReopenList::Add(const std::string& path) {
    if (path.empty() || path == kUntitled || paths_.size() == kMaxEntries) {
        return false;
    }
    const std::string lowered = Lowered(path);
    if (std::any_of(paths_.begin(), paths_.end(),
                    [&](const std::string& entry) { return Lowered(entry) == lowered; })) {
        return false;
    }
    paths_.push_back(path);
    return true;
}

std::string TReopenList::Caption(std::size_t index) const {
    return "&" + std::to_string(index) + " " + paths_.at(index);
}

std::string PathOfReopenCaption(const std::string& caption) {
    return caption.size() > 3 ? caption.substr(3) : std::string();
}

}  // namespace tomery::app
