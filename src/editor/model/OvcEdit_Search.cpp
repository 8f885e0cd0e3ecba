// The editor's search and replace engine.
#include "OvcEdit_Search.h"

#include <algorithm>
#include <cstring>

namespace tomery::editor {

namespace {

using TCharTable = std::array<unsigned char, 256>;

constexpr TCharTable MakeIdentityTable() {
    TCharTable table{};
    for (std::size_t c = 0; c < table.size(); ++c) {
        table[c] = static_cast<unsigned char>(c);
    }
    return table;
}

constexpr TCharTable MakeUpperCaseTable() {
    TCharTable table = MakeIdentityTable();
    for (std::size_t c = 'a'; c <= 'z'; ++c) {
        table[c] = static_cast<unsigned char>(c - 0x20);
    }
    for (std::size_t c = 0xE0; c <= 0xFE; ++c) {
        if (c != 0xF7) {
            table[c] = static_cast<unsigned char>(c - 0x20);
        }
    }
    table[0x9A] = 0x8A;
    table[0x9C] = 0x8C;
    table[0x9E] = 0x8E;
    table[0xFF] = 0x9F;
    return table;
}

constexpr TCharTable kIdentity = MakeIdentityTable();
constexpr TCharTable kUpperCase = MakeUpperCaseTable();

unsigned char Byte(char c) {
    return static_cast<unsigned char>(c);
}

using TDelimiters = std::array<bool, 256>;

TDelimiters MakeDelimiters(std::string_view characters) {
    TDelimiters set{};
    for (const char c : characters) {
        set[Byte(c)] = true;
    }
    return set;
}

/// One search over the store: the matcher and delimiter table built once, the range and the
/// outcome carried through the loops.
class TParagraphSearch {
  public:
    TParagraphSearch(TParaList& list, const TSearchRequest& request, std::string_view search,
                     TSearchOutcome& outcome)
        : list_(list),
          matcher_(search, (request.Options & seMatchCase) != 0, request.UpperCase),
          delimiters_(MakeDelimiters(request.WordDelimiters)),
          replacement_(CutToSearchLength(request.Replacement)),
          wholeWord_((request.Options & seWholeWord) != 0),
          replaceAll_((request.Options & seReplaceAll) != 0),
          length_(static_cast<std::int32_t>(matcher_.Length())),
          outcome_(outcome) {}

    void Forward(TParaPos start);
    void Backward(TParaPos start);

  private:
    bool acceptable(std::int32_t para, std::string_view text, std::int32_t pos) const;
    bool isWholeWord(std::string_view text, std::int32_t pos) const;
    bool inRange(std::int32_t para, std::int32_t pos) const;
    /// Replaces the acceptable occurrence at `pos` with seReplaceAll, else records it as
    /// found. True when the search goes on; false when it stops (the outcome says why).
    bool take(std::int32_t para, std::int32_t pos, bool caretAtEnd);
    bool replace(std::int32_t para, std::int32_t pos);
    void shiftBound(TParaPos& bound, std::int32_t para, std::int32_t from, std::int32_t delta);

    TParaList& list_;
    const TSkipMatcher matcher_;
    const TDelimiters delimiters_;
    const std::string_view replacement_;
    const bool wholeWord_;
    const bool replaceAll_;
    const std::int32_t length_;  ///< of the search string, at least 1
    TSearchOutcome& outcome_;
    std::vector<std::size_t> offsets_;  ///< reused by every paragraph of a backward search
};

void TParagraphSearch::Forward(TParaPos start) {
    std::int32_t para = start.Para;
    std::int32_t pos = std::max(start.Pos, 1);
    const TParaNode* node = list_.GetPara(para);
    while (node != nullptr && para <= outcome_.Range.End.Para) {
        const std::string_view text = node->Text();
        if (static_cast<std::int64_t>(pos) - 1 + length_ <=
            static_cast<std::int64_t>(text.size())) {
            const std::size_t offset =
                matcher_.Find(text.substr(static_cast<std::size_t>(pos - 1)));
            if (offset != std::string_view::npos) {
                const std::int32_t match = pos + static_cast<std::int32_t>(offset);
                if (!acceptable(para, text, match)) {
                    pos = match + 1;
                    continue;
                }
                if (!take(para, match, true)) {
                    return;
                }
                pos = match + static_cast<std::int32_t>(replacement_.size());
                node = list_.GetPara(para);
                continue;
            }
        }
        node = node->Next;
        ++para;
        pos = 1;
    }
    outcome_.Stop = TSearchStop::Exhausted;
}

void TParagraphSearch::Backward(TParaPos start) {
    std::int32_t para = start.Para;
    // The last position an occurrence may end at, inclusive.
    std::int64_t limit = static_cast<std::int64_t>(start.Pos) - 1;
    const TParaNode* node = list_.GetPara(para);
    while (node != nullptr && para >= outcome_.Range.Begin.Para) {
        limit = std::min<std::int64_t>(limit, node->Length());
        if (limit >= length_) {
            matcher_.FindAll(node->Text().substr(0, static_cast<std::size_t>(limit)), offsets_);
            // Text before a replacement stays as it was, so the occurrences found before it
            // remain valid; those reaching into the replacement are passed over.
            for (auto candidate = offsets_.rbegin(); candidate != offsets_.rend(); ++candidate) {
                const auto match = static_cast<std::int32_t>(*candidate) + 1;
                if (match + length_ - 1 > limit || !acceptable(para, node->Text(), match)) {
                    continue;
                }
                if (!take(para, match, false)) {
                    return;
                }
                limit = match - 1;
                node = list_.GetPara(para);
            }
        }
        node = node->Prev;
        --para;
        limit = kMaxInt32;
    }
    outcome_.Stop = TSearchStop::Exhausted;
}

bool TParagraphSearch::acceptable(std::int32_t para, std::string_view text,
                                  std::int32_t pos) const {
    return (!wholeWord_ || isWholeWord(text, pos)) && inRange(para, pos);
}

bool TParagraphSearch::isWholeWord(std::string_view text, std::int32_t pos) const {
    const auto begin = static_cast<std::size_t>(pos - 1);
    const std::size_t end = begin + static_cast<std::size_t>(length_);
    const bool delimitedBefore = begin == 0 || delimiters_[Byte(text[begin - 1])];
    const bool delimitedAfter = end >= text.size() || delimiters_[Byte(text[end])];
    return delimitedBefore && delimitedAfter;
}

bool TParagraphSearch::inRange(std::int32_t para, std::int32_t pos) const {
    const TSearchRange& range = outcome_.Range;
    if (para < range.Begin.Para || para > range.End.Para) {
        return false;
    }
    if (para == range.Begin.Para && pos < range.Begin.Pos) {
        return false;
    }
    return para != range.End.Para ||
           static_cast<std::int64_t>(pos) + length_ <= static_cast<std::int64_t>(range.End.Pos);
}

bool TParagraphSearch::take(std::int32_t para, std::int32_t pos, bool caretAtEnd) {
    if (replaceAll_) {
        return replace(para, pos);
    }
    outcome_.Stop = TSearchStop::Found;
    outcome_.MatchBegin = {para, pos};
    outcome_.MatchEnd = {para, pos + length_};
    outcome_.CaretAtEnd = caretAtEnd;
    return false;
}

bool TParagraphSearch::replace(std::int32_t para, std::int32_t pos) {
    const TEditorErrorCode code = list_.ReplaceText(para, pos, length_, replacement_);
    if (code != kErrorNone) {
        outcome_.Stop = TSearchStop::StoreError;
        outcome_.Error = code;
        return false;
    }
    ++outcome_.Replacements;
    const std::int32_t delta = static_cast<std::int32_t>(replacement_.size()) - length_;
    shiftBound(outcome_.Range.Begin, para, pos + length_, delta);
    shiftBound(outcome_.Range.End, para, pos + length_, delta);
    return true;
}

void TParagraphSearch::shiftBound(TParaPos& bound, std::int32_t para, std::int32_t from,
                                  std::int32_t delta) {
    if (bound.Para == para && bound.Pos >= from) {
        bound.Pos += delta;
    }
}

}  // namespace

std::string_view CutToSearchLength(std::string_view text) {
    return text.substr(0, kMaxSearchLength);
}

unsigned char UpperCase1252(unsigned char c) {
    return kUpperCase[c];
}

bool SearchTextsEqual(std::string_view a, std::string_view b, bool matchCase,
                      const TCaseTable* upperCase) {
    if (matchCase) {
        return a == b;
    }
    const TCaseTable& upper = upperCase != nullptr ? *upperCase : kUpperCase;
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&upper](char x, char y) { return upper[Byte(x)] == upper[Byte(y)]; });
}

TSkipMatcher::TSkipMatcher(std::string_view pattern, bool matchCase, const TCaseTable* upperCase)
    : fold_(matchCase              ? kIdentity.data()
            : upperCase != nullptr ? upperCase->data()
                                   : kUpperCase.data()) {
    pattern = CutToSearchLength(pattern);
    length_ = pattern.size();
    for (std::size_t i = 0; i < length_; ++i) {
        pattern_[i] = fold(pattern[i]);
    }
    skip_.fill(static_cast<std::uint8_t>(length_));
    for (std::size_t i = 0; i + 1 < length_; ++i) {
        skip_[pattern_[i]] = static_cast<std::uint8_t>(length_ - 1 - i);
    }
}

std::size_t TSkipMatcher::Find(std::string_view text) const {
    if (length_ == 0 || text.size() < length_) {
        return std::string_view::npos;
    }
    return length_ == 1 ? findSingle(text) : findSkipping(text);
}

void TSkipMatcher::FindAll(std::string_view text, std::vector<std::size_t>& offsets) const {
    offsets.clear();
    std::size_t from = 0;
    while (from < text.size()) {
        const std::size_t offset = Find(text.substr(from));
        if (offset == std::string_view::npos) {
            return;
        }
        offsets.push_back(from + offset);
        from += offset + 1;
    }
}

std::size_t TSkipMatcher::findSingle(std::string_view text) const {
    if (fold_ == kIdentity.data()) {
        const void* hit = std::memchr(text.data(), pattern_[0], text.size());
        return hit == nullptr
                   ? std::string_view::npos
                   : static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (fold(text[i]) == pattern_[0]) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::size_t TSkipMatcher::findSkipping(std::string_view text) const {
    const std::size_t lastIndex = length_ - 1;
    const unsigned char last = pattern_[lastIndex];
    for (std::size_t at = lastIndex; at < text.size();) {
        const unsigned char c = fold(text[at]);
        if (c == last) {
            const std::size_t begin = at - lastIndex;
            std::size_t i = lastIndex;
            while (i > 0 && fold(text[begin + i - 1]) == pattern_[i - 1]) {
                --i;
            }
            if (i == 0) {
                return begin;
            }
        }
        // The table holds upper-case characters without matchCase, so it is consulted with
        // the folded character too; the raw one would skip past lower-case occurrences.
        at += skip_[c];
    }
    return std::string_view::npos;
}

TParaPos SearchStartPoint(TSearchOptions options, const TSearchPlaces& places,
                          std::int32_t paraCount, std::int32_t lastParaLength) {
    const bool backward = (options & seBackward) != 0;
    if ((options & seSelOnly) != 0) {
        return backward ? places.SelEnd : places.SelBegin;
    }
    if ((options & seGlobal) == 0) {
        return places.Caret;
    }
    return backward ? TParaPos{paraCount, lastParaLength + 1} : TParaPos{1, 1};
}

TSearchRange SearchedRange(TSearchOptions options, const TSearchPlaces& places, TParaPos start,
                           std::int32_t paraCount) {
    const TParaPos textBegin{1, 1};
    const TParaPos textEnd{paraCount + 1, 1};
    if ((options & seSelOnly) != 0) {
        return {places.SelBegin, places.SelEnd};
    }
    if ((options & seGlobal) != 0) {
        return {textBegin, textEnd};
    }
    return (options & seBackward) != 0 ? TSearchRange{textBegin, start}
                                       : TSearchRange{start, textEnd};
}

bool SelectionMatches(TParaList& list, const TSearchPlaces& places, std::string_view searchString,
                      TSearchOptions options, const TCaseTable* upperCase) {
    const std::string_view search = CutToSearchLength(searchString);
    const TParaPos begin = places.SelBegin;
    const TParaPos end = places.SelEnd;
    const TParaNode* node = list.GetPara(begin.Para);
    if (search.empty() || node == nullptr || end.Para != begin.Para || begin.Pos < 1 ||
        static_cast<std::int64_t>(end.Pos) - begin.Pos !=
            static_cast<std::int64_t>(search.size()) ||
        end.Pos - 1 > node->Length()) {
        return false;
    }
    const std::string_view selected =
        node->Text().substr(static_cast<std::size_t>(begin.Pos - 1), search.size());
    return SearchTextsEqual(selected, search, (options & seMatchCase) != 0, upperCase);
}

TSearchOutcome SearchParagraphs(TParaList& list, const TSearchRequest& request,
                                const TSearchPlaces& places) {
    const TSearchOptions options = request.Options;
    const std::int32_t paraCount = list.ParaCount();
    const TParaPos start =
        SearchStartPoint(options, places, paraCount, list.GetParaLength(paraCount));
    TSearchOutcome outcome;
    outcome.Range = SearchedRange(options, places, start, paraCount);
    const std::string_view search = CutToSearchLength(request.SearchString);
    if (search.empty()) {
        return outcome;
    }
    TParagraphSearch paragraphSearch(list, request, search, outcome);
    if ((options & seBackward) != 0) {
        paragraphSearch.Backward(start);
    } else {
        paragraphSearch.Forward(start);
    }
    return outcome;
}

std::int32_t SearchResult(const TSearchOutcome& outcome, std::int32_t replacementsBefore) {
    switch (outcome.Stop) {
        case TSearchStop::EmptySearch:
            return 0;
        case TSearchStop::StoreError:
            return outcome.Error;
        case TSearchStop::Found:
        case TSearchStop::Exhausted:
            break;
    }
    const std::int32_t replacements = replacementsBefore + outcome.Replacements;
    if (replacements > 0) {
        return replacements;
    }
    return outcome.Stop == TSearchStop::Found ? 0 : -1;
}

}  // namespace tomery::editor
