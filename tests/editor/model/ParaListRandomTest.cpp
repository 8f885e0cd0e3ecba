// Seeded random edits of the store, checked step by step against a plain list of strings.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "OvcEditP.h"
#include "StoreChecker.h"

namespace tomery::editor {
namespace {

using testing::CheckStore;
using testing::DisplayLines;
using testing::Load;
using testing::Paragraphs;
using Strings = std::vector<std::string>;

/// Which paragraphs continue the line of the one before.
std::vector<bool> Continuations(TParaList& list) {
    std::vector<bool> result;
    for (const TParaNode* node = list.Head(); node != nullptr; node = node->Next) {
        result.push_back(node->ContinuesLine());
    }
    return result;
}

/// The text as the store's operations are meant to leave it, built from string operations.
/// A removed paragraph takes the line end after it along, one inserted before a paragraph
/// takes that paragraph's place in its line, and a join keeps the line end after the pair.
class ReferenceText {
  public:
    ReferenceText() = default;
    ReferenceText(Strings paragraphs, std::vector<bool> continuations)
        : paras(std::move(paragraphs)), joins(std::move(continuations)) {}
    explicit ReferenceText(TParaList& list) : paras(Paragraphs(list)), joins(Continuations(list)) {}

    void InsertText(std::int32_t p, std::int32_t c, const std::string& text) {
        std::string& s = at(p);
        if (text.empty()) {
            return;
        }
        if (static_cast<std::size_t>(c - 1) > s.size()) {
            s.resize(static_cast<std::size_t>(c - 1), ' ');
        }
        s.insert(static_cast<std::size_t>(c - 1), text);
    }
    void DeleteText(std::int32_t p, std::int32_t c, std::int32_t n) {
        std::string& s = at(p);
        if (c >= 1 && static_cast<std::size_t>(c) <= s.size()) {
            s.erase(static_cast<std::size_t>(c - 1), static_cast<std::size_t>(n));
        }
    }
    void ReplaceText(std::int32_t p, std::int32_t c, std::int32_t m, const std::string& text) {
        std::string& s = at(p);
        if (static_cast<std::size_t>(c) > s.size() + 1) {
            InsertText(p, c, text);
            return;
        }
        s.replace(static_cast<std::size_t>(c - 1), static_cast<std::size_t>(m), text);
    }
    void InsertParaBefore(std::int32_t p, const std::string& text) {
        const bool continues = joins[static_cast<std::size_t>(p - 1)];
        joins[static_cast<std::size_t>(p - 1)] = false;
        paras.insert(paras.begin() + (p - 1), text);
        joins.insert(joins.begin() + (p - 1), continues);
    }
    void InsertParaAfter(std::int32_t p, const std::string& text) {
        paras.insert(paras.begin() + p, text);
        joins.insert(joins.begin() + p, false);
    }
    void DeletePara(std::int32_t p) {
        if (paras.size() > 1) {
            if (static_cast<std::size_t>(p) < paras.size()) {
                joins[static_cast<std::size_t>(p)] = joins[static_cast<std::size_t>(p - 1)];
            }
            erase(p, p);
        }
    }
    void SetContinuesLine(std::int32_t p, bool continues) {
        joins[static_cast<std::size_t>(p - 1)] = continues;
    }
    std::int32_t Split(std::int32_t p, std::int32_t c, bool trim, std::int32_t indent,
                       std::uint8_t tabSize) {
        std::string& s = at(p);
        c = std::clamp<std::int32_t>(c, 1, static_cast<std::int32_t>(s.size()) + 1);
        if (c == 1) {
            InsertParaBefore(p, "");
            return 0;
        }
        const std::string tail = s.substr(static_cast<std::size_t>(c - 1));
        std::string head = s.substr(0, static_cast<std::size_t>(c - 1));
        if (!tail.empty() && trim) {
            head.erase(head.find_last_not_of(" \t") + 1);
        }
        std::string ind;
        if (indent > 0) {
            ind = std::string(tabSize == 0 ? 0 : indent / tabSize, '\t') +
                  std::string(tabSize == 0 ? indent : indent % tabSize, ' ');
        }
        s = head;
        InsertParaAfter(p, ind + tail);
        return static_cast<std::int32_t>(ind.size());
    }
    void Join(std::int32_t p, std::int32_t c) {
        std::string& s = at(p);
        c = std::max<std::int32_t>(c, static_cast<std::int32_t>(s.size()) + 1);
        if (c == 1) {
            DeletePara(p);
            return;
        }
        const std::string next = at(p + 1);
        if (!next.empty()) {
            InsertText(p, c, next);
        }
        erase(p + 1, p + 1);
    }
    void DeleteRange(TParaPos a, TParaPos b) {
        if (a.Para == b.Para) {
            DeleteText(a.Para, a.Pos, b.Pos - a.Pos);
            return;
        }
        const std::string& first = at(a.Para);
        const std::string& last = at(b.Para);
        const std::string joined =
            first.substr(0,
                         std::min<std::size_t>(first.size(), static_cast<std::size_t>(a.Pos - 1))) +
            last.substr(std::min<std::size_t>(last.size(), static_cast<std::size_t>(b.Pos - 1)));
        erase(a.Para + 1, b.Para);
        at(a.Para) = joined;
    }
    void InsertLines(TParaPos& where, const std::string& text) {
        if (text.find('\n') == std::string::npos && (text.empty() || text.back() != '\r')) {
            InsertText(where.Para, where.Pos, text);
            where.Pos += static_cast<std::int32_t>(text.size());
            return;
        }
        std::size_t i = 0;
        while (i < text.size()) {
            const std::size_t lf = text.find('\n', i);
            const std::size_t end = lf == std::string::npos ? text.size() : lf + 1;
            std::string content = text.substr(i, end - i);
            i = end;
            const bool endsLine = content.back() == '\r' || content.back() == '\n';
            content.erase(content.find_last_not_of("\r\n") + 1);
            if (endsLine && where.Pos == 1) {
                InsertParaBefore(where.Para, content);
            } else {
                InsertText(where.Para, where.Pos, content);
                where.Pos += static_cast<std::int32_t>(content.size());
                if (endsLine) {
                    Split(where.Para, where.Pos, true, 0, 0);
                }
            }
            if (endsLine) {
                ++where.Para;
                where.Pos = 1;
            }
        }
    }

    std::string& at(std::int32_t p) { return paras[static_cast<std::size_t>(p - 1)]; }
    /// Paragraphs `first` to `last` without anything else.
    void erase(std::int32_t first, std::int32_t last) {
        paras.erase(paras.begin() + (first - 1), paras.begin() + last);
        joins.erase(joins.begin() + (first - 1), joins.begin() + last);
    }
    friend bool operator==(const ReferenceText&, const ReferenceText&) = default;

    Strings paras;
    std::vector<bool> joins;
};

class RandomEdits {
  public:
    /// Loads between `fewestParas` and `mostParas` random paragraphs.
    RandomEdits(std::uint32_t seed, std::uint16_t undoSize, std::int32_t fewestParas = 1,
                std::int32_t mostParas = 8)
        : random_(seed),
          list_(nullptr, Chance(2), undoSize),
          reference_(RandomParagraphs(fewestParas, mostParas), {}) {
        list_.SetWrapColumn(Between(4, 30));
        list_.SetTabSize(static_cast<std::uint8_t>(Between(1, 8)));
        Load(list_, reference_.paras);
        // Some paragraphs continue a line, as the cut lines of a file do.
        for (std::int32_t p = 1; p <= list_.ParaCount(); ++p) {
            list_.SetContinuesLine(p, Chance(3));
        }
        list_.SetUndoBufferSize(undoSize);
        list_.SetModified(false);
        reference_ = ReferenceText(list_);
        original_ = reference_;
        loadedBytes_ = list_.ByteCount();
    }

    /// Applies one random operation to both texts and checks the store. With `trackUndo`,
    /// undo and redo are checked against the texts at the step boundaries.
    void Step(bool trackUndo) {
        tracking_ = trackUndo;
        const ReferenceText before = reference_;
        const Strings linesBefore = DisplayLines(list_);
        const std::uint8_t groupBefore = list_.UndoBuffer().GroupNumber();
        const Kind kind = Apply();
        ASSERT_EQ(Paragraphs(list_), reference_.paras) << "after " << last_;
        ASSERT_EQ(Continuations(list_), reference_.joins) << "after " << last_;
        ASSERT_EQ(CheckStore(list_), "") << "after " << last_;
        if (kind == Kind::Edit) {
            CheckChangedLines(linesBefore);
        }
        ASSERT_FALSE(::testing::Test::HasFailure()) << "after " << last_;
        if (!trackUndo) {
            return;
        }
        switch (kind) {
            case Kind::Edit:
            case Kind::Typing:
                if (list_.UndoBuffer().GroupNumber() != groupBefore) {
                    history_.push_back(before);
                }
                if (list_.UndoBuffer().RedoCount() == 0) {
                    future_.clear();
                }
                // Nothing may have been discarded, or undo could not reach the start.
                ASSERT_GT(list_.UndoBuffer().FreeBytes(), 2000);
                break;
            case Kind::Undo:
                ASSERT_EQ(list_.Modified(), !history_.empty()) << "after " << last_;
                break;
            case Kind::Redo:
            case Kind::Setting:
                break;
        }
    }

    void UndoEverything() {
        TParaPos caret;
        while (list_.UndoBuffer().UndoCount() > 0) {
            list_.UndoReplay(caret);
            ASSERT_EQ(CheckStore(list_), "");
        }
    }

    void RedoEverything() {
        TParaPos caret;
        while (list_.UndoBuffer().RedoCount() > 0) {
            list_.RedoReplay(caret);
            ASSERT_EQ(CheckStore(list_), "");
        }
    }

    TParaList& List() { return list_; }
    const ReferenceText& Original() const { return original_; }
    /// The text with every held step redone.
    ReferenceText Newest() const { return future_.empty() ? reference_ : future_.front(); }

  private:
    /// Typing is an edit of several calls whose changed lines are checked call by call.
    enum class Kind { Edit, Typing, Undo, Redo, Setting };

    std::int32_t Between(std::int32_t low, std::int32_t high) {
        return std::uniform_int_distribution<std::int32_t>(low, high)(random_);
    }
    bool Chance(std::int32_t oneIn) { return Between(1, oneIn) == 1; }

    std::string RandomText(std::int32_t maxLength) {
        static const std::string alphabet = "abcdefghij    --\t";
        std::string text(static_cast<std::size_t>(Between(0, maxLength)), 'x');
        for (char& c : text) {
            c = alphabet[static_cast<std::size_t>(
                Between(0, static_cast<std::int32_t>(alphabet.size()) - 1))];
        }
        return text;
    }

    Strings RandomParagraphs(std::int32_t fewest, std::int32_t most) {
        Strings paras(static_cast<std::size_t>(Between(fewest, most)));
        for (std::string& p : paras) {
            p = RandomText(40);
        }
        return paras;
    }

    std::int32_t RandomPara() { return Between(1, list_.ParaCount()); }
    std::int32_t Length(std::int32_t p) { return list_.GetParaLength(p); }

    void CheckChangedLines(const Strings& before) {
        const Strings after = DisplayLines(list_);
        if (after.size() != before.size()) {
            ASSERT_EQ(list_.LastChangedLine(), kMaxInt32) << "after " << last_;
        }
        const std::size_t common = std::min(before.size(), after.size());
        for (std::size_t i = 0; i < common; ++i) {
            if (before[i] != after[i]) {
                const auto line = static_cast<std::int32_t>(i) + 1;
                ASSERT_GE(line, list_.FirstChangedLine()) << "after " << last_;
                ASSERT_LE(line, list_.LastChangedLine()) << "after " << last_;
            }
        }
    }

    Kind Apply() {
        const bool big = list_.ByteCount() > loadedBytes_ + 1500;
        const std::int32_t choice = Between(0, 99);
        const std::int32_t p = RandomPara();
        const std::int32_t length = Length(p);
        if (choice < 18 && !big) {
            const std::int32_t c = Between(1, length + 3);
            const std::string text = RandomText(6);
            last_ = "insert " + std::to_string(p) + "," + std::to_string(c) + " '" + text + "'";
            EXPECT_EQ(list_.InsertText(p, c, text), kErrorNone);
            reference_.InsertText(p, c, text);
        } else if (choice < 22 && !big) {
            // Typing on at one place, so that records merge.
            std::int32_t c = Between(1, length + 1);
            last_ = "typing at " + std::to_string(p) + "," + std::to_string(c);
            for (std::int32_t i = Between(1, 6); i > 0; --i, ++c) {
                const std::string ch = RandomText(1);
                const Strings lines = DisplayLines(list_);
                EXPECT_EQ(list_.InsertText(p, c, ch.empty() ? "z" : ch), kErrorNone);
                reference_.InsertText(p, c, ch.empty() ? "z" : ch);
                CheckChangedLines(lines);
            }
            return Kind::Typing;
        } else if (choice < 34) {
            const std::int32_t c = Between(1, length + 1);
            const std::int32_t n = Between(0, 8);
            last_ =
                "delete " + std::to_string(p) + "," + std::to_string(c) + " " + std::to_string(n);
            if (Chance(2)) {
                list_.DeleteText(p, c, n);
                reference_.DeleteText(p, c, n);
            } else {
                // Backspacing from c.
                for (std::int32_t i = 0; i < n && c - i > 1; ++i) {
                    const Strings lines = DisplayLines(list_);
                    list_.DeleteText(p, c - i - 1, 1);
                    reference_.DeleteText(p, c - i - 1, 1);
                    CheckChangedLines(lines);
                }
                return Kind::Typing;
            }
        } else if (choice < 42) {
            const std::int32_t c = Between(1, length + 1);
            const std::int32_t m = Between(0, length - c + 1);
            const std::string text = big ? RandomText(m) : RandomText(6);
            last_ = "replace " + std::to_string(p) + "," + std::to_string(c) + " " +
                    std::to_string(m) + " '" + text + "'";
            EXPECT_EQ(list_.ReplaceText(p, c, m, text), kErrorNone);
            reference_.ReplaceText(p, c, m, text);
        } else if (choice < 52 && !big) {
            const std::int32_t c = Between(1, length + 2);
            const bool trim = Chance(2);
            std::int32_t indent = Chance(2) ? 0 : Between(0, 12);
            const auto tabSize = static_cast<std::uint8_t>(Between(0, 8));
            last_ = "split " + std::to_string(p) + "," + std::to_string(c) + " indent " +
                    std::to_string(indent) + "/" + std::to_string(tabSize);
            const std::int32_t expected = reference_.Split(p, c, trim, indent, tabSize);
            EXPECT_EQ(
                list_.SplitPara(p, c, trim ? TTrimBlanks::Yes : TTrimBlanks::No, indent, tabSize),
                kErrorNone);
            EXPECT_EQ(indent, expected);
        } else if (choice < 60) {
            if (p < list_.ParaCount()) {
                const std::int32_t c = length + 1 + (Chance(3) ? Between(0, 3) : 0);
                last_ = "join " + std::to_string(p) + "," + std::to_string(c);
                EXPECT_EQ(list_.JoinParas(p, c), kErrorNone);
                reference_.Join(p, c);
            } else {
                last_ = "delete paragraph " + std::to_string(p);
                list_.DeletePara(p);
                reference_.DeletePara(p);
            }
        } else if (choice < 67) {
            const std::int32_t reach = Chance(8) ? 40 : 3;
            const std::int32_t q = Between(p, std::min(list_.ParaCount(), p + reach));
            TParaPos a{p, Chance(3) ? 1 : Between(1, length + 1)};
            TParaPos b{q, Chance(3) ? 1 : Between(1, Length(q) + 1)};
            if (a.Para == b.Para && b.Pos < a.Pos) {
                std::swap(a, b);
            }
            last_ = "range " + std::to_string(a.Para) + "," + std::to_string(a.Pos) + " to " +
                    std::to_string(b.Para) + "," + std::to_string(b.Pos);
            EXPECT_EQ(list_.DeleteRange(a, b), kErrorNone);
            reference_.DeleteRange(a, b);
        } else if (choice < 73 && !big) {
            std::string text;
            for (std::int32_t i = Between(1, 4); i > 0; --i) {
                text += RandomText(8);
                text += Chance(2) ? "\r\n" : "\n";
            }
            if (Chance(2)) {
                text += RandomText(5);
            }
            TParaPos at{p, Between(1, length + 2)};
            TParaPos expectedAt = at;
            last_ = "lines at " + std::to_string(p) + "," + std::to_string(at.Pos);
            EXPECT_EQ(list_.InsertLines(at, text), kErrorNone);
            reference_.InsertLines(expectedAt, text);
            EXPECT_EQ(at, expectedAt);
        } else if (choice < 76 && !big) {
            last_ = "paragraph around " + std::to_string(p);
            const std::string text = RandomText(20);
            if (Chance(2)) {
                EXPECT_EQ(list_.InsertParaBefore(p, text), kErrorNone);
                reference_.InsertParaBefore(p, text);
            } else {
                EXPECT_EQ(list_.InsertParaAfter(p, text), kErrorNone);
                reference_.InsertParaAfter(p, text);
            }
        } else if (choice < 78) {
            const bool continues = Chance(2);
            last_ = "continues " + std::to_string(p) + " " + std::to_string(continues);
            list_.SetContinuesLine(p, continues);
            reference_.SetContinuesLine(p, continues);
        } else if (choice < 86) {
            last_ = "undo";
            if (list_.UndoBuffer().UndoCount() > 0) {
                TParaPos caret;
                const bool modified = list_.UndoReplay(caret);
                EXPECT_EQ(modified, list_.Modified());
                EXPECT_GE(caret.Para, 1);
                EXPECT_TRUE(!tracking_ || !history_.empty()) << "undo beyond the history";
                if (!history_.empty()) {
                    future_.push_back(reference_);
                    reference_ = history_.back();
                    history_.pop_back();
                } else {
                    reference_ = ReferenceText(list_);
                }
            }
            return Kind::Undo;
        } else if (choice < 92) {
            last_ = "redo";
            if (list_.UndoBuffer().RedoCount() > 0) {
                TParaPos caret;
                list_.RedoReplay(caret);
                EXPECT_TRUE(list_.Modified());
                EXPECT_TRUE(!tracking_ || !future_.empty()) << "redo beyond the future";
                if (!future_.empty()) {
                    history_.push_back(reference_);
                    reference_ = future_.back();
                    future_.pop_back();
                } else {
                    reference_ = ReferenceText(list_);
                }
            }
            return Kind::Redo;
        } else if (choice < 96) {
            last_ = "wrap column";
            list_.SetWrapColumn(Between(3, 30));
            return Kind::Setting;
        } else if (choice < 98) {
            last_ = "tab size";
            list_.SetTabSize(static_cast<std::uint8_t>(Between(1, 8)));
            return Kind::Setting;
        } else {
            last_ = "word wrap";
            list_.SetWordWrap(!list_.WordWrap());
            return Kind::Setting;
        }
        return Kind::Edit;
    }

    std::mt19937 random_;
    TParaList list_;
    ReferenceText reference_;
    ReferenceText original_;
    std::vector<ReferenceText> history_;  ///< the text before each held undo step
    std::vector<ReferenceText> future_;   ///< the text after each undone step
    std::string last_;
    bool tracking_ = false;
    std::int64_t loadedBytes_ = 0;
};

// Rounds of mixed edits with an undo buffer large enough to hold every step: each undo must
// restore the text before its step, redo the text after it, and undoing every step must
// bring back the loaded text with Modified false.
TEST(ParaListRandom, EveryStepMatchesTheReferenceAndUndoesToTheStart) {
    for (std::uint32_t seed = 1; seed <= 120; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomEdits edits(seed, 65535);
        for (int step = 0; step < 150; ++step) {
            ASSERT_NO_FATAL_FAILURE(edits.Step(true)) << "step " << step;
        }
        const ReferenceText newest = edits.Newest();
        ASSERT_NO_FATAL_FAILURE(edits.UndoEverything());
        EXPECT_TRUE(ReferenceText(edits.List()) == edits.Original());
        EXPECT_FALSE(edits.List().Modified());
        ASSERT_NO_FATAL_FAILURE(edits.RedoEverything());
        EXPECT_TRUE(ReferenceText(edits.List()) == newest);
    }
}

// A small undo buffer keeps discarding old steps and dropping groups that do not fit; the
// text must still follow the reference and undo must never corrupt the store.
TEST(ParaListRandom, ASmallUndoBufferKeepsTheStoreSound) {
    for (std::uint32_t seed = 100; seed < 140; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RandomEdits edits(seed, 300);
        for (int step = 0; step < 300; ++step) {
            ASSERT_NO_FATAL_FAILURE(edits.Step(false)) << "step " << step;
        }
        ASSERT_NO_FATAL_FAILURE(edits.UndoEverything());
    }
}

// A long loaded text lies in several of the store's shared text blocks. Edits move paragraphs
// out of them, and long deletions, once a small undo buffer lets go of them, leave whole
// blocks unused; every paragraph must keep its text whichever way its bytes went.
TEST(ParaListRandom, EditsOfALongLoadedTextFollowTheReference) {
    for (std::uint32_t seed = 200; seed < 220; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const bool smallUndo = seed % 2 == 0;
        RandomEdits edits(seed, smallUndo ? 300 : 65535, 200, 400);
        for (const TParaNode* node = edits.List().Head(); node != nullptr; node = node->Next) {
            ASSERT_EQ(node->SharesText(), node->Length() > 0) << "loaded text in a shared block";
        }
        for (int step = 0; step < 200; ++step) {
            ASSERT_NO_FATAL_FAILURE(edits.Step(!smallUndo)) << "step " << step;
        }
        const ReferenceText newest = edits.Newest();
        ASSERT_NO_FATAL_FAILURE(edits.UndoEverything());
        if (!smallUndo) {
            EXPECT_TRUE(ReferenceText(edits.List()) == edits.Original());
            ASSERT_NO_FATAL_FAILURE(edits.RedoEverything());
            EXPECT_TRUE(ReferenceText(edits.List()) == newest);
        }
    }
}

}  // namespace
}  // namespace tomery::editor
