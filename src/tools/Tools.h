// The text tools' common ground: the list of lines they transform, blank characters, the
// prompt's number conversion and the line splitting of appended files. The tool families are
// in Tools_Lines.h, Tools_Reformat.h, Tools_Filters.h and Tools_Dump.h; every tool is a pure
// function of the lines and its argument, telling a progress how far it got when one is given.
#pragma once

#include "WorkProgress.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tomery::tools {

/// One string per paragraph, without line breaks.
using TWorkLines = std::vector<std::string>;

/// The blank characters of the tools: tab, line feed, unit separator and space.
constexpr bool IsBlank(char c) {
    return c == '\t' || c == '\n' || c == '\x1f' || c == ' ';
}

/// The next word (a run of characters that are not blank) of `text` at or after `from`,
/// empty when none is left; `from` moves past it.
std::string_view NextWord(std::string_view text, std::size_t& from);

/// Tells a work's progress how many of its lines are done, every 1000 lines or 64 KiB of them,
/// which costs nothing measurable beside the work. Refers to the progress, which must outlive
/// it; an empty progress is never told anything.
class TLineProgress {
  public:
    static constexpr std::uint64_t kLinesPerReport = 1000;
    static constexpr std::uint64_t kBytesPerReport = 64 * 1024;

    TLineProgress(const TWorkProgress& progress, std::uint64_t totalLines)
        : progress_(progress), total_(totalLines) {}

    /// One more line, of `bytes` bytes, is done. Raises EWorkCancelled when the user asked
    /// the work to stop.
    void Advance(std::size_t bytes) {
        ++done_;
        bytesSinceReport_ += bytes;
        if (done_ - reportedAt_ >= kLinesPerReport || bytesSinceReport_ >= kBytesPerReport) {
            reportedAt_ = done_;
            bytesSinceReport_ = 0;
            ReportProgress(progress_, done_, total_);
        }
    }

  private:
    const TWorkProgress& progress_;
    std::uint64_t total_;
    std::uint64_t done_ = 0;
    std::uint64_t reportedAt_ = 0;
    std::uint64_t bytesSinceReport_ = 0;
};

/// The progress of pass `pass` (counted from 0) of a work of `passes` passes: the pass's own
/// share done counts as that share of its part of `whole` (see StepProgress). Empty when
/// `whole` is.
TWorkProgress PassProgress(const TWorkProgress& whole, unsigned pass, unsigned passes);

/// Calls `change` on every line, first to last, telling `progress` how many are done.
template <typename Change>
void ChangeEachLine(TWorkLines& lines, const TWorkProgress& progress, Change change) {
    TLineProgress done(progress, lines.size());
    for (std::string& line : lines) {
        change(line);
        done.Advance(line.size());
    }
}

/// A prompt entry or a noted value that is not a number. The message is the user's.
class EConvertError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// A decimal integer with an optional sign, blanks around it allowed. Raises EConvertError
/// "'<text>' is not a valid integer value" for anything else, 32-bit overflow included.
std::int32_t ParseInteger(const std::string& text);

}  // namespace tomery::tools
