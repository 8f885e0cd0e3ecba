#include "DiffComp.h"

#include "FileReplacement.h"

#include <algorithm>

namespace tomery::compare {

std::string NormalizedLine(std::string_view line, TCompareOptions options) {
    std::string normalized;
    normalized.reserve(line.size());
    for (const char c : line) {
        const auto code = static_cast<unsigned char>(c);
        if (options.IgnoreBlanks && code <= 32) {
            continue;
        }
        normalized.push_back(
            options.IgnoreCase && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    }
    return normalized;
}

std::int32_t LineHash(std::string_view normalized) {
    std::int32_t hash = 0;
    for (auto c = normalized.rbegin(); c != normalized.rend(); ++c) {
        hash += static_cast<unsigned char>(*c);
        hash = hash > kHashThreshold ? hash / 2 + 1 : hash * 2;
    }
    return hash;
}

TDiffComp::TDiffComp()
    : symbols_(kSymbolTableSize), newLines_(kMaxLines + 2), oldLines_(kMaxLines + 2) {}

void TDiffComp::Reset(TCompareOptions options) {
    options_ = options;
    std::fill(symbols_.begin(), symbols_.end(), TSymbol{});
    std::fill(newLines_.begin(), newLines_.end(), TLineEntry{});
    std::fill(oldLines_.begin(), oldLines_.end(), TLineEntry{});
    newCount_ = 0;
    oldCount_ = 0;
    SetEndMarkers();
}

std::uint16_t TDiffComp::FindSymbol(const std::string& line) {
    std::string key = NormalizedLine(line, options_);
    const std::int32_t hash = LineHash(key);
    // At most 2 * kMaxLines entries are ever taken, so the probe always meets a free one.
    for (std::size_t index = static_cast<std::size_t>(hash) % kSymbolTableSize;;
         index = (index + 1) % kSymbolTableSize) {
        TSymbol& symbol = symbols_[index];
        if (symbol.Hash == hash && symbol.Key == key) {
            return static_cast<std::uint16_t>(index);
        }
        if (symbol.Hash == -1) {
            symbol.Hash = hash;
            symbol.Text = line;
            symbol.Key = std::move(key);
            return static_cast<std::uint16_t>(index);
        }
    }
}

bool TDiffComp::ReadNew(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        if (newCount_ == kMaxLines) {
            SetEndMarkers();
            return false;
        }
        const std::uint16_t symbol = FindSymbol(line);
        TSymbol& entry = symbols_[symbol];
        entry.NewCount = static_cast<std::uint8_t>(std::min(entry.NewCount + 1, 2));
        newLines_[++newCount_] = {false, symbol, 0};
    }
    SetEndMarkers();
    return true;
}

bool TDiffComp::ReadOld(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        if (oldCount_ == kMaxLines) {
            SetEndMarkers();
            return false;
        }
        const std::uint16_t symbol = FindSymbol(line);
        TSymbol& entry = symbols_[symbol];
        entry.OldLine = static_cast<std::uint16_t>(++oldCount_);
        entry.OldCount = static_cast<std::uint8_t>(std::min(entry.OldCount + 1, 2));
        oldLines_[oldCount_] = {false, symbol, 0};
    }
    SetEndMarkers();
    return true;
}

void TDiffComp::SetEndMarkers() {
    newLines_[newCount_ + 1] = {true, 0, kNoLine};
    oldLines_[oldCount_ + 1] = {true, 0, kNoLine};
}

void TDiffComp::Link(std::size_t newLine, std::size_t oldLine) {
    newLines_[newLine].Linked = true;
    newLines_[newLine].Partner = static_cast<std::uint16_t>(oldLine);
    oldLines_[oldLine].Linked = true;
    oldLines_[oldLine].Partner = static_cast<std::uint16_t>(newLine);
}

void TDiffComp::Match() {
    if (LinkIdenticalFiles()) {
        return;
    }
    LinkUniqueLines();
    ExtendForward();
    ExtendBackward();
    ResolveMovedBlocks();
}

bool TDiffComp::LinkIdenticalFiles() {
    if (newCount_ != oldCount_) {
        return false;
    }
    for (std::size_t i = 1; i <= newCount_; ++i) {
        if (newLines_[i].Symbol != oldLines_[i].Symbol) {
            return false;
        }
    }
    // Unique lines alone would leave a file of nothing but repeated lines unmatched even
    // against itself; equal files are equal line by line.
    for (std::size_t i = 1; i <= newCount_; ++i) {
        Link(i, i);
    }
    return true;
}

void TDiffComp::LinkUniqueLines() {
    for (std::size_t i = 1; i <= newCount_; ++i) {
        const TSymbol& symbol = symbols_[newLines_[i].Symbol];
        if (symbol.NewCount == 1 && symbol.OldCount == 1) {
            Link(i, symbol.OldLine);
        }
    }
}

void TDiffComp::ExtendForward() {
    for (std::size_t i = 1; i + 1 <= newCount_; ++i) {
        if (!newLines_[i].Linked) {
            continue;
        }
        const std::size_t j = newLines_[i].Partner;
        if (j < oldCount_ && !newLines_[i + 1].Linked && !oldLines_[j + 1].Linked &&
            newLines_[i + 1].Symbol == oldLines_[j + 1].Symbol) {
            Link(i + 1, j + 1);
        }
    }
}

void TDiffComp::ExtendBackward() {
    for (std::size_t i = newCount_; i >= 2; --i) {
        if (!newLines_[i].Linked) {
            continue;
        }
        const std::size_t j = newLines_[i].Partner;
        if (j > 1 && !newLines_[i - 1].Linked && !oldLines_[j - 1].Linked &&
            newLines_[i - 1].Symbol == oldLines_[j - 1].Symbol) {
            Link(i - 1, j - 1);
        }
    }
}

std::size_t TDiffComp::RisingRun(const std::vector<TLineEntry>& lines, std::size_t count,
                                 std::size_t line) {
    std::size_t length = 0;
    while (line + length <= count && lines[line + length].Linked &&
           lines[line + length].Partner == lines[line].Partner + length) {
        ++length;
    }
    return length;
}

void TDiffComp::UnlinkRun(std::vector<TLineEntry>& lines, std::vector<TLineEntry>& partners,
                          std::size_t line, std::size_t length) {
    for (std::size_t k = line; k < line + length; ++k) {
        lines[k].Linked = false;
        partners[lines[k].Partner].Linked = false;
    }
}

void TDiffComp::ResolveMovedBlocks() {
    std::size_t i = 1;
    std::size_t k = 1;
    for (;;) {
        while (!oldLines_[i].Linked) {
            ++i;
        }
        while (!newLines_[k].Linked) {
            ++k;
        }
        if (i == oldCount_ + 1) {
            return;
        }
        if (oldLines_[i].Partner == k) {
            ++i;
            ++k;
            continue;
        }
        // Every linked {new} line before k is linked to an {old} line before i, so old line i
        // is linked further down and k has not reached the end marker.
        const std::size_t oldRun = RisingRun(oldLines_, oldCount_, i);
        const std::size_t newRun = RisingRun(newLines_, newCount_, k);
        if (oldRun < newRun) {
            UnlinkRun(oldLines_, newLines_, i, oldRun);
            i += oldRun;
        } else {
            UnlinkRun(newLines_, oldLines_, k, newRun);
            k += newRun;
        }
    }
}

bool TDiffComp::AllLinked() const {
    const auto linked = [](const TLineEntry& line) { return line.Linked; };
    return std::all_of(newLines_.begin() + 1, newLines_.begin() + newCount_ + 1, linked) &&
           std::all_of(oldLines_.begin() + 1, oldLines_.begin() + oldCount_ + 1, linked);
}

std::vector<std::string> TDiffComp::LogLines(const std::string& newName,
                                             const std::string& oldName) const {
    std::vector<std::string> log{"Compared " + newName + " as {new}",
                                 "With     " + oldName + " as {old}", ""};
    if (AllLinked()) {
        log.emplace_back(kIdenticalLine);
        log.emplace_back();
        return log;
    }
    std::size_t i = 1;
    std::size_t k = 1;
    while (i <= oldCount_ || k <= newCount_) {
        const std::size_t before = i + k;
        for (; i <= oldCount_ && !oldLines_[i].Linked; ++i) {
            log.push_back("{old} " + symbols_[oldLines_[i].Symbol].Text);
        }
        for (; k <= newCount_ && !newLines_[k].Linked; ++k) {
            log.push_back("{new} " + symbols_[newLines_[k].Symbol].Text);
        }
        for (; i <= oldCount_ && k <= newCount_ && oldLines_[i].Linked && newLines_[k].Linked;
             ++i, ++k) {
            const std::string& text = symbols_[newLines_[k].Symbol].Text;
            log.push_back(text.empty() ? std::string() : "      " + text);
        }
        if (i + k == before) {
            break;  // the links are not in order: Match() has not run since the last read
        }
    }
    return log;
}

bool WriteComparisonLog(const std::string& path, const std::vector<std::string>& lines) {
    FileReplacement file(path);
    if (!file.IsOpen()) {
        return false;
    }
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return file.Write(text.data(), text.size()) && file.Commit();
}

}  // namespace tomery::compare
