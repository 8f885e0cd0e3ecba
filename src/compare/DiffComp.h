// The line comparison of a document ({new}) with an older file ({old}): unique lines are
// matched first, matches grow to equal neighbours, moved blocks are resolved, and the result
// is listed as the lines of "Comparison.log".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tomery::compare {

inline constexpr std::size_t kMaxLines = 4000;         ///< lines compared per file
inline constexpr std::size_t kSymbolTableSize = 8003;  ///< two full files leave a free entry
inline constexpr std::uint16_t kNoLine = 4001;         ///< the line number meaning "none"
inline constexpr std::int32_t kHashThreshold = 16255;
inline constexpr char kIdenticalLine[] = "  **** Both files are identical. ****";

struct TCompareOptions {
    bool IgnoreCase = false;    ///< "Lower and Upper Cases": a to z count as A to Z
    bool IgnoreBlanks = false;  ///< "Spaces and Tabs": every byte of code 32 or less is dropped
};

/// The line as hashed and compared under `options`; the line itself without options.
std::string NormalizedLine(std::string_view line, TCompareOptions options);

/// The hash of a normalised line, from its last character to its first; 0 for "".
std::int32_t LineHash(std::string_view normalized);

struct TSymbol {
    std::int32_t Hash = -1;           ///< -1: the entry is free
    std::string Text;                 ///< the first line stored with this content, as read
    std::string Key;                  ///< Text normalised, kept to spare the probes the work
    std::uint16_t OldLine = kNoLine;  ///< the last {old} line with this content
    std::uint8_t OldCount = 0;        ///< 0, 1, or 2 meaning two or more
    std::uint8_t NewCount = 0;
};

struct TLineEntry {
    bool Linked = false;
    std::uint16_t Symbol = 0;   ///< index into the symbol table
    std::uint16_t Partner = 0;  ///< the matched line of the other file, while Linked
};

/// The comparison's tables, allocated once and refilled by every comparison. Lines are
/// numbered from 1; entry count + 1 of each file is its end marker (linked, partner kNoLine).
class TDiffComp {
  public:
    TDiffComp();

    /// Empties the tables and takes the options for the comparison that follows.
    void Reset(TCompareOptions options);
    /// Stores the {new} lines (read before {old}, so that a shared line keeps its {new}
    /// spelling). Returns false when lines beyond kMaxLines were left out.
    bool ReadNew(const std::vector<std::string>& lines);
    /// Stores the {old} lines; false when lines beyond kMaxLines were left out.
    bool ReadOld(const std::vector<std::string>& lines);
    /// Links unique lines, extends the links forward and backward, then unlinks moved blocks
    /// so that the linked lines of both files come in the same order. Files with the same
    /// lines (under the options) are linked line by line.
    void Match();

    /// The log: the two header lines, an empty line, then either the identical-files line and
    /// an empty line, or the listing of deleted ("{old} "), inserted ("{new} ") and common
    /// (six spaces) lines.
    std::vector<std::string> LogLines(const std::string& newName, const std::string& oldName) const;

    std::size_t NewLineCount() const { return newCount_; }
    std::size_t OldLineCount() const { return oldCount_; }
    const TLineEntry& NewLine(std::size_t line) const { return newLines_.at(line); }
    const TLineEntry& OldLine(std::size_t line) const { return oldLines_.at(line); }
    const TSymbol& Symbol(std::size_t index) const { return symbols_.at(index); }

  private:
    std::uint16_t FindSymbol(const std::string& line);
    void SetEndMarkers();
    void Link(std::size_t newLine, std::size_t oldLine);
    /// Links line i with line i when both files hold the same lines; false otherwise.
    bool LinkIdenticalFiles();
    void LinkUniqueLines();
    void ExtendForward();
    void ExtendBackward();
    void ResolveMovedBlocks();
    /// The length of the run of linked lines from `line` whose partners rise by one.
    static std::size_t RisingRun(const std::vector<TLineEntry>& lines, std::size_t count,
                                 std::size_t line);
    /// Unlinks `length` lines of `lines` from `line` on, with their partners in `partners`.
    static void UnlinkRun(std::vector<TLineEntry>& lines, std::vector<TLineEntry>& partners,
                          std::size_t line, std::size_t length);
    bool AllLinked() const;

    TCompareOptions options_;
    std::vector<TSymbol> symbols_;
    std::vector<TLineEntry> newLines_;  ///< index 0 unused, up to the end marker
    std::vector<TLineEntry> oldLines_;
    std::size_t newCount_ = 0;
    std::size_t oldCount_ = 0;
};

/// Writes `lines` with CR LF after each to `path`, replacing the file only when everything
/// was written. False when the file cannot be created or written.
bool WriteComparisonLog(const std::string& path, const std::vector<std::string>& lines);

}  // namespace tomery::compare
