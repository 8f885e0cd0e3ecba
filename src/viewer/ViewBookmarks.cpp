#include "ViewBookmarks.h"

namespace tomery::viewer {

std::vector<TBookmark> FindMarkedBookmarks(const std::vector<std::string>& paragraphs) {
    std::vector<TBookmark> bookmarks;
    std::size_t markerLine = paragraphs.size();
    while (markerLine > 0 && paragraphs[markerLine - 1].empty()) {
        --markerLine;
    }
    if (markerLine == 0) {
        return bookmarks;
    }
    const std::string& declaration = paragraphs[--markerLine];
    const std::size_t close = declaration.find('>', 1);
    if (declaration.front() != '<' || close == std::string::npos || close == 1) {
        return bookmarks;
    }
    const std::string marker = declaration.substr(1, close - 1);
    for (std::size_t i = 0; i < markerLine; ++i) {
        if (paragraphs[i].starts_with(marker)) {
            bookmarks.push_back(
                {static_cast<std::int32_t>(i + 1), 1, paragraphs[i].substr(marker.size())});
        }
    }
    return bookmarks;
}

}  // namespace tomery::viewer
