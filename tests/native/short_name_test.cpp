#include "services/short_name.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

TEST(ShortName, LatinNamesGiveWordInitialsOrStayWhole) {
    EXPECT_EQ(MakeShortName("Notepad"), "Notepad");
    EXPECT_EQ(MakeShortName("Microsoft Office Word"), "MOW");
    EXPECT_EQ(MakeShortName("Windows Media Player 10"), "WMP1");
    EXPECT_EQ(MakeShortName(".NET Framework SDK"), "FS");
    EXPECT_EQ(MakeShortName(""), "");
    EXPECT_EQ(MakeShortName("   "), "");
    EXPECT_EQ(MakeShortName(". ."), "");
}

TEST(ShortName, ChineseNamesGivePinyinInitialsOfTheFirstFourCharacters) {
    EXPECT_EQ(MakeShortName("\xBC\xC7\xCA\xC2\xB1\xBE"), "jsb");                          // 记事本
    EXPECT_EQ(MakeShortName("\xD6\xD0\xBB\xAA\xC8\xCB\xC3\xF1\xB9\xB2\xBA\xCD\xB9\xFA"), "zhrm");  // 中华人民共和国
    EXPECT_EQ(MakeShortName("QQ\xD2\xF4\xC0\xD6"), "QQyl");                               // QQ音乐
    EXPECT_EQ(MakeShortName("Word \xCE\xC4\xB5\xB5"), "Wordwd") << "one-word prefix stays whole";
    EXPECT_EQ(MakeShortName("My Tool \xB9\xA4\xBE\xDF"), "MTgj");
}

TEST(ShortName, LevelOneKeepsTheRangeTableEveryOtherCharacterItsMandarinReading) {
    // GB2312 level 1 is ordered by reading: the range table stays right for
    // each of its characters.
    int levelOne = 0;
    for (unsigned lead = 0xB0; lead <= 0xD7; ++lead)
        for (unsigned trail = 0xA1; trail <= 0xFE; ++trail, ++levelOne)
            ASSERT_EQ(PinyinInitial(lead * 256 + trail), PinyinSyllable(lead * 256 + trail)[0]) << std::hex << lead << trail;
    EXPECT_EQ(levelOne, 3760);
    // Level 2 (ordered by radical) and GBK's additions, traditional forms
    // included, take the first letter of their reading.
    EXPECT_EQ(MakeShortName("\xB8\xA3\xEA\xBF\xD4\xC4\xB6\xC1\xC6\xF7"), "fxyd");  // 福昕阅读器
    EXPECT_EQ(MakeShortName("\xD3\x9B\xCA\xC2\xB1\xBE"), "jsb");                  // 記事本
    EXPECT_EQ(MakeShortName("\x82\xED\xBE\xE3\xC7\xE5\x86\xCE"), "jjqd");         // 傢俱清單
    EXPECT_EQ(MakeShortName("\xD8\xA1\xD8\xA2\xD8\xA3\xD8\xA4"), "cjwg");         // 亍丌兀丐
    // A traditional form gives its simplified form's initial; a compatibility
    // ideograph the reading of the character it stands for.
    EXPECT_EQ(MakeShortName("\xE9\x4C\xB3\xC7"), "cc");      // 長城, as 长城
    EXPECT_EQ(MakeShortName("\x8F\x42\xE9\x54"), "xm");      // 廈門, as 厦门
    EXPECT_EQ(MakeShortName("\xFD\x9C\xFD\x9F"), "ll");      // 郎裏 (U+F92C, U+F9E7)
    // Mixed: Latin words, level 1 and level 2.
    EXPECT_EQ(MakeShortName("My Tools \xD4\xC4\xB6\xC1\xD8\xA1"), "MTydc");         // 阅读亍
    EXPECT_EQ(MakeShortName("QQ\xD3\x9B\xCA\xC2"), "QQjs");
    // Characters without a reading keep what the table gives: symbols and
    // full-width letters nothing, the user-defined area the last row's "z".
    EXPECT_EQ(PinyinInitial(0xA3C1), 0);  // full-width A
    EXPECT_EQ(PinyinInitial(0xA3A8), 0);  // full-width (
    EXPECT_EQ(PinyinInitial(0xA1A1), 0);
    EXPECT_EQ(PinyinInitial(0xF8A1), 'z');
    EXPECT_EQ(PinyinInitial(0x817F), 0) << "0x7F is no trail byte";
}

TEST(ShortName, PairsAreCountedWithoutRealigning) {
    // 记 a 事: the pairs are 记, "a" + first byte of 事, and the lone last byte.
    EXPECT_EQ(MakeShortName("\xBC\xC7" "a\xCA\xC2"), "jl");
    EXPECT_EQ(PinyinInitial(0x61CA), 0);
    EXPECT_EQ(PinyinInitial(0xC200), 'l') << "a lone last byte pairs with 0";
}

TEST(ShortName, PunctuationOnlyNamesFallBackToWordInitials) {
    // Full-width punctuation lies below 0xB0A0 and has no syllable.
    EXPECT_EQ(MakeShortName("\xA1\xA1\xA3\xA1"), "\xA1\xA1\xA3\xA1");
    EXPECT_EQ(MakeShortName("\xA1\xA3 \xA1\xA4"), "\xA1\xA1");
}

TEST(ShortName, SyllableBoundariesFollowTheTable) {
    EXPECT_EQ(PinyinSyllable(0xB0A0), std::string("a"));
    EXPECT_EQ(PinyinSyllable(0xB09F), nullptr);
    EXPECT_EQ(PinyinSyllable(0xB0A2), std::string("a"));
    EXPECT_EQ(PinyinSyllable(0xB0A3), std::string("ai"));
    EXPECT_EQ(PinyinSyllable(0xD7F1), std::string("zun"));
    EXPECT_EQ(PinyinSyllable(0xD7F2), std::string("zuo"));
    EXPECT_EQ(PinyinSyllable(0xFEFE), std::string("zuo"));
    for (size_t i = 1; i < 396; ++i) ASSERT_LT(kPinyinTable[i - 1].code, kPinyinTable[i].code) << i;
    EXPECT_EQ(static_cast<int>(kPinyinTable[0].code) - 65536, -20319);
    EXPECT_EQ(static_cast<int>(kPinyinTable[395].code) - 65536, -10254);
}

TEST(ShortName, VariantsForTheConfigurationDialog) {
    EXPECT_EQ(MakeResetShortName("\xBC\xC7\xCA\xC2\xB1\xBE"), "JSB");
    EXPECT_EQ(MakeResetShortName("+ My Tools"), "MT");
    EXPECT_EQ(MakeShortName("Tools  \xB9\xA4"), "Tg");
    // One word and a blank before the Chinese part: the word stays whole, and
    // only the item-creation variant keeps the blank.
    EXPECT_EQ(MakeShortName("Tools \xB9\xA4"), "Toolsg");
    EXPECT_EQ(MakeShortNameUntrimmed("Tools \xB9\xA4"), "Tools g");
    EXPECT_EQ(WordInitials("a b "), "ab");
    EXPECT_EQ(WordInitials("single "), "single ") << "one piece: returned unchanged, blank included";
}

}  // namespace
}  // namespace tvx
