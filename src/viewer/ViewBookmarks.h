// The bookmarks a document's text declares with a marker, as the viewer lists them. No
// toolkit here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tomery::viewer {

struct TBookmark {
    std::int32_t Para = 1;  ///< 1-based paragraph (a line of the file, whatever the wrap)
    std::int32_t Pos = 1;   ///< 1-based position in the paragraph; 1 for marker bookmarks
    std::string Title;
};

/// The marker bookmarks of `paragraphs` (a final empty paragraph already left out). The last
/// non-empty paragraph declares the marker as "<marker>..."; every paragraph before it that
/// begins with the marker (exactly, case-sensitive) is a bookmark titled with the rest of
/// the paragraph. Document order, duplicates kept; none without a valid marker line.
std::vector<TBookmark> FindMarkedBookmarks(const std::vector<std::string>& paragraphs);

}  // namespace tomery::viewer
