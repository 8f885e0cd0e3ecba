#include "ToolsFramework.h"

#include "FileAccess.h"
#include "OvcCharset.h"
#include "OvcEdit.h"
#include "OvcTextFile.h"

#include "Tools_Lines.h"

#include <QCollator>

#include <array>
#include <cerrno>
#include <filesystem>

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

/// Word wrap is off while the lines are read, so that display lines and paragraphs coincide
/// and the store's line cache serves the sequential reads.
template <typename ReadLine>
void ReadEveryLine(editor::TOvcCustomEditor& editor, TWorkLines& lines, ReadLine readLine) {
    lines.clear();
    const bool wordWrap = editor.WordWrap();
    editor.SetWordWrap(false);
    const std::int32_t count = editor.LineCount();
    lines.reserve(static_cast<std::size_t>(count));
    for (std::int32_t line = 1; line <= count; ++line) {
        if (line == count && editor.LineLength(line) == 0) {
            break;
        }
        lines.push_back(readLine(line));
    }
    editor.SetWordWrap(wordWrap);
}

}  // namespace

void ReadLines(editor::TOvcCustomEditor& editor, TWorkLines& lines) {
    ReadEveryLine(editor, lines,
                  [&editor](std::int32_t line) { return editor.GetStringLine(line); });
}

void ReadRawLines(editor::TOvcCustomEditor& editor, TWorkLines& lines) {
    ReadEveryLine(editor, lines,
                  [&editor](std::int32_t para) { return std::string(editor.GetPara(para)); });
}

void WriteLines(editor::TOvcCustomEditor& editor, const TWorkLines& lines) {
    WriteRange(editor, lines.begin(), lines.end());
}

void WriteLinesReversed(editor::TOvcCustomEditor& editor, const TWorkLines& lines) {
    WriteRange(editor, lines.rbegin(), lines.rend());
}

TWorkLines SortLinesInLocale(TWorkLines lines, std::int32_t column) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    // Folded by hand: the collation of the C locale compares codes whatever its case
    // sensitivity. One table and one reused buffer keep the per-line cost down.
    std::array<QChar, 256> folded;
    for (std::size_t byte = 0; byte < folded.size(); ++byte) {
        folded[byte] = QChar(QChar::toCaseFolded(
            static_cast<char32_t>(editor::Cp1252ToUnicode(static_cast<unsigned char>(byte)))));
    }
    QString text;
    return SortLines(std::move(lines), column, [&](std::string_view key) {
        text.resize(static_cast<qsizetype>(key.size()));
        QChar* out = text.data();
        for (const char byte : key) {
            *out++ = folded[static_cast<unsigned char>(byte)];
        }
        return collator.sortKey(text);
    });
}

std::string ReadToolFile(const std::string& fileName) {
    const auto bytes = ReadWholeFile(fileName);
    if (!bytes) {
        std::error_code error;
        throw editor::EInOutError(std::filesystem::exists(fileName, error) ? EACCES : ENOENT);
    }
    return std::string(bytes->begin(), bytes->end());
}

void AppendTextFile(editor::TOvcCustomEditor& editor, const std::string& fileName) {
    TWorkLines lines;
    ReadLines(editor, lines);
    TWorkLines appended = SplitFileLines(ReadToolFile(fileName));
    lines.insert(lines.end(), std::make_move_iterator(appended.begin()),
                 std::make_move_iterator(appended.end()));
    WriteLines(editor, lines);
}

}  // namespace tomery::tools
