// The bookmarks a document's text declares with a marker, as the viewer lists them. No
// toolkit here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
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

/// The marker a text declares on its last non-empty paragraph, and that paragraph's index.
struct TMarkerDeclaration {
    std::string Marker;
    std::size_t Line = 0;  ///< 0-based
};
std::optional<TMarkerDeclaration> DeclaredMarker(const std::vector<std::string>& paragraphs);

/// How to make the chapter lines of a text marker bookmarks.
struct TChapterMarks {
    std::string Marker;               ///< the text's own marker, or one that starts no line
    std::vector<std::int32_t> Paras;  ///< 1-based chapter lines that lack the marker yet
    bool Declare = true;              ///< the text declares none: "<" + Marker + ">" goes last
};

/// The chapter lines (those `isChapter` takes) before the marker line of `paragraphs` (a final
/// empty paragraph may be left in), to be marked with the marker the text declares or, when
/// it declares none, with a new one.
TChapterMarks PlanChapterMarks(const std::vector<std::string>& paragraphs,
                               const std::function<bool(const std::string&)>& isChapter);

/// The shortest of "*", "#", "@", "~", "^", "**" ... that starts none of `paragraphs`.
std::string FreeMarker(const std::vector<std::string>& paragraphs);

}  // namespace tomery::viewer
