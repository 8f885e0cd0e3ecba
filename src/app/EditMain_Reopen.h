// The File menu's Reopen list: up to ten recently left documents, for this run only.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tomery::app {

inline constexpr char kUntitled[] = "Untitled";

class TReopenList {
  public:
    static constexpr std::size_t kMaxEntries = 10;

    /// Adds `path` at the end unless it is empty or "Untitled", the list is full, or an entry
    /// for the same path (compared without regard to case) exists. Returns whether it was added.
    bool Add(const std::string& path);

    std::size_t Count() const { return paths_.size(); }
    /// The menu caption of entry `index`: "&" + its number + " " + its path, each "&" of the
    /// path doubled so that the menu shows it instead of taking it for an accelerator mark.
    std::string Caption(std::size_t index) const;
    const std::string& Path(std::size_t index) const { return paths_.at(index); }

  private:
    std::vector<std::string> paths_;
};

/// The path an entry's caption stands for: the caption from its fourth character on, with
/// its doubled "&" single again.
std::string PathOfReopenCaption(const std::string& caption);

}  // namespace tomery::app
