// The bookmarks a DOC file stores, between the DOC reader's places (lines and columns of the
// decoded text) and a paragraph list, where a line longer than a paragraph goes on in the
// paragraphs that continue it. Both the main window and the viewer place them this way.
#pragma once

#include "DocBookmarks.h"
#include "OvcEditP.h"

#include <vector>

namespace tomery::viewer {

/// The DOC reader's places (lines and columns from 0) as stored bookmarks in the paragraphs
/// of `list`; a column past what the line kept (trimmed blanks, its line end) stands at the
/// line's end.
std::vector<editor::TStoredBookmark> StoredBookmarksAt(
    const std::vector<doc::TBookmarkPlace>& places, const editor::TParaList& list);

/// The stored bookmarks of `list` as such places.
std::vector<doc::TBookmarkPlace> PlacesOfStoredBookmarks(const editor::TParaList& list);

}  // namespace tomery::viewer
