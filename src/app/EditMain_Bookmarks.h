// The bookmarks a DOC file stores, in the main window: carried from the DOC reader into the
// editor's text and from there to the DOC writer, and listed for the user to jump to.
#pragma once

#include "Conversion.h"
#include "OvcEditP.h"

#include <vector>

namespace tomery::editor {
class TOvcCustomEditor;
}
namespace tomery::viewer {
class TBMLBox;
}

class QWidget;

namespace tomery::app {

class TModalUi;

/// The editor's stored bookmarks for the DOC writer, at their offsets in the intermediate
/// text (a CR LF after every line).
std::vector<doc::TBookmarkToStore> BookmarksToStore(editor::TParaList& list);

/// Search > Bookmarks...: the document's stored bookmarks in the bookmark list; the one
/// chosen (a click, or Enter) gets the caret at the top of the view and the editor the focus.
/// Closing the list otherwise goes nowhere.
class TStoredBookmarksCommand {
  public:
    TStoredBookmarksCommand(TModalUi& ui, editor::TOvcCustomEditor& editor, QWidget* parent);

    /// Whether the document has stored bookmarks: the menu item is enabled only then.
    bool Available() const;
    void Bookmarks1Click();

  private:
    TModalUi& ui_;
    editor::TOvcCustomEditor& editor_;
    viewer::TBMLBox* list_;  ///< owned by the parent window
};

}  // namespace tomery::app
