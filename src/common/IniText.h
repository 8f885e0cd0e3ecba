// The text of a settings (INI) file as profile-string reading and writing treat it: sections
// of "key=value" lines; every line that is neither is kept as it is and otherwise ignored.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tomery {

class IniText {
  public:
    explicit IniText(std::string_view text = {});

    /// The value of the first key `key` in the first section `section` (both compared without
    /// regard to ASCII case), without the blanks around it and without one pair of enclosing
    /// double quotes; nothing when the section or key is missing.
    std::optional<std::string> Value(std::string_view section, std::string_view key) const;

    /// Replaces the key's value, or adds the key at the end of its section, or adds the
    /// section at the end of the text. A value that holds a line break cannot be stored in a
    /// line: the text is left as it was and the result is false.
    bool SetValue(std::string_view section, std::string_view key, std::string_view value);

    /// The whole text, each line ended as the lines of the text read were (LF for a new one).
    std::string Text() const;

  private:
    std::vector<std::string> lines_;  ///< without their line ends
    std::string lineEnd_ = "\n";
};

}  // namespace tomery
