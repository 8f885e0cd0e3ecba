#include "OvcEditU.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "OvcEditN.h"

namespace tomery::editor {
namespace {

constexpr std::size_t kOverhead = TUndoNode::kOverhead;

bool Insert(TUndoBuffer& buffer, std::string_view text, std::int32_t pos, std::int32_t para = 1,
            bool modified = true) {
    return buffer.AddRecord(TUndoKind::TextInserted, modified, text, pos, para);
}

std::unique_ptr<std::uint8_t[]> NothingAbove1000(std::size_t size) {
    return size > 1000 ? nullptr : std::make_unique<std::uint8_t[]>(size);
}

std::unique_ptr<std::uint8_t[]> Nothing(std::size_t) {
    return nullptr;
}

TEST(UndoBuffer, HalvesTheRequestUntilABlockIsObtained) {
    EXPECT_EQ(TUndoBuffer(8192, NothingAbove1000).MemorySize(), 512);
    EXPECT_EQ(TUndoBuffer(1000, NothingAbove1000).MemorySize(), 1000);
}

TEST(UndoBuffer, WithoutABlockNothingIsEverRecorded) {
    TUndoBuffer failed(8192, Nothing);
    EXPECT_EQ(failed.MemorySize(), 0);
    EXPECT_FALSE(Insert(failed, "a", 1));
    EXPECT_EQ(failed.UndoCount(), 0);
    TUndoBuffer empty(0);
    EXPECT_EQ(empty.MemorySize(), 0);
    EXPECT_FALSE(Insert(empty, "a", 1));
    EXPECT_EQ(empty.UndoCount(), 0);
}

TEST(UndoBuffer, RecordsTakeTheirDataPlusSixteenBytes) {
    TUndoBuffer buffer(1024);
    ASSERT_TRUE(Insert(buffer, "hello", 1));
    EXPECT_EQ(buffer.FreeBytes(), 1024 - (5 + kOverhead));
    ASSERT_TRUE(buffer.AddReplaceRecord(true, 3, "new", "old!", 9));
    EXPECT_EQ(buffer.FreeBytes(), 1024 - (5 + kOverhead) - (4 + 3 + 18));
    const TUndoRecord replaced = buffer.TakeUndoRecord();
    EXPECT_EQ(replaced.Kind, TUndoKind::TextReplaced);
    EXPECT_EQ(replaced.OldText, "old!");
    EXPECT_EQ(replaced.NewText, "new");
    EXPECT_EQ(replaced.Data, std::string_view("old!\0new\0", 9));
    EXPECT_EQ(replaced.Para, 3);
    EXPECT_EQ(replaced.Pos, 9);
}

TEST(UndoBuffer, TypingInARowIsOneRecordAndOneStep) {
    TUndoBuffer buffer(8192);
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(Insert(buffer, "x", 5 + i));
    }
    EXPECT_EQ(buffer.UndoCount(), 1);
    const TUndoRecord typed = buffer.TakeUndoRecord();
    EXPECT_EQ(typed.Data, std::string(100, 'x'));
    EXPECT_EQ(typed.Pos, 5);
}

TEST(UndoBuffer, TypingElsewhereStartsANewStep) {
    TUndoBuffer buffer(8192);
    Insert(buffer, "ab", 1);
    Insert(buffer, "c", 3);
    Insert(buffer, "d", 10);
    Insert(buffer, "e", 11, 2);
    EXPECT_EQ(buffer.UndoCount(), 3);
}

TEST(UndoBuffer, BackspacesInARowPutTheirCharactersInFront) {
    TUndoBuffer buffer(8192);
    const std::string text = "abcde";
    for (int i = 4; i >= 0; --i) {
        buffer.AddRecord(TUndoKind::TextDeleted, true, text.substr(i, 1), 6 + i, 1);
    }
    EXPECT_EQ(buffer.UndoCount(), 1);
    const TUndoRecord deleted = buffer.TakeUndoRecord();
    EXPECT_EQ(deleted.Data, "abcde");
    EXPECT_EQ(deleted.Pos, 6);
}

TEST(UndoBuffer, ForwardDeletesInARowAppendTheirCharacters) {
    TUndoBuffer buffer(8192);
    for (char c : std::string("abc")) {
        buffer.AddRecord(TUndoKind::TextDeleted, true, std::string(1, c), 4, 1);
    }
    EXPECT_EQ(buffer.UndoCount(), 1);
    EXPECT_EQ(buffer.TakeUndoRecord().Data, "abc");
}

TEST(UndoBuffer, OverwritingInARowIsOneReplacement) {
    TUndoBuffer buffer(8192);
    buffer.AddReplaceRecord(true, 1, "a", "x", 3);
    buffer.AddReplaceRecord(true, 1, "b", "y", 4);
    buffer.AddReplaceRecord(true, 1, "c", "z", 5);
    EXPECT_EQ(buffer.UndoCount(), 1);
    EXPECT_EQ(buffer.FreeBytes(), 8192 - (6 + 18));
    const TUndoRecord replaced = buffer.TakeUndoRecord();
    EXPECT_EQ(replaced.OldText, "xyz");
    EXPECT_EQ(replaced.NewText, "abc");
}

TEST(UndoBuffer, ReplacedTextMayHoldZeroBytes) {
    TUndoBuffer buffer(8192);
    buffer.AddReplaceRecord(true, 1, std::string_view("n\0", 2), std::string_view("\0o", 2), 3);
    buffer.AddReplaceRecord(true, 1, "N", std::string_view("\0", 1), 5);
    const TUndoRecord replaced = buffer.TakeUndoRecord();
    EXPECT_EQ(replaced.OldText, std::string_view("\0o\0", 3));
    EXPECT_EQ(replaced.NewText, std::string_view("n\0N", 3));
}

TEST(UndoBuffer, GroupsAreOneStepAndNeverMerge) {
    TUndoBuffer buffer(8192);
    Insert(buffer, "a", 1);
    const bool outer = buffer.BeginGroup();
    const bool inner = buffer.BeginGroup();
    Insert(buffer, "b", 2);
    Insert(buffer, "c", 3);
    buffer.EndGroup(inner);
    Insert(buffer, "d", 4);
    buffer.EndGroup(outer);
    EXPECT_FALSE(buffer.Grouping());
    EXPECT_EQ(buffer.UndoCount(), 4);
    const std::uint8_t group = buffer.UndoGroup();
    int taken = 0;
    while (buffer.UndoCount() > 0 && buffer.UndoGroup() == group) {
        buffer.TakeUndoRecord();
        ++taken;
    }
    EXPECT_EQ(taken, 3);
    EXPECT_EQ(buffer.UndoCount(), 1);
}

TEST(UndoBuffer, GroupNumbersWrapButAdjacentGroupsDiffer) {
    TUndoBuffer buffer(65535);
    for (int i = 0; i < 300; ++i) {
        Insert(buffer, "x", 1, i + 1);
    }
    EXPECT_EQ(buffer.UndoCount(), 300);
    for (int i = 300; i > 0; --i) {
        const std::uint8_t group = buffer.UndoGroup();
        const TUndoRecord record = buffer.TakeUndoRecord();
        EXPECT_EQ(record.Para, i);
        EXPECT_NE(buffer.UndoGroup(), group) << "step " << i;
    }
}

TEST(UndoBuffer, UndoAndRedoMoveRecordsBetweenTheSides) {
    TUndoBuffer buffer(1024);
    Insert(buffer, "ab", 1, 1, false);
    Insert(buffer, "cd", 9, 1, true);
    const std::uint16_t full = buffer.FreeBytes();
    const TUndoRecord last = buffer.TakeUndoRecord();
    EXPECT_EQ(last.Data, "cd");
    EXPECT_EQ(buffer.FreeBytes(), full + 2 + kOverhead);
    EXPECT_EQ(buffer.RedoCount(), 1);
    EXPECT_FALSE(buffer.TakeUndoRecord().Modified);
    EXPECT_EQ(buffer.UndoCount(), 0);
    EXPECT_NE(buffer.UndoGroup(), buffer.RedoGroup());
    const TUndoRecord redone = buffer.TakeRedoRecord(false);
    EXPECT_EQ(redone.Data, "ab");
    EXPECT_FALSE(redone.Modified);
    EXPECT_EQ(buffer.TakeRedoRecord(true).Data, "cd");
    EXPECT_EQ(buffer.RedoCount(), 0);
    EXPECT_EQ(buffer.FreeBytes(), full);
    EXPECT_TRUE(buffer.TakeUndoRecord().Modified);
}

TEST(UndoBuffer, ANewChangeAfterUndoEndsRedo) {
    TUndoBuffer buffer(1024);
    Insert(buffer, "a", 1);
    Insert(buffer, "b", 5);
    buffer.TakeUndoRecord();
    ASSERT_EQ(buffer.RedoCount(), 1);
    Insert(buffer, "c", 9);
    EXPECT_EQ(buffer.RedoCount(), 0);
    EXPECT_EQ(buffer.UndoCount(), 2);
    EXPECT_EQ(buffer.TakeUndoRecord().Data, "c");
}

TEST(UndoBuffer, MarkAllModifiedReachesBothSides) {
    TUndoBuffer buffer(1024);
    Insert(buffer, "a", 1, 1, false);
    Insert(buffer, "b", 5, 1, false);
    buffer.TakeUndoRecord();
    buffer.MarkAllModified();
    EXPECT_TRUE(buffer.TakeUndoRecord().Modified);
    buffer.TakeRedoRecord(false);
    EXPECT_TRUE(buffer.TakeRedoRecord(true).Modified);
}

TEST(UndoBuffer, MakingRoomDiscardsWholeOldestGroupsAtLeastASixteenthAtOnce) {
    TUndoBuffer buffer(512);
    // Ungrouped records of 17 bytes: 30 of them take 510 bytes.
    for (int i = 0; i < 30; ++i) {
        ASSERT_TRUE(Insert(buffer, "x", 1, i + 1));
    }
    ASSERT_EQ(buffer.FreeBytes(), 2);
    ASSERT_TRUE(Insert(buffer, "y", 1, 99));
    // 32 bytes (a sixteenth of 512) had to be free: two oldest records went.
    EXPECT_EQ(buffer.UndoCount(), 29);
    EXPECT_EQ(buffer.FreeBytes(), 2 + 34 - 17);
    EXPECT_EQ(buffer.TakeUndoRecord().Para, 99);
    TUndoRecord oldest;
    while (buffer.UndoCount() > 0) {
        oldest = buffer.TakeUndoRecord();
    }
    EXPECT_EQ(oldest.Para, 3);
}

TEST(UndoBuffer, DiscardingKeepsAGroupWhole) {
    TUndoBuffer buffer(512);
    const bool previous = buffer.BeginGroup();
    for (int i = 0; i < 5; ++i) {
        Insert(buffer, "x", 1, i + 1);
    }
    buffer.EndGroup(previous);
    for (int i = 0; i < 25; ++i) {
        Insert(buffer, "x", 1, i + 10);
    }
    ASSERT_EQ(buffer.UndoCount(), 30);
    Insert(buffer, "y", 1, 99);
    EXPECT_EQ(buffer.UndoCount(), 26);
}

TEST(UndoBuffer, ARecordLargerThanTheBlockEmptiesIt) {
    TUndoBuffer buffer(8192);
    Insert(buffer, "a", 1);
    EXPECT_FALSE(buffer.AddRecord(TUndoKind::TextDeleted, true, std::string(10000, 'z'), 1, 1));
    EXPECT_EQ(buffer.UndoCount(), 0);
    EXPECT_EQ(buffer.FreeBytes(), 8192);
    EXPECT_FALSE(buffer.Overflow());
}

TEST(UndoBuffer, AGroupThatCannotBeKeptRefusesItsFurtherRecords) {
    TUndoBuffer buffer(256);
    const bool previous = buffer.BeginGroup();
    EXPECT_TRUE(Insert(buffer, "a", 1));
    EXPECT_FALSE(Insert(buffer, std::string(300, 'b'), 2));
    EXPECT_TRUE(buffer.Overflow());
    EXPECT_EQ(buffer.UndoCount(), 0);
    EXPECT_FALSE(Insert(buffer, "c", 5));
    EXPECT_EQ(buffer.UndoCount(), 0);
    buffer.EndGroup(previous);
    EXPECT_FALSE(buffer.Overflow());
    EXPECT_TRUE(Insert(buffer, "d", 9));
}

TEST(UndoBuffer, AGroupFillingTheBlockIsDroppedWhole) {
    TUndoBuffer buffer(256);
    const bool previous = buffer.BeginGroup();
    bool kept = true;
    for (int i = 0; i < 20 && kept; ++i) {
        kept = Insert(buffer, "xxxx", 1, i + 1);
    }
    EXPECT_FALSE(kept);
    EXPECT_TRUE(buffer.Overflow());
    EXPECT_EQ(buffer.UndoCount(), 0);
    buffer.EndGroup(previous);
}

// Typing on until the record fills the block: the record that would have to grow is the one
// making room discards, so the character starts a fresh record and the counts stay true.
TEST(UndoBuffer, GrowingARecordPastTheBlockStartsAFreshRecord) {
    TUndoBuffer buffer(64);
    for (int i = 0; i < 48; ++i) {
        ASSERT_TRUE(Insert(buffer, "x", 1 + i));
    }
    ASSERT_EQ(buffer.FreeBytes(), 0);
    ASSERT_TRUE(Insert(buffer, "y", 49));
    EXPECT_EQ(buffer.UndoCount(), 1);
    EXPECT_EQ(buffer.FreeBytes(), 64 - 17);
    const TUndoRecord fresh = buffer.TakeUndoRecord();
    EXPECT_EQ(fresh.Data, "y");
    EXPECT_EQ(fresh.Pos, 49);
    EXPECT_EQ(buffer.FreeBytes(), 64);
}

TEST(UndoBuffer, DeletionRecordsOwnTheirParagraphWhileUndoable) {
    TUndoBuffer buffer(64);
    ASSERT_TRUE(
        buffer.AddParaRecord(TUndoKind::ParaDeleted, true, new TParaNode("gone", 80, 8), 1, 1));
    // Filling the block discards the record and with it the paragraph (ASan checks the leak).
    Insert(buffer, std::string(40, 'a'), 1);
    EXPECT_EQ(buffer.UndoCount(), 1);
}

TEST(UndoBuffer, InsertionRecordsOwnTheirParagraphOnlyWhileRedoable) {
    auto inText = std::make_unique<TParaNode>("kept", 80, 8);
    {
        TUndoBuffer buffer(1024);
        buffer.AddParaRecord(TUndoKind::ParaInsertedBefore, true, inText.get(), 1, 1);
        buffer.AddParaRecord(TUndoKind::ParaInsertedAfter, true, nullptr, 1, 2);
        buffer.TakeUndoRecord();
        buffer.HoldTakenParagraph(new TParaNode("redoable", 80, 8));
    }
    EXPECT_EQ(inText->Text(), "kept");
}

}  // namespace
}  // namespace tomery::editor
