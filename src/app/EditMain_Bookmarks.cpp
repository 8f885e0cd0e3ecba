#include "EditMain_Bookmarks.h"

#include "ModalUi.h"
#include "OvcEdit.h"
#include "ViewBML.h"

#include <string>

namespace tomery::app {

std::vector<doc::TBookmarkToStore> BookmarksToStore(editor::TParaList& list) {
    const std::vector<std::int64_t> offsets = list.StoredBookmarkOffsets();
    std::vector<doc::TBookmarkToStore> bookmarks;
    bookmarks.reserve(offsets.size());
    for (std::size_t i = 0; i < offsets.size(); ++i) {
        bookmarks.push_back(
            {list.StoredBookmarks()[i].Name, static_cast<std::uint64_t>(offsets[i]), {}});
    }
    return bookmarks;
}

TStoredBookmarksCommand::TStoredBookmarksCommand(TModalUi& ui, editor::TOvcCustomEditor& editor,
                                                 QWidget* parent)
    : ui_(ui), editor_(editor), list_(new viewer::TBMLBox(parent)) {}

bool TStoredBookmarksCommand::Available() const {
    return !editor_.ParaList().StoredBookmarks().empty();
}

void TStoredBookmarksCommand::Bookmarks1Click() {
    const std::vector<editor::TStoredBookmark> bookmarks = editor_.ParaList().StoredBookmarks();
    if (bookmarks.empty()) {
        return;
    }
    std::vector<std::string> titles;
    for (const editor::TStoredBookmark& bookmark : bookmarks) {
        titles.push_back(editor_.CharacterSet().ToUtf8(bookmark.Name));
    }
    list_->Fill(titles);
    if (!ui_.ShowDialog(*list_)) {
        return;
    }
    const int chosen = list_->RememberedIndex();
    if (chosen < 0 || chosen >= static_cast<int>(bookmarks.size())) {
        return;
    }
    std::int32_t line = bookmarks[static_cast<std::size_t>(chosen)].Place.Para;
    std::int32_t column = bookmarks[static_cast<std::size_t>(chosen)].Place.Pos;
    editor_.ParaToLine(line, column);
    editor_.SetCaretPosition(line, column);
    editor_.SetTopLine(line);
    editor_.setFocus();
}

}  // namespace tomery::app
