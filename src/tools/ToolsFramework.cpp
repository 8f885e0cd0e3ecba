#include "ToolsFramework.h"

#include "CharacterSet.h"
#include "FileAccess.h"
#include "OvcEdit.h"
#include "OvcEditCalc.h"
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

/// The text's lines as they are saved: a paragraph that continues a line is read as part of
/// it. The paragraphs are read whole, whatever word wrap shows.
void ReadEveryLine(editor::TOvcCustomEditor& editor, TWorkLines& lines) {
    lines.clear();
    lines.reserve(static_cast<std::size_t>(editor.ParaCount()));
    for (const editor::TParaNode* para = editor.ParaList().Head(); para != nullptr;
         para = para->Next) {
        if (para->Next == nullptr && para->Length() == 0) {
            break;
        }
        if (para->ContinuesLine() && !lines.empty()) {
            lines.back().append(para->Text());
        } else {
            lines.emplace_back(para->Text());
        }
    }
}

}  // namespace

void ReadLines(editor::TOvcCustomEditor& editor, TWorkLines& lines) {
    ReadEveryLine(editor, lines);
    for (std::string& line : lines) {
        if (line.find('\t') != std::string::npos) {
            line = editor::ExpandTabs(line, editor.TabSize());
        }
    }
}

void ReadRawLines(editor::TOvcCustomEditor& editor, TWorkLines& lines) {
    ReadEveryLine(editor, lines);
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
