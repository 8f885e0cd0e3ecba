// The text tools' road in and out of the editor: the whole text copied into a list of
// paragraphs, and the list written back in place of the text.
#pragma once

#include "FileEncoding.h"
#include "ReplacementLog.h"
#include "Tools.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace tomery::charset {
class TCharacterSet;
}

namespace tomery::editor {
class TOvcCustomEditor;
}

namespace tomery::tools {

/// Fills `lines` with the editor's paragraphs, tabs expanded to the editor's tab size from the
/// line's start; a final empty paragraph is left out, and a paragraph that continues a
/// line too long for one is read as part of that line. Paragraphs are read whole, whatever
/// word wrap shows.
void ReadLines(editor::TOvcCustomEditor& editor, TWorkLines& lines);
/// As ReadLines, but every line as it is, tabs included (for the Show ASCII codings).
void ReadRawLines(editor::TOvcCustomEditor& editor, TWorkLines& lines);

/// Replaces the editor's text (undo history, bookmarks and the modified flag go with it) by
/// `lines`, first string first, followed by one empty paragraph. Trailing blanks are trimmed
/// by the store; a line the store's limits refuse is left out.
void WriteLines(editor::TOvcCustomEditor& editor, const TWorkLines& lines);
/// As WriteLines, last string first.
void WriteLinesReversed(editor::TOvcCustomEditor& editor, const TWorkLines& lines);

/// ReadLines, `transform` (a function from the lines to the lines to write), WriteLines.
template <typename Transform>
void TransformText(editor::TOvcCustomEditor& editor, Transform transform) {
    TWorkLines lines;
    ReadLines(editor, lines);
    WriteLines(editor, transform(std::move(lines)));
}

/// The lines sorted at `column` (see SortLines) in the order of the user's locale, without
/// regard to case; their bytes stand for the characters of `set` (the editor's).
TWorkLines SortLinesInLocale(TWorkLines lines, std::int32_t column,
                             const charset::TCharacterSet& set);

/// A file's bytes for a tool. Raises EInOutError when the file cannot be read.
std::string ReadToolFile(const std::string& fileName);

/// Writes the editor's text (as ReadLines reads it) followed by the lines of a text file (see
/// SplitTextLines), read into the editor's set as its bytes tell (a UTF-8 text converted) or
/// as `encoding` says. Raises EInOutError, leaving the text as it was, when the file cannot
/// be read. What the set lacks is counted in `replaced`.
void AppendTextFile(editor::TOvcCustomEditor& editor, const std::string& fileName,
                    std::optional<charset::TFileEncoding> encoding,
                    charset::TReplacementLog& replaced);

}  // namespace tomery::tools
