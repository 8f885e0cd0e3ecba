#include "ToolsFramework.h"

#include "CharacterSet.h"
#include "FileAccess.h"
#include "OvcEdit.h"
#include "OvcTextFile.h"
#include "TextConversion.h"
#include "TextLines.h"

#include "Tools_Lines.h"

#include <QCollator>

#include <algorithm>
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

/// A line's sort key in the C locale, whose order is that of the case-folded characters:
/// the characters' ranks in that order, the first eight also packed into a number that
/// settles most comparisons without reading the string.
struct TRankKey {
    std::uint64_t head = 0;
    std::string ranks;

    friend bool operator<(const TRankKey& a, const TRankKey& b) {
        return a.head != b.head ? a.head < b.head : a.ranks < b.ranks;
    }
};

TWorkLines SortLinesInLocale(TWorkLines lines, std::int32_t column,
                             const charset::TCharacterSet& set) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::array<char16_t, 256> folded;
    for (std::size_t byte = 0; byte < folded.size(); ++byte) {
        folded[byte] = static_cast<char16_t>(QChar::toCaseFolded(
            static_cast<char32_t>(set.Character(static_cast<unsigned char>(byte)))));
    }
    if (collator.locale().language() == QLocale::C) {
        std::array<char16_t, 256> distinct = folded;
        std::sort(distinct.begin(), distinct.end());
        std::array<char, 256> rank;
        for (std::size_t byte = 0; byte < rank.size(); ++byte) {
            rank[byte] =
                static_cast<char>(std::lower_bound(distinct.begin(), distinct.end(), folded[byte]) -
                                  distinct.begin());
        }
        return SortLines(std::move(lines), column, [&rank](std::string_view text) {
            TRankKey key{0, std::string(text.size(), '\0')};
            for (std::size_t i = 0; i < text.size(); ++i) {
                key.ranks[i] = rank[static_cast<unsigned char>(text[i])];
            }
            for (std::size_t i = 0; i < 8; ++i) {
                const auto code = i < text.size() ? static_cast<unsigned char>(key.ranks[i]) : 0u;
                key.head = key.head << 8 | code;
            }
            return key;
        });
    }
    // Folded by hand as well, so that every locale ignores case the same way; one buffer
    // serves every line.
    QString text;
    return SortLines(std::move(lines), column, [&](std::string_view key) {
        text.resize(static_cast<qsizetype>(key.size()));
        std::transform(key.begin(), key.end(), text.begin(), [&folded](char byte) {
            return QChar(folded[static_cast<unsigned char>(byte)]);
        });
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

void AppendTextFile(editor::TOvcCustomEditor& editor, const std::string& fileName,
                    std::optional<charset::TFileEncoding> encoding,
                    charset::TReplacementLog& replaced) {
    TWorkLines lines;
    ReadLines(editor, lines);
    charset::TDecodedText decoded =
        charset::DecodeText(ReadToolFile(fileName), editor.CharacterSet(), encoding);
    replaced = std::move(decoded.Replacements);
    TWorkLines appended = SplitTextLines(decoded.Bytes);
    lines.insert(lines.end(), std::make_move_iterator(appended.begin()),
                 std::make_move_iterator(appended.end()));
    WriteLines(editor, lines);
}

}  // namespace tomery::tools
