// What a conversion into an 8-bit set could not keep: how many characters were replaced,
// and the first few of them with their line numbers, for the message that tells the user.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tomery::charset {

struct TReplacement {
    std::int64_t Line = 0;  ///< 1-based; 0 where the text has no lines (a typed character)
    std::string Original;   ///< UTF-8
    std::string Shown;      ///< UTF-8: what took its place ("r", "Zh", "?")
};

class TReplacementLog {
  public:
    static constexpr std::size_t kKept = 5;

    /// `characters` characters of `original` became `shown`.
    void Add(std::int64_t line, std::string original, std::string shown, std::size_t characters);
    void Clear() { *this = TReplacementLog(); }

    std::size_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    const std::vector<TReplacement>& First() const { return first_; }

    /// "1 character was replaced" / "3 characters were replaced".
    std::string CountText() const;
    /// The count and the first replacements, one a line: "line 2: ř → r".
    std::string Details() const;

  private:
    std::size_t count_ = 0;
    std::vector<TReplacement> first_;
    bool more_ = false;  ///< some replacements were not kept
};

}  // namespace tomery::charset
