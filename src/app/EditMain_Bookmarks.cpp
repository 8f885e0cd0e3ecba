#include "EditMain_Bookmarks.h"

#include "ModalUi.h"
#include "OvcEdit.h"
#include "ViewBML.h"

#include <algorithm>
#include <string>

namespace tomery::app {

namespace {

std::int32_t FromZeroBased(std::uint32_t value) {
    return static_cast<std::int32_t>(
        std::min<std::uint32_t>(value, static_cast<std::uint32_t>(editor::kMaxInt32 - 1)) + 1);
}

}  // namespace

std::vector<editor::TStoredBookmark> StoredBookmarksAt(
    const std::vector<doc::TBookmarkPlace>& places) {
    std::vector<editor::TStoredBookmark> bookmarks;
    bookmarks.reserve(places.size());
    for (const doc::TBookmarkPlace& place : places) {
        bookmarks.push_back({place.Name, {FromZeroBased(place.Line), FromZeroBased(place.Column)}});
    }
    return bookmarks;
}

std::vector<doc::TBookmarkPlace> PlacesOfStoredBookmarks(const editor::TParaList& list) {
    std::vector<doc::TBookmarkPlace> places;
    places.reserve(list.StoredBookmarks().size());
    for (const editor::TStoredBookmark& bookmark : list.StoredBookmarks()) {
        places.push_back({bookmark.Name, static_cast<std::uint32_t>(bookmark.Place.Para - 1),
                          static_cast<std::uint32_t>(bookmark.Place.Pos - 1)});
    }
    return places;
}

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
