#include "data/win32/profile.h"
#include "tests/win32/test_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tvx::win {
namespace {

TEST(MessageTexts, MissingKeysGiveTheEmptyTextAndLongTextsArriveCut) {
    test::ScratchDir dir("msg");
    const std::string ini = dir.File("TavrolinexConfig.ini");
    test::WriteWholeFile(ini, "[TipMsgs]\r\nProgramRunning=Already running.\r\nLong=" + std::string(3000, 'L') +
                                  "\r\n[Other]\r\nNameEmpty=wrong section\r\n");
    SetSettingsFile(ini);

    EXPECT_STREQ(MessageTexts("ProgramRunning"), "Already running.");
    EXPECT_STREQ(MessageTexts("NameEmpty"), "") << "a key of another section is not a message text";
    EXPECT_STREQ(MessageTexts("NoSuchKey"), "") << "a missing key gives the empty text, not the key";
    EXPECT_EQ(std::strlen(MessageTexts("Long")), 2047u);

    // One buffer for the whole process: the second lookup replaces the first.
    const char* first = MessageTexts("ProgramRunning");
    const char* second = MessageTexts("NoSuchKey");
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "");

    SetSettingsFile(dir.File("missing.ini"));
    EXPECT_STREQ(MessageTexts("ProgramRunning"), "");
}

TEST(Profile, IntegersAreDecimalTextAndMissingValuesReadAsZero) {
    test::ScratchDir dir("profile");
    const std::string file = dir.File("LogConfig.dat");
    EXPECT_EQ(ReadProfileInt(file, "LogConfig", "LangSel"), 0);
    WriteProfileInt(file, "LogConfig", "LangSel", 7);
    WriteProfileInt(file, "LogConfig", "ShowLangSel", 0);
    EXPECT_EQ(ReadProfileInt(file, "LogConfig", "LangSel"), 7);
    EXPECT_EQ(ReadProfileText(file, "LogConfig", "ShowLangSel"), "0");
    WriteProfileText(file, "LogConfig", "LangSel", "12abc");
    EXPECT_EQ(ReadProfileInt(file, "LogConfig", "LangSel"), 12);
    WriteProfileText(file, "LogConfig", "LangSel", "");
    EXPECT_EQ(ReadProfileInt(file, "LogConfig", "LangSel"), 0);
    const std::string content = test::ReadWholeFile(file);
    EXPECT_NE(content.find("[LogConfig]"), std::string::npos);
}

}  // namespace
}  // namespace tvx::win
