// Stored bookmarks in the paragraph store: how they follow changes and undo, and where they
// stand in the saved text.
#include "OvcEditP.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "StoreChecker.h"

namespace tomery::editor {
namespace {

using Places = std::vector<TParaPos>;

class StoredBookmarks : public ::testing::Test {
  protected:
    /// "alpha", "beta", "gamma", "delta" with bookmarks at the start of "beta", at the first
    /// "m" of "gamma" and at the start of "delta".
    void SetUp() override {
        list = std::make_unique<TParaList>(nullptr, false, 8192);
        testing::Load(*list, {"alpha", "beta", "gamma", "delta"});
        list->SetStoredBookmarks({{"B", {2, 1}}, {"G", {3, 3}}, {"D", {4, 1}}});
    }
    Places Now() const {
        Places places;
        for (const TStoredBookmark& bookmark : list->StoredBookmarks()) {
            places.push_back(bookmark.Place);
        }
        return places;
    }
    void Undo() {
        TParaPos caret;
        list->UndoReplay(caret);
    }

    std::unique_ptr<TParaList> list;
};

TEST_F(StoredBookmarks, FollowChangesMoveToADeletionsPlaceAndComeBackWithUndo) {
    struct Case {
        const char* change;
        std::function<void(TParaList&)> apply;
        Places after;
        Places undone;
    };
    std::int32_t indent = 0;
    const Case cases[] = {
        {"typing before them",
         [](TParaList& l) { l.InsertText(3, 1, "zz"); },
         {{2, 1}, {3, 5}, {4, 1}},
         {{2, 1}, {3, 3}, {4, 1}}},
        {"typing at one",
         [](TParaList& l) { l.InsertText(2, 1, "zz"); },
         {{2, 3}, {3, 3}, {4, 1}},
         {{2, 1}, {3, 3}, {4, 1}}},
        {"deleting around one",
         [](TParaList& l) { l.DeleteText(3, 2, 3); },
         {{2, 1}, {3, 2}, {4, 1}},
         {{2, 1}, {3, 2}, {4, 1}}},
        {"deleting its paragraph",
         [](TParaList& l) { l.DeletePara(2); },
         {{2, 1}, {2, 3}, {3, 1}},
         {{2, 1}, {3, 3}, {4, 1}}},
        {"deleting the last paragraph",
         [](TParaList& l) { l.DeletePara(4); },
         {{2, 1}, {3, 3}, {3, 6}},
         {{2, 1}, {3, 3}, {3, 6}}},
        {"deleting across paragraphs",
         [](TParaList& l) {
             l.DeleteRange({1, 3}, {3, 2});
         },
         {{1, 3}, {1, 4}, {2, 1}},
         {{1, 3}, {1, 3}, {4, 1}}},
        {"deleting whole lines",
         [](TParaList& l) {
             l.DeleteRange({2, 1}, {4, 1});
         },
         {{2, 1}, {2, 1}, {2, 1}},
         {{2, 1}, {2, 1}, {4, 1}}},
        {"splitting before one",
         [&indent](TParaList& l) { l.SplitPara(3, 2, TTrimBlanks::No, indent, 8); },
         {{2, 1}, {4, 2}, {5, 1}},
         {{2, 1}, {3, 3}, {4, 1}}},
        {"joining onto the one before",
         [](TParaList& l) { l.JoinParas(3, l.GetParaLength(3) + 1); },
         {{2, 1}, {3, 3}, {3, 6}},
         {{2, 1}, {3, 3}, {3, 6}}},
        {"pasting lines at one",
         [](TParaList& l) {
             TParaPos at{4, 1};
             l.InsertLines(at, "one\ntwo\n");
         },
         {{2, 1}, {3, 3}, {6, 1}},
         {{2, 1}, {3, 3}, {4, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.change);
        SetUp();
        c.apply(*list);
        EXPECT_EQ(Now(), c.after);
        Undo();
        EXPECT_EQ(Now(), c.undone);
        EXPECT_EQ(testing::CheckStore(*list), "");
    }
}

TEST_F(StoredBookmarks, SettingKeepsNamesAndOrderAndMovesOutsidePlacesIntoTheText) {
    list->SetStoredBookmarks({{"Z", {9, 1}}, {"A", {2, 40}}, {"", {0, 0}}});
    EXPECT_EQ(list->StoredBookmarks(),
              (std::vector<TStoredBookmark>{{"Z", {4, 1}}, {"A", {2, 5}}, {"", {1, 1}}}));
}

TEST_F(StoredBookmarks, OffsetsCountTheSavedTextWithCrLfAfterEachParagraph) {
    // "alpha" CR LF "beta" CR LF "gamma" CR LF "delta" CR LF.
    list->SetStoredBookmarks({{"D", {4, 1}}, {"a", {1, 1}}, {"end", {4, 6}}, {"G", {3, 3}}});
    EXPECT_EQ(list->StoredBookmarkOffsets(), (std::vector<std::int64_t>{20, 0, 25, 15}));
}

TEST_F(StoredBookmarks, StayInTheTextThroughAnyChangesAndUndo) {
    std::mt19937 random(24);
    for (int round = 0; round < 300; ++round) {
        const auto pick = [&](std::int32_t most) {
            return std::uniform_int_distribution<std::int32_t>(1, std::max(most, 1))(random);
        };
        const std::int32_t para = pick(list->ParaCount());
        const std::int32_t pos = pick(list->GetParaLength(para) + 1);
        std::int32_t indent = 0;
        switch (pick(6)) {
            case 1:
                list->InsertText(para, pos, "xyz");
                break;
            case 2:
                list->DeleteText(para, pos, pick(4));
                break;
            case 3:
                list->DeletePara(para);
                break;
            case 4:
                list->SplitPara(para, pos, TTrimBlanks::No, indent, 8);
                break;
            case 5:
                list->JoinParas(para, pos);
                break;
            default:
                Undo();
                break;
        }
        for (const TStoredBookmark& bookmark : list->StoredBookmarks()) {
            ASSERT_GE(bookmark.Place.Para, 1);
            ASSERT_LE(bookmark.Place.Para, list->ParaCount());
            ASSERT_GE(bookmark.Place.Pos, 1);
            ASSERT_LE(bookmark.Place.Pos, list->GetParaLength(bookmark.Place.Para) + 1);
        }
    }
}

}  // namespace
}  // namespace tomery::editor
