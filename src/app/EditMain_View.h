// The main window's View menu: loading a document into the viewer, the two logs, and the
// Reload list of documents viewed in this run.
#pragma once

#include "ModalUi.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tomery::viewer {
class TViewBox;
}

namespace tomery::app {

class TMainMenus;

inline constexpr char kLoadDocumentTitle[] = "Load a document";
inline constexpr std::size_t kMaxReloadEntries = 10;

class TViewerCommands {
  public:
    /// `reloadPaths` (the program's ReloadPaths) holds one path per Reload entry; all
    /// references are kept and must outlive the commands.
    TViewerCommands(TModalUi& ui, TMainMenus& menus, viewer::TViewBox& viewBox,
                    std::vector<std::string>& reloadPaths);

    void LoadDocument1Click();
    void ComparisonLog1Click();
    void ConversionLog1Click();
    /// Adds the document in the viewer to the Reload list unless it has no title, the list is
    /// full, or an entry with the same title (without regard to case) exists.
    void AddToReload();
    /// The document in the viewer goes to the list, then entry `entry` is loaded.
    void Reload1Handler(std::size_t entry);

    /// Number of entries minus one; -1 while the list is empty.
    int ReloadCount() const { return static_cast<int>(reloadPaths_.size()) - 1; }

  private:
    /// Shows `path` in the viewer, with the progress of long work over the main window.
    void LoadDocument(const std::string& path);

    TModalUi& ui_;
    TMainMenus& menus_;
    viewer::TViewBox& viewBox_;
    std::vector<std::string>& reloadPaths_;
    std::vector<std::string> reloadCaptions_;
    std::string loadFolder_;  ///< the Load dialog's initial folder and previous file name
    std::string loadFileName_;
};

}  // namespace tomery::app
