#include "Tools_Lines.h"

namespace tomery::tools {

namespace {

bool IsBlankOnly(std::string_view line) {
    return std::all_of(line.begin(), line.end(), IsBlank);
}

}  // namespace

TWorkLines ChangeCase(TWorkLines lines, TCaseChange change, const TWorkProgress& progress) {
    const char from = change == TCaseChange::Upper ? 'a' : 'A';
    const char to = change == TCaseChange::Upper ? 'A' : 'a';
    ChangeEachLine(lines, progress, [from, to](std::string& line) {
        for (char& c : line) {
            if (c >= from && c <= from + 25) {
                c = static_cast<char>(c - from + to);
            }
        }
    });
    return lines;
}

TWorkLines Indent(TWorkLines lines, std::int32_t n, std::size_t first, std::size_t last,
                  const TWorkProgress& progress) {
    const std::size_t end = last < lines.size() ? last + 1 : lines.size();
    TLineProgress done(progress, end > first ? end - first : 0);
    for (std::size_t index = first; index < end; ++index) {
        std::string& line = lines[index];
        if (n > 0) {
            line.insert(0, static_cast<std::size_t>(n), ' ');
        } else if (n < 0) {
            const std::int64_t drop = -static_cast<std::int64_t>(n) - 1;
            line.erase(0, static_cast<std::size_t>(std::min<std::int64_t>(drop, line.size())));
        } else {
            const auto text = std::find_if_not(line.begin(), line.end(), IsBlank);
            line.erase(line.begin(), text);
        }
        done.Advance(line.size());
    }
    return lines;
}

std::string_view SortKeyText(std::string_view line, std::int32_t column, std::string& buffer) {
    if (column <= 1 || line.size() < static_cast<std::size_t>(column)) {
        return line;
    }
    const std::size_t front = static_cast<std::size_t>(column) - 1;
    buffer.assign(line.substr(front));
    buffer.append(line.substr(0, front));
    return buffer;
}

TWorkLines Space(TWorkLines lines, TSpacing spacing) {
    if (spacing == TSpacing::Single) {
        std::erase_if(lines, IsBlankOnly);
        return lines;
    }
    const std::size_t added = spacing == TSpacing::Double ? 1 : 2;
    TWorkLines spaced;
    spaced.reserve(lines.size() * (added + 1));
    for (std::string& line : lines) {
        spaced.push_back(std::move(line));
        spaced.resize(spaced.size() + added);
    }
    return spaced;
}

TWorkLines FillInWithSpaces(TWorkLines lines, std::int32_t tabSize, const TWorkProgress& progress) {
    const std::size_t size = static_cast<std::size_t>(std::max(tabSize, 1));
    ChangeEachLine(lines, progress, [size](std::string& line) {
        if (line.find('\t') == std::string::npos) {
            return;
        }
        std::string filled;
        filled.reserve(line.size() + size);
        for (const char c : line) {
            if (c == '\t') {
                filled.append(size - filled.size() % size, ' ');
            } else {
                filled.push_back(c);
            }
        }
        line = std::move(filled);
    });
    return lines;
}

TWorkLines ReplaceWithTabs(TWorkLines lines, std::int32_t tabSize, const TWorkProgress& progress) {
    const std::size_t size = static_cast<std::size_t>(std::max(tabSize, 1));
    ChangeEachLine(lines, progress, [size](std::string& line) {
        std::string tabbed;
        tabbed.reserve(line.size());
        std::size_t pending = 0;
        for (std::size_t position = 1; position <= line.size(); ++position) {
            const char c = line[position - 1];
            if (c != ' ') {
                tabbed.append(pending, ' ');
                tabbed.push_back(c);
                pending = 0;
            } else if (position % size != 0) {
                ++pending;
            } else {
                tabbed.push_back(pending > 0 ? '\t' : ' ');
                pending = 0;
            }
        }
        line = std::move(tabbed);
    });
    return lines;
}

TWorkLines RemoveDuplicates(TWorkLines lines) {
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

}  // namespace tomery::tools
