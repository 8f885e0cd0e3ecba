#include "ToolsFramework.h"

#include "OvcEdit.h"

namespace tomery::tools {

namespace {

template <typename Iterator>
void WriteRange(editor::TOvcCustomEditor& editor, Iterator first, Iterator last) {
    editor.ResetText(false);
    for (; first != last; ++first) {
        // A refused line is simply missing: the store's limits are the tools' limits.
        static_cast<void>(editor.AppendLine(*first));
    }
    editor.RefreshAll(true);
}

}  // namespace

void ReadLines(editor::TOvcCustomEditor& editor, TWorkLines& lines) {
    lines.clear();
    const bool wordWrap = editor.WordWrap();
    editor.SetWordWrap(false);
    const std::int32_t count = editor.LineCount();
    lines.reserve(static_cast<std::size_t>(count));
    for (std::int32_t line = 1; line <= count; ++line) {
        if (line == count && editor.LineLength(line) == 0) {
            break;
        }
        lines.push_back(editor.GetStringLine(line));
    }
    editor.SetWordWrap(wordWrap);
}

void WriteLines(editor::TOvcCustomEditor& editor, const TWorkLines& lines) {
    WriteRange(editor, lines.begin(), lines.end());
}

void WriteLinesReversed(editor::TOvcCustomEditor& editor, const TWorkLines& lines) {
    WriteRange(editor, lines.rbegin(), lines.rend());
}

}  // namespace tomery::tools
