#include "EditMain_Reopen.h"

#include <algorithm>

namespace tomery::app {

bool TReopenList::Add(const std::string& path) {
    if (path.empty() || path == kUntitled || paths_.size() == kMaxEntries) {
        return false;
    }
    // Linux file systems tell names apart by case: /x/A.TXT and /x/a.txt are two files.
    if (std::find(paths_.begin(), paths_.end(), path) != paths_.end()) {
        return false;
    }
    paths_.push_back(path);
    return true;
}

std::string TReopenList::Caption(std::size_t index) const {
    // A menu takes "&" for its accelerator mark; "&&" shows one "&" of the path.
    std::string caption = "&" + std::to_string(index) + " ";
    for (const char c : paths_.at(index)) {
        caption += c == '&' ? "&&" : std::string(1, c);
    }
    return caption;
}

std::string PathOfReopenCaption(const std::string& caption) {
    std::string path;
    for (std::size_t i = 3; i < caption.size(); ++i) {
        path += caption[i];
        i += caption[i] == '&' ? 1 : 0;
    }
    return path;
}

}  // namespace tomery::app
