// The File menu's Reopen list: up to ten recently left documents, and the ten most recently
// left ones that the next run starts its list with.
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
    /// for the same path exists. Returns whether it was added. Either way a path that may be
    /// listed counts as the most recently left one.
    bool Add(const std::string& path);

    /// What the next run starts its list with: the ten files most recently left, the most
    /// recent last, `current` (the document still open) counting as left now. Within a run
    /// the list only grows; across runs it follows the files the user goes back to.
    std::vector<std::string> ToKeep(const std::string& current) const;

    std::size_t Count() const { return paths_.size(); }
    /// The menu caption of entry `index`: "&" + its number + " " + its path, each "&" of the
    /// path doubled so that the menu shows it instead of taking it for an accelerator mark.
    std::string Caption(std::size_t index) const;
    const std::string& Path(std::size_t index) const { return paths_.at(index); }

  private:
    std::vector<std::string> paths_;
    std::vector<std::string> recent_;  ///< every path left, the most recent last, once each
};

/// The path an entry's caption stands for: the caption from its fourth character on, with
/// its doubled "&" single again.
std::string PathOfReopenCaption(const std::string& caption);

}  // namespace tomery::app
