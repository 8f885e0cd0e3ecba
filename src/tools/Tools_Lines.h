// The line tools: change case, indent, sort, spacing, tabulate and remove duplicates. Each
// takes the lines (tabs already expanded by the read, unless a tool says otherwise) and
// returns the lines to write back; the slower ones tell a progress how many lines are done.
#pragma once

#include "Tools.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace tomery::tools {

enum class TCaseChange { Lower, Upper };
/// Only the letters A to Z and a to z change; bytes above 127 stay as they are.
TWorkLines ChangeCase(TWorkLines lines, TCaseChange change, const TWorkProgress& progress = {});

/// Changes the lines `first` to `last` (0-based, both included, cut at the end of the list):
/// n > 0 puts n spaces in front; n < 0 keeps each line from its character -n on (1-based), so
/// -1 changes nothing; n = 0 removes the leading blanks.
TWorkLines Indent(TWorkLines lines, std::int32_t n, std::size_t first, std::size_t last,
                  const TWorkProgress& progress = {});

/// What a line is sorted by at `column` (1-based): its text from the column on followed by
/// the part before it. Lines shorter than the column, and columns up to 1, give the line
/// itself; a rotated line is built in `buffer`, which the result may view.
std::string_view SortKeyText(std::string_view line, std::int32_t column, std::string& buffer);

/// The lines in ascending order of their sort keys. `makeKey` turns a line's SortKeyText into
/// a key ordered by operator< (a collation's sort key, say); it is called once per line.
/// The order of lines with equal keys is not kept. `progress` hears of the keys made, then of
/// the comparisons of the sort against an estimate of their number.
template <typename MakeKey>
TWorkLines SortLines(TWorkLines lines, std::int32_t column, MakeKey makeKey,
                     const TWorkProgress& progress = {}) {
    using TKey = decltype(makeKey(std::string_view()));
    std::vector<std::pair<TKey, std::size_t>> keyed;
    keyed.reserve(lines.size());
    std::string buffer;
    const TWorkProgress keying = PassProgress(progress, 0, 2);
    TLineProgress keysMade(keying, lines.size());
    for (std::size_t index = 0; index < lines.size(); ++index) {
        keyed.emplace_back(makeKey(SortKeyText(lines[index], column, buffer)), index);
        keysMade.Advance(lines[index].size());
    }
    const TWorkProgress sorting = PassProgress(progress, 1, 2);
    TLineProgress compared(sorting, lines.size() * (std::bit_width(lines.size()) + 1));
    const auto less = [&compared](const auto& a, const auto& b) {
        compared.Advance(0);
        return a.first < b.first;
    };
    std::vector<std::size_t> order;
    order.reserve(lines.size());
    if constexpr (std::is_nothrow_move_constructible_v<TKey>) {
        // Keys that move cheaply are sorted in place, where the comparisons find them.
        std::sort(keyed.begin(), keyed.end(), less);
        for (const auto& [key, index] : keyed) {
            order.push_back(index);
        }
    } else {
        // Keys that would be copied at every move stay where they are.
        order.resize(lines.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::sort(order.begin(), order.end(),
                  [&](std::size_t a, std::size_t b) { return less(keyed[a], keyed[b]); });
    }
    keyed.clear();
    TWorkLines sorted;
    sorted.reserve(lines.size());
    for (const std::size_t index : order) {
        sorted.push_back(std::move(lines[index]));
    }
    return sorted;
}

enum class TSpacing { Single, Double, Triple };
/// Single drops every line that is empty or only blank; Double and Triple add one or two
/// empty lines after every line, empty ones included.
TWorkLines Space(TWorkLines lines, TSpacing spacing);

/// Each tab becomes spaces up to the next multiple of `tabSize` (columns counted from 0).
TWorkLines FillInWithSpaces(TWorkLines lines, std::int32_t tabSize,
                            const TWorkProgress& progress = {});
/// Within each tab cell, a run of two or more spaces reaching the cell's last column becomes
/// a tab; other spaces stay, and spaces at the end of a line go.
TWorkLines ReplaceWithTabs(TWorkLines lines, std::int32_t tabSize,
                           const TWorkProgress& progress = {});

/// Runs of equal adjacent lines (compared byte for byte) shrink to one line.
TWorkLines RemoveDuplicates(TWorkLines lines);

}  // namespace tomery::tools
