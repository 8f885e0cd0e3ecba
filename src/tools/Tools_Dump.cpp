#include "Tools_Dump.h"

#include <algorithm>
#include <cstdio>

namespace tomery::tools {

namespace {

std::string Formatted(const char* format, auto... values) {
    const int length = std::snprintf(nullptr, 0, format, values...);
    std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, values...);
    text.pop_back();
    return text;
}

std::string DumpLine(std::int64_t offset, std::string_view bytes, std::size_t bytesPerLine) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string line = Formatted("%8lld  ", static_cast<long long>(offset));
    line.reserve(line.size() + bytesPerLine * 4 + 1);
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        line.push_back(kHex[code >> 4]);
        line.push_back(kHex[code & 15]);
        line.push_back(' ');
    }
    line.append((bytesPerLine - bytes.size()) * 3 + 1, ' ');
    for (const char byte : bytes) {
        const auto code = static_cast<unsigned char>(byte);
        line.push_back(code < 32 || code > 126 ? ' ' : byte);
    }
    return line;
}

}  // namespace

TWorkLines AppendDump(TWorkLines lines, const std::string& fileName, std::string_view bytes,
                      std::int32_t bytesPerLine, const TWorkProgress& progress) {
    lines.push_back("Dump File - " + fileName);
    lines.emplace_back();
    if (bytesPerLine < 1) {
        return lines;
    }
    const auto step = static_cast<std::size_t>(bytesPerLine);
    lines.reserve(lines.size() + bytes.size() / step + 1);
    TLineProgress done(progress, (bytes.size() + step - 1) / step);
    for (std::size_t offset = 0; offset < bytes.size(); offset += step) {
        lines.push_back(
            DumpLine(static_cast<std::int64_t>(offset), bytes.substr(offset, step), step));
        done.Advance(lines.back().size());
    }
    return lines;
}

TWorkLines AppendSizeReport(TWorkLines lines, const TNumberReader& readNumber,
                            const TWorkProgress& progress) {
    int count = 0;
    double sum = 0;
    TLineProgress done(progress, lines.size());
    for (const std::string& line : lines) {
        done.Advance(line.size());
        const std::size_t at = line.find('@');
        if (at == std::string::npos) {
            continue;
        }
        const std::string text = line.substr(at + 1);
        const std::optional<double> size = readNumber(text);
        if (!size) {
            throw EConvertError("'" + text + "' is not a valid floating point value");
        }
        ++count;
        sum += *size;
    }
    lines.insert(lines.end(), {"", "", "Results", "-------",
                               Formatted("  Total number of apps in the list: %d", count),
                               Formatted("  Sum of all app sizes: %.0f MB", sum),
                               Formatted("  Number of CD's required: %.1f", sum / 650)});
    return lines;
}

TWorkLines AppendCharacterList(TWorkLines lines) {
    lines.push_back("List of ASCII characters");
    lines.emplace_back();
    for (int code = 1; code <= 255; ++code) {
        lines.push_back(Formatted("%3d -> ", code) + static_cast<char>(code));
    }
    return lines;
}

}  // namespace tomery::tools
