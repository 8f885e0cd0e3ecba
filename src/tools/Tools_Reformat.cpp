#include "Tools_Reformat.h"

#include <algorithm>
#include <string>

namespace tomery::tools {

namespace {

bool StartsParagraphOfItsOwn(const std::string& line) {
    return line.empty() || IsBlank(line.front());
}

}  // namespace

TWorkLines FillLines(std::string_view text, std::int64_t firstWidth, std::int64_t width) {
    TWorkLines lines;
    std::size_t from = 0;
    for (std::string_view word = NextWord(text, from); !word.empty(); word = NextWord(text, from)) {
        const std::int64_t limit = lines.size() == 1 ? firstWidth : width;
        if (!lines.empty() &&
            static_cast<std::int64_t>(lines.back().size() + 1 + word.size()) <= limit) {
            lines.back().push_back(' ');
            lines.back().append(word);
        } else {
            lines.emplace_back(word);
        }
    }
    return lines;
}

TWorkLines FixedWordwrap(TWorkLines lines, std::int32_t width, TAutoIndent autoIndent,
                         const TWorkProgress& progress) {
    TWorkLines out;
    out.reserve(lines.size());
    TLineProgress done(progress, lines.size());
    for (std::string& line : lines) {
        done.Advance(line.size());
        if (static_cast<std::int64_t>(line.size()) <= width) {
            out.push_back(std::move(line));
            continue;
        }
        const std::size_t indentLength = static_cast<std::size_t>(
            std::find_if_not(line.begin(), line.end(), IsBlank) - line.begin());
        const std::string_view indent(line.data(), indentLength);
        const std::int64_t indentedWidth = std::int64_t{width} - std::int64_t(indentLength);
        const bool indentAll = autoIndent == TAutoIndent::On;
        TWorkLines filled = FillLines(line, indentedWidth, indentAll ? indentedWidth : width);
        for (std::size_t index = 0; index < filled.size(); ++index) {
            out.push_back(index == 0 || indentAll ? std::string(indent) + filled[index]
                                                  : std::move(filled[index]));
        }
    }
    return out;
}

TWorkLines SmartWordwrap(TWorkLines lines, std::int32_t width, const TWorkProgress& progress) {
    TWorkLines out;
    out.reserve(lines.size());
    TLineProgress done(progress, lines.size());
    for (std::size_t index = 0; index < lines.size();) {
        done.Advance(lines[index].size());
        if (StartsParagraphOfItsOwn(lines[index])) {
            out.push_back(std::move(lines[index++]));
            continue;
        }
        std::string joined = std::move(lines[index++]);
        while (index < lines.size() && !StartsParagraphOfItsOwn(lines[index])) {
            done.Advance(lines[index].size());
            joined.push_back(' ');
            joined.append(lines[index++]);
        }
        if (index == lines.size()) {
            joined.push_back(' ');
        }
        if (width == 0) {
            out.push_back(std::move(joined));
        } else {
            for (std::string& filled : FillLines(joined, width, width)) {
                out.push_back(std::move(filled));
            }
        }
    }
    return out;
}

}  // namespace tomery::tools
