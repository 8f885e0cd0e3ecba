// The text tools' road in and out of the editor: the whole text copied into a list of
// paragraphs, and the list built into a text of its own that then takes the editor's text's
// place, so that the editor shows its text unchanged until the tool is done.
#pragma once

#include "FileEncoding.h"
#include "ReplacementLog.h"
#include "Tools.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace tomery::charset {
class TCharacterSet;
}

namespace tomery::editor {
class TOvcCustomEditor;
class TParaList;
}  // namespace tomery::editor

namespace tomery::tools {

/// Fills `lines` with the editor's paragraphs, tabs expanded to the editor's tab size from the
/// line's start; a final empty paragraph is left out, and a paragraph that continues a
/// line too long for one is read as part of that line. Paragraphs are read whole, whatever
/// word wrap shows. `progress` hears how many paragraphs are read. Only the first `maxLines`
/// lines are read.
inline constexpr std::size_t kAllLines = static_cast<std::size_t>(-1);
void ReadLines(editor::TOvcCustomEditor& editor, TWorkLines& lines,
               const TWorkProgress& progress = {}, std::size_t maxLines = kAllLines);
/// As ReadLines, but every line as it is, tabs included (for the Show ASCII codings).
void ReadRawLines(editor::TOvcCustomEditor& editor, TWorkLines& lines,
                  const TWorkProgress& progress = {});

/// The text that replaces the editor's: `lines`, first string first, followed by one empty
/// paragraph, built in a store of its own with the editor's settings while the editor keeps
/// its text. Trailing blanks are trimmed as the editor trims them; a line the store's limits
/// refuse is left out. `progress` hears how many lines are written.
std::unique_ptr<editor::TParaList> BuildText(editor::TOvcCustomEditor& editor,
                                             const TWorkLines& lines,
                                             const TWorkProgress& progress = {});
/// Puts a built text in place of the editor's (undo history, bookmarks and the modified flag
/// go with it; the caret and the first line shown are at the start) and repaints.
void ReplaceText(editor::TOvcCustomEditor& editor, std::unique_ptr<editor::TParaList> text);

/// How a tool reads the text: tabs expanded (ReadLines) or kept (ReadRawLines).
enum class TTabs { Expanded, Kept };

/// ReadLines (or ReadRawLines), `transform` (a function from the lines and a progress to the
/// lines to write), BuildText: the three passes share `progress` a third each.
template <typename Transform>
std::unique_ptr<editor::TParaList> TransformText(editor::TOvcCustomEditor& editor,
                                                 Transform transform,
                                                 const TWorkProgress& progress = {},
                                                 TTabs tabs = TTabs::Expanded) {
    TWorkLines lines;
    if (tabs == TTabs::Expanded) {
        ReadLines(editor, lines, PassProgress(progress, 0, 3));
    } else {
        ReadRawLines(editor, lines, PassProgress(progress, 0, 3));
    }
    return BuildText(editor, transform(std::move(lines), PassProgress(progress, 1, 3)),
                     PassProgress(progress, 2, 3));
}

/// The lines sorted at `column` (see SortLines) in the order of the user's locale, without
/// regard to case; their bytes stand for the characters of `set` (the editor's). `progress`
/// hears how far the sort got.
TWorkLines SortLinesInLocale(TWorkLines lines, std::int32_t column,
                             const charset::TCharacterSet& set, const TWorkProgress& progress = {});

/// A file's bytes for a tool. Raises EInOutError when the file cannot be read.
std::string ReadToolFile(const std::string& fileName);

/// The editor's text (as ReadLines reads it) followed by the lines of a text file (see
/// SplitTextLines), read into the editor's set as its bytes tell (a UTF-8 text converted) or
/// as `encoding` says, built as BuildText builds. Raises EInOutError when the file cannot be
/// read. What the set lacks is counted in `replaced`. `progress` hears of the reading and of
/// the writing of the lines, half each.
std::unique_ptr<editor::TParaList> AppendTextFile(editor::TOvcCustomEditor& editor,
                                                  const std::string& fileName,
                                                  std::optional<charset::TFileEncoding> encoding,
                                                  charset::TReplacementLog& replaced,
                                                  const TWorkProgress& progress = {});

}  // namespace tomery::tools
