#include "EditMain_Bookmarks.h"

#include "ModalUi.h"
#include "OvcEdit.h"
#include "ViewBML.h"

#include <algorithm>
#include <string>

namespace tomery::app {

namespace {

}  // namespace

std::vector<editor::TStoredBookmark> StoredBookmarksAt(
    const std::vector<doc::TBookmarkPlace>& places, const editor::TParaList& list) {
    std::vector<std::size_t> order(places.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return std::pair(places[a].Line, places[a].Column) <
               std::pair(places[b].Line, places[b].Column);
    });
    // One walk through the paragraphs. A line longer than a paragraph goes on in the
    // paragraphs that continue it, its columns with it.
    std::vector<editor::TStoredBookmark> bookmarks(places.size());
    const editor::TParaNode* node = list.Head();
    std::int32_t para = 1;
    std::uint32_t line = 0;
    std::int64_t lineColumn = 0;  ///< the column of the line where `node` starts
    for (const std::size_t i : order) {
        const doc::TBookmarkPlace& place = places[i];
        while (node->Next != nullptr &&
               (line < place.Line ||
                (!editor::LineEndFollows(*node) && place.Column >= lineColumn + node->Length()))) {
            if (editor::LineEndFollows(*node)) {
                ++line;
                lineColumn = 0;
            } else {
                lineColumn += node->Length();
            }
            node = node->Next;
            ++para;
        }
        const std::int64_t column =
            line < place.Line ? node->Length() : place.Column - lineColumn;
        bookmarks[i] = {place.Name,
                        {para, static_cast<std::int32_t>(
                                   std::clamp<std::int64_t>(column, 0, node->Length()) + 1)}};
    }
    return bookmarks;
}

std::vector<doc::TBookmarkPlace> PlacesOfStoredBookmarks(const editor::TParaList& list) {
    const std::vector<editor::TStoredBookmark>& stored = list.StoredBookmarks();
    std::vector<std::size_t> order(stored.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return stored[a].Place.Para < stored[b].Place.Para; });
    std::vector<doc::TBookmarkPlace> places(stored.size());
    const editor::TParaNode* node = list.Head();
    std::int32_t para = 1;
    std::uint32_t line = 0;
    std::int64_t lineColumn = 0;
    for (const std::size_t i : order) {
        for (; para < stored[i].Place.Para && node->Next != nullptr; ++para, node = node->Next) {
            if (editor::LineEndFollows(*node)) {
                ++line;
                lineColumn = 0;
            } else {
                lineColumn += node->Length();
            }
        }
        places[i] = {stored[i].Name, line,
                     static_cast<std::uint32_t>(lineColumn + stored[i].Place.Pos - 1)};
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
