#include "ViewBookmarks.h"

#include <algorithm>

namespace tomery::viewer {

std::optional<TMarkerDeclaration> DeclaredMarker(const std::vector<std::string>& paragraphs) {
    std::size_t markerLine = paragraphs.size();
    while (markerLine > 0 && paragraphs[markerLine - 1].empty()) {
        --markerLine;
    }
    if (markerLine == 0) {
        return std::nullopt;
    }
    const std::string& declaration = paragraphs[--markerLine];
    const std::size_t close = declaration.find('>', 1);
    if (declaration.front() != '<' || close == std::string::npos || close == 1) {
        return std::nullopt;
    }
    return TMarkerDeclaration{declaration.substr(1, close - 1), markerLine};
}

std::vector<TBookmark> FindMarkedBookmarks(const std::vector<std::string>& paragraphs) {
    std::vector<TBookmark> bookmarks;
    const std::optional<TMarkerDeclaration> declared = DeclaredMarker(paragraphs);
    if (!declared) {
        return bookmarks;
    }
    for (std::size_t i = 0; i < declared->Line; ++i) {
        if (paragraphs[i].starts_with(declared->Marker)) {
            bookmarks.push_back({static_cast<std::int32_t>(i + 1), 1,
                                 paragraphs[i].substr(declared->Marker.size())});
        }
    }
    return bookmarks;
}

TChapterMarks PlanChapterMarks(const std::vector<std::string>& paragraphs,
                               const std::function<bool(const std::string&)>& isChapter) {
    TChapterMarks marks;
    const std::optional<TMarkerDeclaration> declared = DeclaredMarker(paragraphs);
    const std::size_t searched = declared ? declared->Line : paragraphs.size();
    if (declared) {
        marks.Marker = declared->Marker;
        marks.Declare = false;
    } else {
        marks.Marker = FreeMarker(paragraphs);
    }
    for (std::size_t i = 0; i < searched; ++i) {
        if (!paragraphs[i].starts_with(marks.Marker) && isChapter(paragraphs[i])) {
            marks.Paras.push_back(static_cast<std::int32_t>(i + 1));
        }
    }
    return marks;
}

std::string FreeMarker(const std::vector<std::string>& paragraphs) {
    // A paragraph is finite, so some run of one of these characters starts none of them.
    for (std::size_t length = 1;; ++length) {
        for (const char c : {'*', '#', '@', '~', '^'}) {
            const std::string marker(length, c);
            if (std::none_of(paragraphs.begin(), paragraphs.end(),
                             [&](const std::string& para) { return para.starts_with(marker); })) {
                return marker;
            }
        }
    }
}

}  // namespace tomery::viewer
