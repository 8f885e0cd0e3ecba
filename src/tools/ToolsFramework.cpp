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

/// The text's lines as they are saved: a paragraph that continues a line is read as part of
/// it. The paragraphs are read whole, whatever word wrap shows.
void ReadEveryLine(editor::TOvcCustomEditor& editor, TWorkLines& lines,
                   const TWorkProgress& progress, std::size_t maxLines = kAllLines) {
    lines.clear();
    lines.reserve(std::min(static_cast<std::size_t>(editor.ParaCount()), maxLines));
    TLineProgress done(progress, static_cast<std::uint64_t>(editor.ParaCount()));
    for (const editor::TParaNode* para = editor.ParaList().Head(); para != nullptr;
         para = para->Next) {
        if (para->Next == nullptr && para->Length() == 0) {
            break;
        }
        if (para->ContinuesLine() && !lines.empty()) {
            lines.back().append(para->Text());
        } else if (lines.size() == maxLines) {
            break;
        } else {
            lines.emplace_back(para->Text());
        }
        done.Advance(para->Length());
    }
}

}  // namespace

void ReadLines(editor::TOvcCustomEditor& editor, TWorkLines& lines, const TWorkProgress& progress,
               std::size_t maxLines) {
    ReadEveryLine(editor, lines, progress, maxLines);
    for (std::string& line : lines) {
        if (line.find('\t') != std::string::npos) {
            line = editor::ExpandTabs(line, editor.TabSize());
        }
    }
}

void ReadRawLines(editor::TOvcCustomEditor& editor, TWorkLines& lines,
                  const TWorkProgress& progress) {
    ReadEveryLine(editor, lines, progress);
}

std::unique_ptr<editor::TParaList> BuildText(editor::TOvcCustomEditor& editor,
                                             const TWorkLines& lines,
                                             const TWorkProgress& progress) {
    std::unique_ptr<editor::TParaList> text = editor.NewParaList();
    const editor::TTrimBlanks trim =
        editor.TrimWhiteSpace() ? editor::TTrimBlanks::Yes : editor::TTrimBlanks::No;
    TLineProgress done(progress, lines.size());
    for (const std::string& line : lines) {
        // A refused line is simply missing: the store's limits are the tools' limits.
        static_cast<void>(text->AppendLine(line, trim));
        done.Advance(line.size());
    }
    return text;
}

void ReplaceText(editor::TOvcCustomEditor& editor, std::unique_ptr<editor::TParaList> text) {
    editor.SwapParaList(std::move(text));
    editor.RefreshAll(true);
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
                             const charset::TCharacterSet& set, const TWorkProgress& progress) {
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
        const auto rankKey = [&rank](std::string_view text) {
            TRankKey key{0, std::string(text.size(), '\0')};
            for (std::size_t i = 0; i < text.size(); ++i) {
                key.ranks[i] = rank[static_cast<unsigned char>(text[i])];
            }
            for (std::size_t i = 0; i < 8; ++i) {
                const auto code = i < text.size() ? static_cast<unsigned char>(key.ranks[i]) : 0u;
                key.head = key.head << 8 | code;
            }
            return key;
        };
        return SortLines(std::move(lines), column, rankKey, progress);
    }
    // Folded by hand as well, so that every locale ignores case the same way; one buffer
    // serves every line.
    QString text;
    const auto collationKey = [&](std::string_view key) {
        text.resize(static_cast<qsizetype>(key.size()));
        std::transform(key.begin(), key.end(), text.begin(), [&folded](char byte) {
            return QChar(folded[static_cast<unsigned char>(byte)]);
        });
        return collator.sortKey(text);
    };
    return SortLines(std::move(lines), column, collationKey, progress);
}

std::string ReadToolFile(const std::string& fileName) {
    const auto bytes = ReadWholeFile(fileName);
    if (!bytes) {
        std::error_code error;
        throw editor::EInOutError(std::filesystem::exists(fileName, error) ? EACCES : ENOENT);
    }
    return std::string(bytes->begin(), bytes->end());
}

std::unique_ptr<editor::TParaList> AppendTextFile(editor::TOvcCustomEditor& editor,
                                                  const std::string& fileName,
                                                  std::optional<charset::TFileEncoding> encoding,
                                                  charset::TReplacementLog& replaced,
                                                  const TWorkProgress& progress) {
    TWorkLines lines;
    ReadLines(editor, lines, PassProgress(progress, 0, 2));
    charset::TDecodedText decoded =
        charset::DecodeText(ReadToolFile(fileName), editor.CharacterSet(), encoding);
    replaced = std::move(decoded.Replacements);
    TWorkLines appended = SplitTextLines(decoded.Bytes);
    lines.insert(lines.end(), std::make_move_iterator(appended.begin()),
                 std::make_move_iterator(appended.end()));
    return BuildText(editor, lines, PassProgress(progress, 1, 2));
}

}  // namespace tomery::tools
