#include "data/ansi_text.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

TEST(AnsiText, TrimRemovesBlanksAtBothEndsOnly) {
    EXPECT_EQ(Trim("  \t a b \r\n"), "a b");
    EXPECT_EQ(Trim(" \t\r\n"), "");
    EXPECT_EQ(Trim(""), "");
}

TEST(AnsiText, CaseMappingLeavesDoubleByteCharactersAlone) {
    // 0xC4 0x41 is one double-byte character whose second byte looks like 'A'.
    const std::string mixed = "AbC\xC4\x41Z\xBC\xF2z";
    EXPECT_EQ(ToLowerAnsi(mixed), "abc\xC4\x41z\xBC\xF2z");
    EXPECT_EQ(ToUpperAnsi(mixed), "ABC\xC4\x41Z\xBC\xF2Z");
    // A lead byte at the very end has no second byte to skip.
    EXPECT_EQ(ToLowerAnsi("A\xC4"), "a\xC4");
}

TEST(AnsiText, DecimalConversionStopsAtFirstNonDigit) {
    EXPECT_EQ(ParseDecimal("x"), 0);
    EXPECT_EQ(ParseDecimal(""), 0);
    EXPECT_EQ(ParseDecimal("0012"), 12);
    EXPECT_EQ(ParseDecimal("12ab"), 12);
    EXPECT_EQ(ParseDecimal(" -1"), -1);
    EXPECT_EQ(ParseDecimal("+7"), 7);
    // A long run of digits saturates instead of overflowing.
    EXPECT_GT(ParseDecimal("999999999999999999999999999"), 0);
}

TEST(AnsiText, CaseInsensitiveEqualityComparesDoubleByteCharactersExactly) {
    EXPECT_TRUE(EqualsNoCase("885d48e4-ABC", "885D48E4-abc"));
    EXPECT_FALSE(EqualsNoCase("ab", "abc"));
    // 0xC4 0x41 and 0xC4 0x61 are different characters, not "A" and "a".
    EXPECT_FALSE(EqualsNoCase("\xC4\x41", "\xC4\x61"));
    EXPECT_TRUE(EqualsNoCase("x\xC4", "X\xC4"));
}

TEST(AnsiText, EndsWithIgnoresCase) {
    EXPECT_TRUE(EndsWithNoCase("C:\\DATA\\X.STX", ".stx"));
    EXPECT_FALSE(EndsWithNoCase("stx", ".stx"));
}

}  // namespace
}  // namespace tvx

namespace tvx {
namespace {

// 診 is D4 5C in GBK: its second byte is the byte of "\".
const std::string kZhen = "\xD4\x5C";
const std::string kDuan = "\xB6\xCF";  // 断

TEST(AnsiText, FileTitleIsFoundByCharactersNotBytes) {
    EXPECT_EQ(FileTitleOf("C:\\docs\\Quarterly.Report.doc"), "Quarterly.Report");
    EXPECT_EQ(FileTitleOf("C:\\docs\\README"), "README");
    EXPECT_EQ(FileTitleOf("README.txt"), "README");
    EXPECT_EQ(FileTitleOf("C:\\docs\\" + kZhen + kDuan + ".txt"), kZhen + kDuan)
        << "the 0x5C inside the first character is no folder separator";
    EXPECT_EQ(FileTitleOf("C:\\" + kZhen + "\\" + kDuan + kZhen), kDuan + kZhen)
        << "a name ending in such a character keeps it whole";
    EXPECT_EQ(FileTitleOf("C:\\dir.d\\noext"), "noext");
    EXPECT_EQ(FindLastChar(kZhen + "a", '\\'), std::string::npos);
}

TEST(AnsiText, CopyingIntoACBufferNeverEndsInHalfACharacter) {
    char buffer[8];
    // "abcdef" then a double-byte character that would straddle the last byte.
    EXPECT_EQ(CopyToCharBuffer("abcdef" + kDuan, buffer, sizeof buffer), 6u);
    EXPECT_STREQ(buffer, "abcdef");
    EXPECT_EQ(CopyToCharBuffer("abcde" + kDuan, buffer, sizeof buffer), 7u);
    EXPECT_EQ(std::string(buffer), "abcde" + kDuan);
    EXPECT_EQ(CopyToCharBuffer("", buffer, sizeof buffer), 0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(CopyToCharBuffer("abc", buffer, 1), 0u) << "room for the NUL only";
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(CopyToCharBuffer("abc", nullptr, 0), 0u);
}

}  // namespace
}  // namespace tvx

#include "data/code_page_text.h"

namespace tvx {
namespace {

// A code page with two characters besides ASCII: "é" in one byte and the
// GBK character "中" in two.
bool TinyPage(char32_t c, std::string& out) {
    if (c == U'\u00E9') out += '\xE9';
    else if (c == U'\u4E2D') out += "\xD6\xD0";
    else return false;
    return true;
}

TEST(CodePageText, KeepsWhatThePageHasAndMarksAndReportsWhatItLacks) {
    const CodePageText plain = ToCodePage(u"C:\\Caf\u00E9\\\u4E2D.exe", TinyPage, "_");
    EXPECT_FALSE(plain.lossy);
    EXPECT_EQ(plain.text, "C:\\Caf\xE9\\\xD6\xD0.exe");
    // Hangul, an emoji (a surrogate pair: one mark) and a lone surrogate.
    const CodePageText lossy = ToCodePage(u"C:\\\uD55C\\\U0001F600a\xD800.exe", TinyPage, "#");
    EXPECT_TRUE(lossy.lossy);
    EXPECT_EQ(lossy.text, "C:\\#\\#a#.exe");
}

TEST(CodePageText, APathIsFiledInFullByItsShortFormOrNotAtAll) {
    const CodePageText full{"C:\\_\\a.exe", true}, shortForm{"C:\\3D5C~1\\a.exe", false};
    const FiledPath byShort = ChooseFiledPath(full, &shortForm);
    EXPECT_TRUE(byShort.usable);
    EXPECT_EQ(byShort.path, shortForm.text);
    EXPECT_EQ(byShort.shown, full.text);
    EXPECT_FALSE(ChooseFiledPath(full, nullptr).usable);
    const CodePageText lossyShort{"C:\\_\\a.exe", true};
    EXPECT_FALSE(ChooseFiledPath(full, &lossyShort).usable);
    const CodePageText whole{"C:\\a.exe", false};
    EXPECT_EQ(ChooseFiledPath(whole, &shortForm).path, "C:\\a.exe");
}

}  // namespace
}  // namespace tvx
