// The 8-bit sets: every byte's character, the way back, and what a set lacks.
#include "CharacterSet.h"

#include <gtest/gtest.h>

#include <string>

namespace tomery::charset {
namespace {

std::string AllBytes() {
    std::string all(256, '\0');
    for (int byte = 0; byte < 256; ++byte) {
        all[static_cast<std::size_t>(byte)] = static_cast<char>(byte);
    }
    return all;
}

const TCharacterSet& Set(const char* name) {
    const TCharacterSet* set = FindCharacterSet(name);
    EXPECT_NE(set, nullptr) << name;
    return set != nullptr ? *set : DefaultCharacterSet();
}

TEST(CharacterSet, EveryOfferedSetRoundTripsAllBytesThroughScreenTextAndUtf8) {
    ASSERT_GE(AllCharacterSets().size(), 15u);
    EXPECT_EQ(AllCharacterSets().front(), &DefaultCharacterSet());
    const std::string all = AllBytes();
    for (const TCharacterSet* set : AllCharacterSets()) {
        TReplacementLog log;
        EXPECT_EQ(set->FromUtf16(set->ToUtf16(all), &log), all) << set->Name();
        EXPECT_EQ(set->FromUtf8(set->ToUtf8(all), &log), all) << set->Name();
        EXPECT_TRUE(log.Empty()) << set->Name();
        EXPECT_EQ(FindCharacterSet(set->Name()), set);
    }
}

TEST(CharacterSet, BytesStandForTheCharactersOfTheirSet) {
    const struct {
        const char* set;
        unsigned char byte;
        char16_t character;
        bool defined;
    } cases[] = {
        {"windows-1252", 0x80, u'€', true},   {"windows-1252", 0x8E, u'Ž', true},
        {"windows-1252", 0x81, 0x0081, true}, {"windows-1252", 0xE9, u'é', true},
        {"palmos-latin", 0x80, u'€', true},   {"palmos-latin", 0x8D, u'♦', true},
        {"palmos-latin", 0x8E, u'♣', true},   {"palmos-latin", 0x8F, u'♥', true},
        {"palmos-latin", 0x90, u'♠', true},   {"palmos-latin", 0x9E, 0x009E, false},
        {"palmos-latin", 0x9B, u'›', true},   {"windows-1250", 0xF8, u'ř', true},
        {"iso-8859-2", 0xF8, u'ř', true},     {"windows-1251", 0xC6, u'Ж', true},
        {"koi8-r", 0xF6, u'Ж', true},         {"koi8-u", 0xA4, u'є', true},
        {"iso-8859-5", 0xB6, u'Ж', true},     {"windows-1253", 0xC1, u'Α', true},
        {"iso-8859-7", 0xE1, u'α', true},     {"windows-1254", 0xF0, u'ğ', true},
        {"iso-8859-9", 0xFD, u'ı', true},     {"windows-1257", 0xE8, u'č', true},
        {"iso-8859-15", 0xA4, u'€', true},    {"iso-8859-1", 0xA4, u'¤', true},
    };
    for (const auto& c : cases) {
        const TCharacterSet& set = Set(c.set);
        EXPECT_EQ(set.Character(c.byte), c.character) << c.set << " " << int(c.byte);
        EXPECT_EQ(set.Defines(c.byte), c.defined) << c.set << " " << int(c.byte);
    }
}

TEST(CharacterSet, CharactersASetLacksAreTransliteratedElseReplacedAndCounted) {
    const struct {
        const char* set;
        const char* text;  // UTF-8
        std::string bytes;
        std::size_t replaced;
    } cases[] = {
        {"windows-1252", "A\u0159b", "Arb", 1},
        {"windows-1252", "\u0416\u0443\u043a!", "Zhuk!", 3},
        {"windows-1252", "\u201c\u2014\u20ac\u201d", "\x93\x97\x80\x94", 0},
        {"windows-1252", "e\u0301", "\xE9", 0},
        {"windows-1252", "\u0416", "Zh", 1},
        {"windows-1252", "\u0416\u0423\u041a", "ZHUK", 3},
        {"windows-1252", "x\U0001F600y", "x?y", 1},
        {"windows-1252",
         "a\xFF"
         "b",
         "a?b", 1},
        {"windows-1251", "\u0416\u0443\u043a", "\xC6\xF3\xEA", 0},
        {"windows-1251", "caf\u00e9", "cafe", 1},
        {"palmos-latin", "\u017d", "Z", 1},
        {"koi8-r", "\u0416", "\xF6", 0},
        {"windows-1253", "\u03b1\u0142", "\xE1l", 1},
    };
    for (const auto& c : cases) {
        const TCharacterSet& set = Set(c.set);
        TReplacementLog log;
        EXPECT_EQ(set.FromUtf8(c.text, &log, 7), c.bytes) << c.set << " " << c.text;
        EXPECT_EQ(log.Count(), c.replaced) << c.set << " " << c.text;
        const std::u16string utf16 = set.ToUtf16(c.bytes);
        if (c.replaced > 0 && std::string(c.text).find('\xFF') == std::string::npos) {
            EXPECT_EQ(log.First().front().Line, 7);
        }
        EXPECT_EQ(set.FromUtf16(utf16), c.bytes);
    }
}

TEST(CharacterSet, MixedBytesReadValidUtf8AsCharactersAndEveryOtherByteAsTheSets) {
    const struct {
        const char* set;
        std::string mixed;
        std::string bytes;
    } cases[] = {
        {"windows-1252", "caf\xC3\xA9 \xE9t\xE9", "caf\xE9 \xE9t\xE9"},
        {"windows-1252", "\xC3\xA9\xC3", "\xE9\xC3"},  // a sequence cut short is a byte
        {"windows-1252", "\xE9\xC3\xA9\x80", "\xE9\xE9\x80"},
        {"windows-1251", "\xC6 d\xC3\xAFr \xD0\x96", "\xC6 dir \xC6"},
        {"windows-1252", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Set(c.set).FromMixedBytes(c.mixed), c.bytes) << c.set << " " << c.mixed;
    }
}

TEST(CharacterSet, NamesAndAliasesFindTheirSetWithoutRegardToCase) {
    EXPECT_EQ(&Set("CP1251"), &Set("windows-1251"));
    EXPECT_EQ(&Set("Latin1"), &Set("iso-8859-1"));
    EXPECT_EQ(&Set("KOI8R"), &Set("koi8-r"));
    EXPECT_EQ(&Set("iso_8859_15"), &Set("iso-8859-15"));
    EXPECT_EQ(FindCharacterSet("utf-8"), nullptr);
    EXPECT_EQ(FindCharacterSet(""), nullptr);
    EXPECT_EQ(DefaultCharacterSet().ShortName(), "Windows-1252");
}

TEST(ReplacementLog, TellsTheCountAndTheFirstFewWithTheirLines) {
    TReplacementLog log;
    EXPECT_EQ(log.CountText(), "0 characters were replaced");
    log.Add(2, "\u0159", "r", 1);
    EXPECT_EQ(log.Details(), "1 character was replaced:\nline 2: \u0159 \u2192 r");
    for (int line = 3; line < 10; ++line) {
        log.Add(line, "\u0416", "Zh", 1);
    }
    EXPECT_EQ(log.Count(), 8u);
    EXPECT_EQ(log.First().size(), TReplacementLog::kKept);
    EXPECT_NE(log.Details().find("\n..."), std::string::npos);
}

}  // namespace
}  // namespace tomery::charset
