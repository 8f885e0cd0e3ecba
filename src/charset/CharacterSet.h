// The 8-bit character sets a document can be shown in: which character each byte stands
// for, and the way back from Unicode text to bytes, with what a set lacks transliterated.
#pragma once

#include "ReplacementLog.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tomery::charset {

/// One 8-bit set. Every byte has a character: a byte the set leaves undefined shows as the
/// C1 control of its value (0x80 to 0x9F) or as a private-use character (U+F700 + byte), so
/// that every byte survives a trip through screen text and back. Sets are built once and
/// live for the whole run; they are safe to use from several threads.
class TCharacterSet {
  public:
    struct TDefinition {
        const char* Name;     ///< "windows-1252": the settings file's and the command line's
        const char* Caption;  ///< "Western (Windows-1252)": the menu's
        const char* IcuName;  ///< the code page ICU knows it by
        /// Bytes 0x80 to 0x9F where the set differs from its ICU code page (0: no change).
        std::array<char16_t, 32> HighOverrides{};
    };

    explicit TCharacterSet(const TDefinition& definition);
    TCharacterSet(const TCharacterSet&) = delete;
    TCharacterSet& operator=(const TCharacterSet&) = delete;

    const std::string& Name() const { return name_; }
    const std::string& Caption() const { return caption_; }
    /// The part of the caption after its script, "Windows-1252": for the status bar, which
    /// shows it at every move of the caret.
    const std::string& ShortName() const { return shortName_; }

    char16_t Character(unsigned char byte) const { return characters_[byte]; }
    /// Whether the set gives the byte a character of its own.
    bool Defines(unsigned char byte) const { return defined_[byte]; }
    /// The byte of each byte's upper-case character; the byte itself where the set has no
    /// upper case for it (ß, and µ in Windows-1252, whose capitals it lacks).
    const std::array<unsigned char, 256>& UpperCase() const { return upperCase_; }
    /// The byte of a character; nothing when the set has none.
    std::optional<unsigned char> Byte(char32_t character) const {
        if (character > 0xFFFF) {
            return std::nullopt;
        }
        const std::int16_t byte = ByteOrNone(static_cast<char16_t>(character));
        return byte < 0 ? std::nullopt : std::optional<unsigned char>(byte);
    }

    /// Bytes as text.
    std::u16string ToUtf16(std::string_view bytes) const;
    std::string ToUtf8(std::string_view bytes) const;
    void AppendUtf8(std::string_view bytes, std::string& out) const;

    /// Text as bytes of the set. A character the set lacks is composed with the marks that
    /// follow it, then transliterated into characters it has (ř → r, Ж → Zh); what is left
    /// becomes "?". Each character that did not keep its own byte counts once in `log`, under
    /// `line`. Malformed UTF-8 counts as one replaced character per byte.
    std::string FromUtf16(std::u16string_view text, TReplacementLog* log = nullptr,
                          std::int64_t line = 0) const;
    std::string FromUtf8(std::string_view text, TReplacementLog* log = nullptr,
                         std::int64_t line = 0) const;
    /// FromUtf8 appending to `out`: one buffer serves a file's every line.
    void AppendFromUtf8(std::string_view text, std::string& out, TReplacementLog* log = nullptr,
                        std::int64_t line = 0) const;

    /// Bytes of two kinds as bytes of the set: valid multi-byte UTF-8 sequences are
    /// characters (converted as FromUtf8 does), every other byte is already the set's. The
    /// logs write file names as the file system holds them (UTF-8) among the document's text.
    std::string FromMixedBytes(std::string_view text) const;

  private:
    /// The byte of a BMP character, or -1.
    std::int16_t ByteOrNone(char16_t character) const {
        return pages_[pageOf_[character >> 8]][character & 0xFF];
    }
    std::string convertSlowly(std::u16string_view text, TReplacementLog* log,
                              std::int64_t line) const;

    std::string name_;
    std::string caption_;
    std::string shortName_;
    std::array<char16_t, 256> characters_{};
    std::array<bool, 256> defined_{};
    std::array<unsigned char, 256> upperCase_{};
    /// Each character's byte, by 256-character pages of the BMP: a set's characters fill only
    /// a few of them, and a whole table would cost every start of the program a page fault
    /// per set for each 4 KiB of it.
    using TBytePage = std::array<std::int16_t, 256>;
    std::array<std::uint16_t, 256> pageOf_{};  ///< each page's index in pages_; 0: no byte
    std::vector<TBytePage> pages_;             ///< pages_[0] holds no byte
};

/// Every set offered, Windows-1252 first.
const std::vector<const TCharacterSet*>& AllCharacterSets();
/// Windows-1252.
const TCharacterSet& DefaultCharacterSet();
/// The set of a name, its ICU name or a common alias ("cp1251", "latin1", "koi8r"),
/// compared without regard to case; nullptr for an unknown name.
const TCharacterSet* FindCharacterSet(std::string_view name);

}  // namespace tomery::charset
