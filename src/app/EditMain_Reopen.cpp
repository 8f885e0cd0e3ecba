#include "EditMain_Reopen.h"

#include "TextCase.h"

#include <algorithm>

namespace tomery::app {

bool TReopenList::Add(const std::string& path) {
    if (path.empty() || path == kUntitled || paths_.size() == kMaxEntries) {
        return false;
    }
    const std::string lowered = AsciiLowered(path);
    if (std::any_of(paths_.begin(), paths_.end(),
                    [&](const std::string& entry) { return AsciiLowered(entry) == lowered; })) {
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
