#include "OvcEdit_Search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "StoreChecker.h"

namespace tomery::editor {
namespace {

using testing::CheckStore;
using testing::Load;
using testing::Paragraphs;
using Strings = std::vector<std::string>;

/// The editor control's default word delimiters.
constexpr std::string_view kWordDelimiters = "\t'\r\n ,./?;:`\"<>[]{}-=\\+|()%@&^$#!~*";

// ---------------------------------------------------------------------------------------------
// The matcher

TEST(SkipMatcher, FindsTheFirstOccurrenceAndNothingWhenAbsent) {
    const TSkipMatcher matcher("word", true);
    EXPECT_EQ(matcher.Find("a word, a word"), 2u);
    EXPECT_EQ(matcher.Find("a wor d"), std::string_view::npos);
    EXPECT_EQ(matcher.Find("wor"), std::string_view::npos);
    EXPECT_EQ(matcher.Find("word"), 0u);
}

TEST(SkipMatcher, AgreesWithAPlainFindOnRandomTexts) {
    std::mt19937 random(11);
    for (int round = 0; round < 3000; ++round) {
        std::string text(random() % 40, ' ');
        for (char& c : text) {
            c = "abAB\xE4\xC4"[random() % 6];
        }
        std::string pattern(1 + random() % 4, ' ');
        for (char& c : pattern) {
            c = "abAB\xE4\xC4"[random() % 6];
        }
        const TSkipMatcher exact(pattern, true);
        EXPECT_EQ(exact.Find(text), text.find(pattern)) << text << " / " << pattern;

        std::string upperText = text;
        std::string upperPattern = pattern;
        for (char& c : upperText) {
            c = static_cast<char>(UpperCase1252(static_cast<unsigned char>(c)));
        }
        for (char& c : upperPattern) {
            c = static_cast<char>(UpperCase1252(static_cast<unsigned char>(c)));
        }
        const TSkipMatcher anyCase(pattern, false);
        EXPECT_EQ(anyCase.Find(text), upperText.find(upperPattern)) << text << " / " << pattern;
    }
}

TEST(SkipMatcher, IgnoresTheCaseOfLatinLettersOfWindows1252) {
    const TSkipMatcher matcher("\xC4\x8A\x8C\x8E\x9F\xDE", false);  // ÄŠŒŽŸÞ
    EXPECT_EQ(matcher.Find("x\xE4\x9A\x9C\x9E\xFF\xFE"), 1u);       // äšœžÿþ
    EXPECT_EQ(TSkipMatcher("\xE4\x9A", false).Find("\xC4\x8A"), 0u);
    EXPECT_EQ(TSkipMatcher("\xE4", true).Find("\xC4"), std::string_view::npos);
}

TEST(SkipMatcher, LeavesCharactersWithoutAnUpperCaseAlone) {
    EXPECT_EQ(UpperCase1252(0xF7), 0xF7);  // division sign, not the multiplication sign 0xD7
    EXPECT_EQ(UpperCase1252(0xDF), 0xDF);  // sharp s
    EXPECT_EQ(UpperCase1252(0xB5), 0xB5);  // micro sign
    EXPECT_EQ(UpperCase1252('1'), '1');
    EXPECT_EQ(TSkipMatcher("\xF7", false).Find("\xD7"), std::string_view::npos);
}

TEST(SkipMatcher, ScansForASingleCharacterInEitherCase) {
    EXPECT_EQ(TSkipMatcher("q", true).Find("aQbq"), 3u);
    EXPECT_EQ(TSkipMatcher("q", false).Find("aQbq"), 1u);
    EXPECT_EQ(TSkipMatcher("q", true).Find("abc"), std::string_view::npos);
}

TEST(SkipMatcher, FindsEveryOccurrenceIncludingOverlappingOnes) {
    std::vector<std::size_t> offsets{99};
    TSkipMatcher("aa", true).FindAll("aaa-aa", offsets);
    EXPECT_EQ(offsets, (std::vector<std::size_t>{0, 1, 4}));
    TSkipMatcher("zz", true).FindAll("aaa", offsets);
    EXPECT_TRUE(offsets.empty());
}

TEST(SkipMatcher, SearchesALongStringAsItsFirst255Characters) {
    const std::string pattern = std::string(255, 'x') + std::string(45, 'y');
    const TSkipMatcher matcher(pattern, true);
    EXPECT_EQ(matcher.Length(), 255u);
    EXPECT_EQ(matcher.Find("a" + std::string(255, 'x')), 1u);
    EXPECT_EQ(CutToSearchLength(pattern).size(), 255u);
}

TEST(SkipMatcher, EmptyPatternNeverMatches) {
    EXPECT_EQ(TSkipMatcher("", false).Find("abc"), std::string_view::npos);
}

// ---------------------------------------------------------------------------------------------
// Start point and searched range

TEST(SearchBounds, StartAtTheSelectionTheCaretOrAnEndOfTheText) {
    const TSearchPlaces places{{3, 7}, {2, 4}, {3, 2}};
    EXPECT_EQ(SearchStartPoint(seSelOnly, places, 9, 5), (TParaPos{2, 4}));
    EXPECT_EQ(SearchStartPoint(seSelOnly | seBackward | seGlobal, places, 9, 5), (TParaPos{3, 2}));
    EXPECT_EQ(SearchStartPoint(0, places, 9, 5), (TParaPos{3, 7}));
    EXPECT_EQ(SearchStartPoint(seBackward, places, 9, 5), (TParaPos{3, 7}));
    EXPECT_EQ(SearchStartPoint(seGlobal, places, 9, 5), (TParaPos{1, 1}));
    EXPECT_EQ(SearchStartPoint(seGlobal | seBackward, places, 9, 5), (TParaPos{9, 6}));
}

TEST(SearchBounds, RangeIsTheSelectionTheWholeTextOrOneSideOfTheStart) {
    const TSearchPlaces places{{3, 7}, {2, 4}, {3, 2}};
    const TParaPos start{3, 7};
    EXPECT_EQ(SearchedRange(seSelOnly | seGlobal, places, start, 9),
              (TSearchRange{{2, 4}, {3, 2}}));
    EXPECT_EQ(SearchedRange(seGlobal | seBackward, places, start, 9),
              (TSearchRange{{1, 1}, {10, 1}}));
    EXPECT_EQ(SearchedRange(0, places, start, 9), (TSearchRange{{3, 7}, {10, 1}}));
    EXPECT_EQ(SearchedRange(seBackward, places, start, 9), (TSearchRange{{1, 1}, {3, 7}}));
}

// ---------------------------------------------------------------------------------------------
// Searching the store

class Search : public ::testing::Test {
  protected:
    void LoadText(const Strings& paragraphs) { Load(list, paragraphs); }

    TSearchOutcome Run(std::string_view search, TSearchOptions options, TParaPos caret = {1, 1},
                       std::string_view replacement = {}) {
        return RunIn(search, options, {caret, caret, caret}, replacement);
    }
    TSearchOutcome RunIn(std::string_view search, TSearchOptions options,
                         const TSearchPlaces& places, std::string_view replacement = {}) {
        const TSearchOutcome outcome =
            SearchParagraphs(list, {search, replacement, options, kWordDelimiters}, places);
        EXPECT_EQ(CheckStore(list), "");
        return outcome;
    }
    static void ExpectFound(const TSearchOutcome& outcome, TParaPos begin, bool caretAtEnd) {
        ASSERT_EQ(outcome.Stop, TSearchStop::Found);
        EXPECT_EQ(outcome.MatchBegin, begin);
        EXPECT_EQ(outcome.MatchEnd.Para, begin.Para);
        EXPECT_EQ(outcome.CaretAtEnd, caretAtEnd);
    }

    TParaList list{nullptr, false, 8192};
};

TEST_F(Search, ForwardSkipsTheOccurrenceTheCaretStandsIn) {
    LoadText({"one cat, two cats"});
    ExpectFound(Run("cat", seMatchCase, {1, 6}), {1, 14}, true);
    EXPECT_EQ(Run("cat", seMatchCase, {1, 6}).MatchEnd, (TParaPos{1, 17}));
}

TEST_F(Search, ForwardFindsAnOccurrenceStartingAtTheCaret) {
    LoadText({"one cat"});
    ExpectFound(Run("cat", 0, {1, 5}), {1, 5}, true);
}

TEST_F(Search, ForwardGoesOnIntoLaterParagraphs) {
    LoadText({"nothing here", "", "x", "the Cat sat"});
    ExpectFound(Run("cat", 0, {1, 3}), {4, 5}, true);
}

TEST_F(Search, ForwardFromACaretInVirtualSpaceGoesOnToTheNextParagraph) {
    LoadText({"cat", "cat"});
    ExpectFound(Run("cat", 0, {1, 40}), {2, 1}, true);
}

TEST_F(Search, GlobalForwardStartsAtTheTopWhereverTheCaretIs) {
    LoadText({"cat", "dog", "cat"});
    ExpectFound(Run("cat", seGlobal, {3, 4}), {1, 1}, true);
}

TEST_F(Search, NothingFoundLeavesTheOutcomeExhausted) {
    LoadText({"abc", "def"});
    const TSearchOutcome outcome = Run("xyz", seGlobal);
    EXPECT_EQ(outcome.Stop, TSearchStop::Exhausted);
    EXPECT_EQ(SearchResult(outcome, 0), -1);
}

TEST_F(Search, NeverFindsAnOccurrenceAcrossALineBreak) {
    LoadText({"the ca", "t sat"});
    EXPECT_EQ(Run("cat", seGlobal).Stop, TSearchStop::Exhausted);
    EXPECT_EQ(Run("cat", seGlobal | seBackward).Stop, TSearchStop::Exhausted);
}

TEST_F(Search, BackwardFindsAnOccurrenceEndingDirectlyBeforeTheCaret) {
    LoadText({"a cat here"});
    ExpectFound(Run("cat", seBackward, {1, 6}), {1, 3}, false);
}

TEST_F(Search, BackwardSkipsAnOccurrenceContainingTheCaret) {
    LoadText({"cat and cat"});
    ExpectFound(Run("cat", seBackward, {1, 11}), {1, 1}, false);
    EXPECT_EQ(Run("cat", seBackward, {1, 3}).Stop, TSearchStop::Exhausted);
}

TEST_F(Search, BackwardFindsTheLastOccurrenceOfAnEarlierParagraph) {
    LoadText({"cat cat cat", "no", ""});
    ExpectFound(Run("cat", seBackward, {3, 1}), {1, 9}, false);
}

TEST_F(Search, GlobalBackwardStartsAtTheEndOfTheText) {
    LoadText({"cat", "cat dog"});
    ExpectFound(Run("cat", seGlobal | seBackward, {1, 1}), {2, 1}, false);
}

TEST_F(Search, BackwardFromVirtualSpaceSearchesTheWholeParagraph) {
    LoadText({"a cat"});
    ExpectFound(Run("cat", seBackward, {1, 30}), {1, 3}, false);
}

TEST_F(Search, MatchCaseComparesExactly) {
    LoadText({"Cat cat"});
    ExpectFound(Run("cat", seMatchCase), {1, 5}, true);
    ExpectFound(Run("CAT", 0), {1, 1}, true);
}

TEST_F(Search, EmptySearchStringDoesNothingAndCountsAsSuccess) {
    LoadText({"abc"});
    const TSearchOutcome outcome = Run("", seGlobal | seReplaceAll, {1, 1}, "x");
    EXPECT_EQ(outcome.Stop, TSearchStop::EmptySearch);
    EXPECT_EQ(SearchResult(outcome, 0), 0);
    EXPECT_EQ(Paragraphs(list), (Strings{"abc"}));
    EXPECT_FALSE(list.Modified());
}

TEST_F(Search, LongSearchStringIsSearchedAsItsFirst255Characters) {
    LoadText({"<" + std::string(255, 'x') + ">"});
    const TSearchOutcome outcome = Run(std::string(300, 'x'), seGlobal);
    ExpectFound(outcome, {1, 2}, true);
    EXPECT_EQ(outcome.MatchEnd, (TParaPos{1, 257}));
}

// ---------------------------------------------------------------------------------------------
// Whole words

TEST_F(Search, WholeWordSkipsAShortWordBeginningALongerOne) {
    LoadText({"category cat"});
    ExpectFound(Run("cat", seWholeWord), {1, 10}, true);
    ExpectFound(Run("cat", seWholeWord | seBackward, {1, 13}), {1, 10}, false);
}

TEST_F(Search, WholeWordRejectsAMatchFollowedByAnUnderscoreOrADigit) {
    LoadText({"cat_1 cat2 x"});
    EXPECT_EQ(Run("cat", seWholeWord).Stop, TSearchStop::Exhausted);
}

TEST_F(Search, WholeWordAcceptsAMatchFollowedByACommaOrAHyphen) {
    LoadText({"cat, x", "cat-like"});
    ExpectFound(Run("cat", seWholeWord), {1, 1}, true);
    ExpectFound(Run("cat", seWholeWord, {1, 2}), {2, 1}, true);
}

TEST_F(Search, WholeWordRejectsAMatchPrecededByAWordCharacter) {
    LoadText(
        {"bobcat \xE9"
         "cat (cat)"});
    ExpectFound(Run("cat", seWholeWord), {1, 14}, true);
}

TEST_F(Search, BackwardWholeWordFindsAnOccurrenceOverlappingARejectedOne) {
    // The later "a-a" is followed by a letter; the earlier one, sharing its first "a", stands
    // alone and must be found as the forward search finds it.
    LoadText({"a-a-ab"});
    ExpectFound(Run("a-a", seWholeWord | seGlobal), {1, 1}, true);
    ExpectFound(Run("a-a", seWholeWord | seGlobal | seBackward), {1, 1}, false);
}

// ---------------------------------------------------------------------------------------------
// Searching the selection only

TEST_F(Search, SelectionOnlyRejectsOccurrencesReachingOutOfTheSelection) {
    LoadText({"cat cat cat"});
    const TSearchPlaces places{{1, 7}, {1, 3}, {1, 10}};
    ExpectFound(RunIn("cat", seSelOnly, places), {1, 5}, true);
    ExpectFound(RunIn("cat", seSelOnly | seBackward, places), {1, 5}, false);
    EXPECT_EQ(RunIn("cat", seSelOnly, {{1, 1}, {1, 2}, {1, 8}}).MatchBegin, (TParaPos{1, 5}));
    EXPECT_EQ(RunIn("cat", seSelOnly, {{1, 1}, {1, 6}, {1, 9}}).Stop, TSearchStop::Exhausted);
}

TEST_F(Search, SelectionOnlySpansParagraphs) {
    LoadText({"cat cat", "cat", "cat cat"});
    const TSearchPlaces places{{1, 1}, {1, 3}, {3, 4}};
    ExpectFound(RunIn("cat", seSelOnly, places), {1, 5}, true);
    ExpectFound(RunIn("cat", seSelOnly | seBackward, places), {3, 1}, false);
}

// ---------------------------------------------------------------------------------------------
// Replace all

TEST_F(Search, ReplaceAllByALongerStringContainingItReplacesEachOriginalOnce) {
    LoadText({"cat cat", "a cat", "catcat"});
    const TSearchOutcome outcome = Run("cat", seGlobal | seReplaceAll, {1, 1}, "big cat");
    EXPECT_EQ(outcome.Stop, TSearchStop::Exhausted);
    EXPECT_EQ(outcome.Replacements, 5);
    EXPECT_EQ(Paragraphs(list), (Strings{"big cat big cat", "a big cat", "big catbig cat"}));
}

TEST_F(Search, BackwardReplaceAllNeverSearchesTheInsertedText) {
    LoadText({"aa", "xa"});
    const TSearchOutcome outcome = Run("a", seGlobal | seBackward | seReplaceAll, {1, 1}, "aa");
    EXPECT_EQ(outcome.Replacements, 3);
    EXPECT_EQ(Paragraphs(list), (Strings{"aaaa", "xaa"}));
}

TEST_F(Search, ReplaceAllOfFiftyOccurrencesReturnsFiftyAndUndoesInAtMostFiftySteps) {
    std::string text;
    for (int i = 0; i < 50; ++i) {
        text += "dog ";
    }
    LoadText({text.substr(0, 100), text.substr(100)});
    const Strings before = Paragraphs(list);
    const TSearchOutcome outcome = Run("DOG", seGlobal | seReplaceAll, {2, 3}, "wolf");
    EXPECT_EQ(SearchResult(outcome, 0), 50);
    EXPECT_EQ(Paragraphs(list)[1].substr(0, 10), "wolf wolf ");
    int steps = 0;
    TParaPos caret;
    while (list.UndoBuffer().UndoCount() > 0) {
        list.UndoReplay(caret);
        ++steps;
    }
    EXPECT_LE(steps, 50);
    EXPECT_EQ(Paragraphs(list), before);
}

TEST_F(Search, ReplaceAllByNothingDeletesEveryOccurrence) {
    LoadText({"abab", "xaby"});
    EXPECT_EQ(Run("ab", seGlobal | seReplaceAll).Replacements, 3);
    EXPECT_EQ(Paragraphs(list), (Strings{"", "xy"}));
}

TEST_F(Search, ReplaceAllFromTheCaretLeavesEarlierOccurrences) {
    LoadText({"cat cat", "cat"});
    EXPECT_EQ(Run("cat", seReplaceAll, {1, 2}, "dog").Replacements, 2);
    EXPECT_EQ(Paragraphs(list), (Strings{"cat dog", "dog"}));
    EXPECT_EQ(Run("dog", seReplaceAll | seBackward, {2, 3}, "cow").Replacements, 1);
    EXPECT_EQ(Paragraphs(list), (Strings{"cat cow", "dog"}));
}

TEST_F(Search, ReplaceAllOfWholeWordsOnly) {
    LoadText({"cat cats cat_ cat"});
    EXPECT_EQ(Run("cat", seGlobal | seWholeWord | seReplaceAll, {1, 1}, "dog").Replacements, 2);
    EXPECT_EQ(Paragraphs(list), (Strings{"dog cats cat_ dog"}));
}

TEST_F(Search, ReplaceAllInTheSelectionShiftsTheRangeEnd) {
    LoadText({"cat cat cat", "cat"});
    const TSearchPlaces places{{1, 8}, {1, 1}, {1, 8}};
    const TSearchOutcome outcome = RunIn("cat", seSelOnly | seReplaceAll, places, "tiger");
    EXPECT_EQ(outcome.Replacements, 2);
    EXPECT_EQ(Paragraphs(list), (Strings{"tiger tiger cat", "cat"}));
    EXPECT_EQ(outcome.Range, (TSearchRange{{1, 1}, {1, 12}}));
}

TEST_F(Search, BackwardReplaceAllInTheSelectionShiftsTheRangeEnd) {
    LoadText({"cat cat cat cat"});
    const TSearchPlaces places{{1, 5}, {1, 5}, {1, 12}};
    const TSearchOutcome outcome = RunIn("cat", seSelOnly | seBackward | seReplaceAll, places, "c");
    EXPECT_EQ(outcome.Replacements, 2);
    EXPECT_EQ(Paragraphs(list), (Strings{"cat c c cat"}));
    EXPECT_EQ(outcome.Range, (TSearchRange{{1, 5}, {1, 8}}));
}

TEST_F(Search, ReplaceAllStopsAtTheParagraphLengthLimitKeepingEarlierReplacements) {
    LoadText({"ab ab", "ab ab ab"});
    list.SetParaLengthLimit(10);
    const TSearchOutcome outcome = Run("ab", seGlobal | seReplaceAll, {1, 1}, "abcd");
    EXPECT_EQ(outcome.Stop, TSearchStop::StoreError);
    EXPECT_EQ(SearchResult(outcome, 0), kErrorParaTooLong);
    EXPECT_EQ(outcome.Replacements, 3);
    EXPECT_EQ(Paragraphs(list), (Strings{"abcd abcd", "abcd ab ab"}));
}

TEST_F(Search, ReplaceAllStopsAtTheTextSizeLimit) {
    LoadText({"ab ab ab"});
    list.SetByteLimit(10);
    const TSearchOutcome outcome = Run("ab", seGlobal | seReplaceAll, {1, 1}, "abc");
    EXPECT_EQ(outcome.Error, kErrorTextTooLarge);
    EXPECT_EQ(outcome.Replacements, 2);
    EXPECT_EQ(Paragraphs(list), (Strings{"abc abc ab"}));
}

TEST_F(Search, ReplaceAllWithNothingFoundReportsMinusOne) {
    LoadText({"abc"});
    const TSearchOutcome outcome = Run("x", seGlobal | seReplaceAll, {1, 1}, "y");
    EXPECT_EQ(outcome.Stop, TSearchStop::Exhausted);
    EXPECT_EQ(SearchResult(outcome, 0), -1);
    EXPECT_EQ(SearchResult(outcome, 1), 1);
    EXPECT_FALSE(list.Modified());
}

// ---------------------------------------------------------------------------------------------
// The selection and the result

TEST_F(Search, SelectionMatchesTheSearchStringWithinOneParagraph) {
    LoadText({"a Cat", "cat"});
    EXPECT_TRUE(SelectionMatches(list, {{1, 6}, {1, 3}, {1, 6}}, "cAT", 0));
    EXPECT_FALSE(SelectionMatches(list, {{1, 6}, {1, 3}, {1, 6}}, "cAT", seMatchCase));
    EXPECT_TRUE(SelectionMatches(list, {{1, 6}, {1, 3}, {1, 6}}, "Cat", seMatchCase));
    EXPECT_FALSE(SelectionMatches(list, {{1, 6}, {1, 3}, {1, 5}}, "Cat", 0));
    EXPECT_FALSE(SelectionMatches(list, {{2, 1}, {1, 5}, {2, 1}}, "t", 0));
    EXPECT_FALSE(SelectionMatches(list, {{1, 6}, {1, 5}, {1, 8}}, "t  ", 0));
    EXPECT_FALSE(SelectionMatches(list, {{1, 1}, {1, 1}, {1, 1}}, "", 0));
}

TEST(SearchResultOf, ErrorsWinThenReplacementsThenTheFind) {
    TSearchOutcome outcome;
    outcome.Stop = TSearchStop::StoreError;
    outcome.Error = kErrorOutOfMemory;
    outcome.Replacements = 3;
    EXPECT_EQ(SearchResult(outcome, 1), kErrorOutOfMemory);
    outcome.Stop = TSearchStop::Found;
    EXPECT_EQ(SearchResult(outcome, 0), 3);
    outcome.Replacements = 0;
    EXPECT_EQ(SearchResult(outcome, 0), 0);
    EXPECT_EQ(SearchResult(outcome, 1), 1);
    outcome.Stop = TSearchStop::Exhausted;
    EXPECT_EQ(SearchResult(outcome, 0), -1);
}

// ---------------------------------------------------------------------------------------------
// Against a naive reference

bool IsDelimiter(char c) {
    return kWordDelimiters.find(c) != std::string_view::npos;
}

bool ReferenceWholeWord(const std::string& text, std::size_t at, std::size_t length) {
    return (at == 0 || IsDelimiter(text[at - 1])) &&
           (at + length >= text.size() || IsDelimiter(text[at + length]));
}

/// The first acceptable occurrence at or after `caret` (forward) or the last one ending before
/// it (backward), found with std::string::find; paragraph 0 when there is none.
TParaPos ReferenceFind(const Strings& paras, const std::string& search, TParaPos caret,
                       bool backward, bool wholeWord) {
    TParaPos best{};
    for (std::size_t p = 0; p < paras.size(); ++p) {
        const auto para = static_cast<std::int32_t>(p + 1);
        for (std::size_t at = paras[p].find(search); at != std::string::npos;
             at = paras[p].find(search, at + 1)) {
            const auto pos = static_cast<std::int32_t>(at + 1);
            const auto end = static_cast<std::int32_t>(at + search.size() + 1);
            const bool afterCaret = para > caret.Para || (para == caret.Para && pos >= caret.Pos);
            const bool beforeCaret = para < caret.Para || (para == caret.Para && end <= caret.Pos);
            if ((backward ? !beforeCaret : !afterCaret) ||
                (wholeWord && !ReferenceWholeWord(paras[p], at, search.size()))) {
                continue;
            }
            if (!backward) {
                return {para, pos};
            }
            best = {para, pos};
        }
    }
    return best;
}

/// A short text of word characters and delimiters, so that occurrences overlap often.
std::string RandomText(std::mt19937& random, std::size_t maxLength) {
    static constexpr std::string_view kAlphabet = "a-_ ";
    std::string text(random() % (maxLength + 1), ' ');
    for (char& c : text) {
        c = kAlphabet[random() % kAlphabet.size()];
    }
    return text;
}

/// One to `maxCount` random paragraphs of up to `maxLength` characters each.
Strings RandomParagraphs(std::mt19937& random, std::size_t maxCount, std::size_t maxLength) {
    Strings paras(1 + random() % maxCount);
    for (std::string& para : paras) {
        para = RandomText(random, maxLength);
    }
    return paras;
}

/// One to three characters, mostly taken from one of the paragraphs.
std::string RandomSearch(std::mt19937& random, const Strings& paras) {
    const std::string& para = paras[random() % paras.size()];
    const std::size_t length = 1 + random() % 3;
    if (random() % 3 != 0 && para.size() >= length) {
        return para.substr(random() % (para.size() - length + 1), length);
    }
    std::string search = RandomText(random, 3);
    return search.empty() ? "a" : search;
}

TEST_F(Search, FindsWhatAPlainFindOverTheParagraphsFinds) {
    std::mt19937 random(2026);
    for (int round = 0; round < 5000; ++round) {
        const Strings paras = RandomParagraphs(random, 5, 16);
        const std::string search = RandomSearch(random, paras);
        TParaList fresh{nullptr, false, 64};
        Load(fresh, paras);
        const auto caretPara = static_cast<std::int32_t>(1 + random() % paras.size());
        const TParaPos caret{caretPara, static_cast<std::int32_t>(1 + random() % 14)};
        const bool backward = random() % 2 == 0;
        const bool wholeWord = random() % 2 == 0;
        const TSearchOptions options =
            seMatchCase | (backward ? seBackward : 0) | (wholeWord ? seWholeWord : 0);
        const TSearchOutcome outcome =
            SearchParagraphs(fresh, {search, {}, options, kWordDelimiters}, {caret, caret, caret});
        const TParaPos expected = ReferenceFind(paras, search, caret, backward, wholeWord);
        const TParaPos actual =
            outcome.Stop == TSearchStop::Found ? outcome.MatchBegin : TParaPos{};
        ASSERT_EQ(actual, expected) << "round " << round << " search '" << search << "' caret "
                                    << caret.Para << "," << caret.Pos;
    }
}

/// Every acceptable occurrence replaced once, left to right, whole words judged against the
/// text as rewritten so far.
std::string ReferenceReplaceAllForward(std::string text, const std::string& search,
                                       const std::string& replacement, bool wholeWord) {
    for (std::size_t at = text.find(search); at != std::string::npos;) {
        if (wholeWord && !ReferenceWholeWord(text, at, search.size())) {
            at = text.find(search, at + 1);
            continue;
        }
        text.replace(at, search.size(), replacement);
        at = text.find(search, at + replacement.size());
    }
    return text;
}

/// The same from right to left: after a replacement only occurrences ending before it count;
/// after a rejected one, any occurrence starting before it.
std::string ReferenceReplaceAllBackward(std::string text, const std::string& search,
                                        const std::string& replacement, bool wholeWord) {
    std::size_t end = text.size();  // occurrences must end at or before this index
    while (end >= search.size()) {
        const std::size_t at = text.rfind(search, end - search.size());
        if (at == std::string::npos) {
            break;
        }
        if (wholeWord && !ReferenceWholeWord(text, at, search.size())) {
            if (at == 0) {
                break;
            }
            end = at - 1 + search.size();
            continue;
        }
        text.replace(at, search.size(), replacement);
        end = at;
    }
    return text;
}

TEST_F(Search, ReplacesWhatAPlainReplaceOverTheParagraphsReplaces) {
    std::mt19937 random(4711);
    for (int round = 0; round < 2000; ++round) {
        const Strings paras = RandomParagraphs(random, 4, 14);
        const std::string search = RandomSearch(random, paras);
        const std::string replacement = RandomText(random, 4);
        const bool backward = random() % 2 == 0;
        const bool wholeWord = random() % 2 == 0;
        TParaList fresh{nullptr, false, 256};
        Load(fresh, paras);
        const TSearchOptions options = seGlobal | seMatchCase | seReplaceAll |
                                       (backward ? seBackward : 0) | (wholeWord ? seWholeWord : 0);
        const TSearchOutcome outcome = SearchParagraphs(
            fresh, {search, replacement, options, kWordDelimiters}, {{1, 1}, {1, 1}, {1, 1}});
        Strings expected;
        for (const std::string& para : paras) {
            expected.push_back(
                backward ? ReferenceReplaceAllBackward(para, search, replacement, wholeWord)
                         : ReferenceReplaceAllForward(para, search, replacement, wholeWord));
        }
        ASSERT_EQ(Paragraphs(fresh), expected) << "round " << round << (backward ? " backward" : "")
                                               << " '" << search << "' -> '" << replacement << "'";
        EXPECT_EQ(outcome.Stop, TSearchStop::Exhausted);
        ASSERT_EQ(CheckStore(fresh), "");
    }
}

}  // namespace
}  // namespace tomery::editor
