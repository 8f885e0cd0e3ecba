#include "StoredBookmarkPlaces.h"

#include <algorithm>

namespace tomery::viewer {

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

}  // namespace tomery::viewer
