#include "EditMain_Reopen.h"

#include <algorithm>

namespace tomery::app {

namespace {

bool MayBeListed(const std::string& path) {
    return !path.empty() && path != kUntitled;
}

/// `paths` with `path` moved, or added, to the end.
void MoveToEnd(std::vector<std::string>& paths, const std::string& path) {
    paths.erase(std::remove(paths.begin(), paths.end(), path), paths.end());
    paths.push_back(path);
}

}  // namespace

bool TReopenList::Add(const std::string& path) {
    if (!MayBeListed(path)) {
        return false;
    }
    MoveToEnd(recent_, path);
    if (paths_.size() == kMaxEntries) {
        return false;
    }
    // Linux file systems tell names apart by case: /x/A.TXT and /x/a.txt are two files.
    if (std::find(paths_.begin(), paths_.end(), path) != paths_.end()) {
        return false;
    }
    paths_.push_back(path);
    return true;
}

std::vector<std::string> TReopenList::ToKeep(const std::string& current) const {
    std::vector<std::string> kept = recent_;
    if (MayBeListed(current)) {
        MoveToEnd(kept, current);
    }
    if (kept.size() > kMaxEntries) {
        kept.erase(kept.begin(), kept.end() - kMaxEntries);
    }
    return kept;
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
