#include "Tools_Filters.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

namespace tomery::tools {

namespace {

unsigned char Code(char c) {
    return static_cast<unsigned char>(c);
}

bool IsLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

template <typename Keep>
TWorkLines ReplaceBySpace(TWorkLines lines, const TWorkProgress& progress, Keep keep) {
    ChangeEachLine(lines, progress, [&keep](std::string& line) {
        std::replace_if(
            line.begin(), line.end(), [&keep](char c) { return !keep(c); }, ' ');
    });
    return lines;
}

/// The character an entity name stands for, or the name as written.
std::string NamedEntity(std::string_view name) {
    static constexpr std::pair<std::string_view, char> kEntities[] = {
        {"quot", '"'}, {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"nbsp", ' '}};
    for (const auto& [entity, character] : kEntities) {
        if (name == entity) {
            return std::string(1, character);
        }
    }
    return "&" + std::string(name) + ";";
}

/// One line without its tags; `inTag` carries an unclosed tag over to the next line.
std::string StripTags(std::string_view line, bool& inTag) {
    std::string out;
    std::size_t p = 0;
    while (p < line.size()) {
        if (inTag || line[p] == '<') {
            // A tag carried over from the line before may close in the very first column.
            const std::size_t close = line.find('>', inTag ? p : p + 1);
            inTag = close == std::string_view::npos;
            p = inTag ? line.size() : close + 1;
            continue;
        }
        const std::size_t semicolon = line[p] == '&' ? line.find(';', p + 1) : std::string::npos;
        if (semicolon == std::string_view::npos) {
            out.push_back(line[p++]);
        } else if (line[p + 1] == '#') {
            std::uint8_t code = 0;
            for (const char digit : line.substr(p + 2, semicolon - p - 2)) {
                code = static_cast<std::uint8_t>(code * 10 + Code(digit) - 48);
            }
            out.push_back(static_cast<char>(code));
            p = semicolon + 1;
        } else {
            out += NamedEntity(line.substr(p + 1, semicolon - p - 1));
            p = semicolon + 1;
        }
    }
    return out;
}

void AppendCode(std::string& out, char sigil, unsigned char code, int digits) {
    char text[8];
    std::snprintf(text, sizeof text, "%c%0*u", sigil, digits, static_cast<unsigned>(code));
    out += text;
}

std::string EncodeLine(std::string_view line, TAsciiCoding coding) {
    std::string out;
    out.reserve(line.size() + line.size() / 4 + 3);
    for (const char c : line) {
        const unsigned char code = Code(c);
        if (c == '\\' || c == '#' || c == '$') {
            out.push_back('\\');
            out.push_back(c);
        } else if (coding == TAsciiCoding::Extended) {
            if (code >= 127) {
                AppendCode(out, '$', code, 3);
            } else {
                out.push_back(c);
            }
        } else if (code == '\n') {
            AppendCode(out, '$', code, 3);
        } else if (code < 32) {
            AppendCode(out, '#', code, 2);
        } else {
            out.push_back(c);
        }
    }
    if (coding == TAsciiCoding::LowCoded && line.find('\x1f') == std::string_view::npos) {
        out += "#10";
    }
    return out;
}

/// The code a sequence's digits spell, each digit counting as its code minus 48.
char SpelledCode(std::string_view digits) {
    int value = 0;
    for (const char digit : digits) {
        value = value * 10 + Code(digit) - 48;
    }
    return static_cast<char>(static_cast<unsigned char>(value));
}

std::string DecodeLine(std::string_view line) {
    std::string out;
    out.reserve(line.size());
    std::size_t p = 0;
    while (p < line.size()) {
        const char c = line[p];
        const std::size_t digits = c == '#' ? 2 : c == '$' ? 3 : c == '\\' ? 1 : 0;
        if (digits == 0) {
            out.push_back(c);
            ++p;
            continue;
        }
        if (p + digits >= line.size()) {
            out.append(line.substr(p));  // cut by the line end: kept as written
            break;
        }
        const std::string_view sequence = line.substr(p + 1, digits);
        if (c == '\\') {
            out.push_back(sequence.front());
        } else if (sequence != "10" || c != '#') {
            out.push_back(SpelledCode(sequence));
        }
        p += 1 + digits;
    }
    return out;
}

}  // namespace

TWorkLines RemoveExtendedCharacters(TWorkLines lines, const TWorkProgress& progress) {
    return ReplaceBySpace(std::move(lines), progress, [](char c) { return Code(c) < 128; });
}

TWorkLines RemovePunctuation(TWorkLines lines, const TWorkProgress& progress) {
    return ReplaceBySpace(std::move(lines), progress,
                          [](char c) { return c == '\t' || c == ' ' || IsLetterOrDigit(c); });
}

TWorkLines RemoveShortWords(TWorkLines lines, std::int32_t length, const TWorkProgress& progress) {
    ChangeEachLine(lines, progress, [length](std::string& line) {
        std::string kept;
        std::size_t from = 0;
        for (std::string_view word = NextWord(line, from); !word.empty();
             word = NextWord(line, from)) {
            if (static_cast<std::int64_t>(word.size()) > length) {
                if (!kept.empty()) {
                    kept.push_back(' ');
                }
                kept.append(word);
            }
        }
        line = std::move(kept);
    });
    return lines;
}

TWorkLines RemoveHtmlTags(TWorkLines lines, const TWorkProgress& progress) {
    TWorkLines out;
    out.reserve(lines.size());
    bool inTag = false;
    TLineProgress done(progress, lines.size());
    for (const std::string& line : lines) {
        done.Advance(line.size());
        if (line.empty()) {
            out.emplace_back();
            continue;
        }
        std::string stripped = StripTags(line, inTag);
        if (!std::all_of(stripped.begin(), stripped.end(), IsBlank)) {
            out.push_back(std::move(stripped));
        }
    }
    return out;
}

TWorkLines EncodeAscii(TWorkLines lines, TAsciiCoding coding, const TWorkProgress& progress) {
    ChangeEachLine(lines, progress,
                   [coding](std::string& line) { line = EncodeLine(line, coding); });
    return lines;
}

TWorkLines DecodeAscii(TWorkLines lines, const TWorkProgress& progress) {
    ChangeEachLine(lines, progress, [](std::string& line) { line = DecodeLine(line); });
    return lines;
}

}  // namespace tomery::tools
