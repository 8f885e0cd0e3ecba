// The editor's search and replace engine: option flags, the skip-table matcher, the searched
// range and the forward and backward loops over the paragraph store, with replace all.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "OvcEditP.h"

namespace tomery::editor {

/// One byte of search flags; bit 0 has no meaning.
using TSearchOptions = std::uint8_t;

inline constexpr TSearchOptions seBackward = 2;     ///< towards the start of the text
inline constexpr TSearchOptions seMatchCase = 4;    ///< exact comparison; else in upper case
inline constexpr TSearchOptions seGlobal = 8;       ///< the whole text, not from the caret
inline constexpr TSearchOptions seReplace = 16;     ///< replace the selection, find the next
inline constexpr TSearchOptions seReplaceAll = 32;  ///< replace every occurrence in the range
inline constexpr TSearchOptions seWholeWord = 64;   ///< delimiters or paragraph ends around
inline constexpr TSearchOptions seSelOnly = 128;    ///< only inside the selection

/// Search strings and replacements longer than this are cut to their first characters.
inline constexpr std::size_t kMaxSearchLength = 255;

/// The first kMaxSearchLength characters of `text` (a view into it).
std::string_view CutToSearchLength(std::string_view text);

/// The upper case of every byte of an 8-bit character set, which the text's set gives.
using TCaseTable = std::array<unsigned char, 256>;

/// Upper case of an 8-bit character as Windows-1252 defines it: ASCII letters, the Latin-1
/// letters 0xE0-0xFE except the division sign 0xF7, and 0x9A, 0x9C, 0x9E, 0xFF to 0x8A, 0x8C,
/// 0x8E, 0x9F. Every other character is its own upper case (0xDF and 0xB5 among them).
unsigned char UpperCase1252(unsigned char c);

/// Whether two texts are equal, exactly or, without `matchCase`, under `upperCase`
/// (UpperCase1252 when none is given).
bool SearchTextsEqual(std::string_view a, std::string_view b, bool matchCase,
                      const TCaseTable* upperCase = nullptr);

/// The skip-table matcher for one search string. The string (cut to kMaxSearchLength) is
/// upper-cased once without `matchCase`; text characters are upper-cased one at a time as
/// they are compared. Build it once per search and run it on paragraph texts in place.
class TSkipMatcher {
  public:
    /// `pattern` is copied; it may be empty, which never matches. Without `matchCase`
    /// characters compare under `upperCase` (UpperCase1252 when none is given), which must
    /// outlive the matcher.
    TSkipMatcher(std::string_view pattern, bool matchCase, const TCaseTable* upperCase = nullptr);

    /// Length of the (cut) search string, 0 to kMaxSearchLength.
    std::size_t Length() const { return length_; }

    /// 0-based offset of the first occurrence in `text`, or std::string_view::npos.
    std::size_t Find(std::string_view text) const;

    /// The 0-based offsets of every occurrence in `text`, overlapping ones included, in
    /// ascending order, into `offsets` (cleared first).
    void FindAll(std::string_view text, std::vector<std::size_t>& offsets) const;

  private:
    /// The character as compared: itself with matchCase, else its upper case.
    unsigned char fold(char c) const { return fold_[static_cast<unsigned char>(c)]; }
    std::size_t findSingle(std::string_view text) const;
    std::size_t findSkipping(std::string_view text) const;

    std::array<unsigned char, kMaxSearchLength> pattern_{};
    std::array<std::uint8_t, 256> skip_{};  ///< distance of a character's last use from the end
    std::size_t length_ = 0;
    const unsigned char* fold_;  ///< 256-entry table: identity with matchCase, else upper case
};

/// A stretch of text from Begin up to, not including, End (1-based paragraphs and positions).
struct TSearchRange {
    TParaPos Begin;
    TParaPos End;
    friend bool operator==(const TSearchRange&, const TSearchRange&) = default;
};

/// Where the control's caret and selection stand when the search begins. Caret is the caret's
/// paragraph position (line offset + column); SelBegin is at or before SelEnd in text order
/// (both equal to the caret when nothing is selected).
struct TSearchPlaces {
    TParaPos Caret;
    TParaPos SelBegin;
    TParaPos SelEnd;
};

/// What to look for and how. Texts are viewed, not copied, for the duration of the call;
/// none may point into the store's paragraphs.
struct TSearchRequest {
    std::string_view SearchString;  ///< cut to kMaxSearchLength
    std::string_view Replacement;   ///< cut to kMaxSearchLength; used with seReplaceAll
    TSearchOptions Options = 0;
    std::string_view WordDelimiters;        ///< the characters that end a word, for seWholeWord
    const TCaseTable* UpperCase = nullptr;  ///< the text's set's; Windows-1252's when none
};

/// Why a search stopped.
enum class TSearchStop {
    EmptySearch,  ///< no search string: nothing was looked at
    Found,        ///< an occurrence is to be selected (never with seReplaceAll)
    Exhausted,    ///< the searched range was covered (after any replacements)
    StoreError,   ///< a replacement failed; the replacements before it stay
};

/// The outcome of one search over the store.
struct TSearchOutcome {
    TSearchStop Stop = TSearchStop::EmptySearch;
    /// With Found: the occurrence, in one paragraph, from MatchBegin up to MatchEnd.
    TParaPos MatchBegin;
    TParaPos MatchEnd;
    /// With Found: the caret goes to MatchEnd (forward) or to MatchBegin (backward).
    bool CaretAtEnd = true;
    /// Occurrences replaced through the store by this call.
    std::int32_t Replacements = 0;
    /// With StoreError: the store's code.
    TEditorErrorCode Error = kErrorNone;
    /// The searched range, its bounds moved by the replacements made in their paragraphs.
    TSearchRange Range;
};

/// Where the search starts: with seSelOnly SelBegin forward and SelEnd backward; else without
/// seGlobal the caret; with seGlobal (1, 1) forward and (paraCount, lastParaLength + 1)
/// backward.
TParaPos SearchStartPoint(TSearchOptions options, const TSearchPlaces& places,
                          std::int32_t paraCount, std::int32_t lastParaLength);

/// The range an occurrence must lie in: the selection with seSelOnly, the whole text (up to
/// (paraCount + 1, 1)) with seGlobal, else from `start` to the end of the text forward and
/// from (1, 1) to `start` backward.
TSearchRange SearchedRange(TSearchOptions options, const TSearchPlaces& places, TParaPos start,
                           std::int32_t paraCount);

/// Whether the selection lies within one paragraph of `list` and its characters equal the
/// search string (cut to kMaxSearchLength) under the case rule of `options`. A selection
/// reaching past the paragraph's end never matches.
bool SelectionMatches(TParaList& list, const TSearchPlaces& places, std::string_view searchString,
                      TSearchOptions options, const TCaseTable* upperCase = nullptr);

/// Searches `list` from the start point through the searched range, paragraph by paragraph
/// (an occurrence never spans a line break). With seReplaceAll every occurrence in the range
/// is replaced through ReplaceText, each once, the search going on right after the inserted
/// text, until the range is covered or the store returns an error code. Otherwise the first
/// occurrence met is returned for selection. Neither the caret nor the selection is touched.
TSearchOutcome SearchParagraphs(TParaList& list, const TSearchRequest& request,
                                const TSearchPlaces& places);

/// The control's result: the store error code; else the replacements (`replacementsBefore`,
/// made by the control before the call, plus the outcome's) when above 0; else -1 when nothing
/// was found; else 0 (also for an empty search string).
std::int32_t SearchResult(const TSearchOutcome& outcome, std::int32_t replacementsBefore);

}  // namespace tomery::editor
