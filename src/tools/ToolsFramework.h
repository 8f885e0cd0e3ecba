// The text tools' road in and out of the editor: the whole text copied into a list of
// paragraphs, and the list written back in place of the text.
#pragma once

#include <string>
#include <vector>

namespace tomery::editor {
class TOvcCustomEditor;
}

namespace tomery::tools {

/// One string per paragraph, without line breaks. Every tool clears and refills it.
using TWorkLines = std::vector<std::string>;

/// Fills `lines` with the editor's paragraphs, tabs expanded to the editor's tab size from the
/// paragraph's start; a final empty paragraph is left out. Word wrap is off during the read,
/// so that display lines and paragraphs coincide, and is restored afterwards.
void ReadLines(editor::TOvcCustomEditor& editor, TWorkLines& lines);

/// Replaces the editor's text (undo history, bookmarks and the modified flag go with it) by
/// `lines`, first string first, followed by one empty paragraph. Trailing blanks are trimmed
/// by the store; a line the store's limits refuse is left out.
void WriteLines(editor::TOvcCustomEditor& editor, const TWorkLines& lines);
/// As WriteLines, last string first.
void WriteLinesReversed(editor::TOvcCustomEditor& editor, const TWorkLines& lines);

}  // namespace tomery::tools
