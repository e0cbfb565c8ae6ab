// The shipped settings file and the language table.
#include "data/message_keys.h"
#include "app/language_table.h"

#include "data/ini_text.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

namespace tvx {
namespace {

std::map<std::string, std::string> ReadTipMsgs(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::map<std::string, std::string> texts;
    std::string line;
    bool inSection = false;
    std::istringstream lines(ss.str());
    while (std::getline(lines, line)) {
        EXPECT_TRUE(!line.empty() && line.back() == '\r') << "line without CR LF: " << line;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] == '[') { inSection = line == "[TipMsgs]"; continue; }
        size_t eq = line.find('=');
        if (inSection && eq != std::string::npos) {
            EXPECT_EQ(texts.count(line.substr(0, eq)), 0u) << "duplicate key " << line;
            texts[line.substr(0, eq)] = line.substr(eq + 1);
        }
    }
    return texts;
}

// Every key the program asks for, each with a text that fits the buffer, and
// no key it never asks for.
void ExpectEveryKey(const std::map<std::string, std::string>& texts, const std::string& file) {
    ASSERT_FALSE(texts.empty()) << file;
    for (std::string_view key : kMessageKeys) {
        auto it = texts.find(std::string(key));
        ASSERT_NE(it, texts.end()) << file << ": missing key " << key;
        EXPECT_FALSE(it->second.empty()) << file << ": " << key;
        EXPECT_LT(it->second.size(), 2048u) << file << ": " << key;
    }
    EXPECT_EQ(texts.size(), std::size(kMessageKeys)) << file << " holds keys the program never asks for";
}

// Whole GBK characters only: a lead byte 0x81-0xFE, then a trail byte
// 0x40-0xFE other than 0x7F. Sets *doubleByte when there was one.
bool IsGbk(const std::string& text, bool* doubleByte) {
    *doubleByte = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) continue;
        if (c == 0x80 || c == 0xFF || i + 1 == text.size()) return false;
        const unsigned char t = static_cast<unsigned char>(text[++i]);
        if (t < 0x40 || t == 0x7F || t == 0xFF) return false;
        *doubleByte = true;
    }
    return true;
}

TEST(SettingsFile, EveryMessageKeyHasAShortEnglishText) {
    const std::string english = std::string(TVX_SOURCE_DIR) + "/resources/TavrolinexConfig.ini";
    ExpectEveryKey(ReadTipMsgs(english), english);
}

TEST(SettingsFile, TheChineseTextsHaveEveryKeyInGbkAndAreTranslated) {
    const std::string chinese = std::string(TVX_SOURCE_DIR) + "/resources/lang/chs.ini";
    const auto texts = ReadTipMsgs(chinese);
    ExpectEveryKey(texts, chinese);
    for (const auto& [key, text] : texts) {
        bool doubleByte = false;
        EXPECT_TRUE(IsGbk(text, &doubleByte)) << key << " is no GBK text";
        // Only the program's name stays as it is.
        if (key != "ShortDlgTitle") {
            EXPECT_TRUE(doubleByte) << key << " is not translated: " << text;
        }
        EXPECT_EQ(text.find('?'), std::string::npos) << key << " holds a character lost in conversion";
    }
    EXPECT_EQ(texts.at("NameTitle"), "\xC3\xFB\xB3\xC6\xA3\xBA");  // "名称：" in GBK
}

TEST(SettingsFile, ReferenceWordingIsKeptLetterForLetter) {
    auto texts = ReadTipMsgs(std::string(TVX_SOURCE_DIR) + "/resources/TavrolinexConfig.ini");
    EXPECT_EQ(texts["SelectCatalog"], "Please select a catalog.");
    EXPECT_EQ(texts["SelSubCatalog"], "Please select a Sub-catalog.");
    EXPECT_EQ(texts["Btn_CloseDialogwithSave"], "Save and exit.");
    EXPECT_EQ(texts["Btn_CloseDialogwithoutSave"], "Not save and exit.");
    EXPECT_EQ(texts["MinButton"], "Minimize window");
    EXPECT_EQ(texts["HelpButton"], "Help");
    EXPECT_EQ(texts["ExitButton"], "Exit");
    EXPECT_EQ(texts["AllCatalogsTitle"], "All");
    EXPECT_EQ(texts["AddTavrolinexDlgTitle"], "Add Tavrolinex Dialog");
}

TEST(LanguageTable, CodesAndModulePathsFollowTheIndex) {
    EXPECT_EQ(LanguageCode(0), "eng");
    EXPECT_EQ(LanguageCode(6), "chs");
    EXPECT_EQ(LanguageCode(7), "cht");
    EXPECT_EQ(LanguageCode(8), "");
    EXPECT_EQ(LanguageCode(-1), "");
    EXPECT_EQ(LanguageModuleTail("cht"), "\\Lang\\cht.dat");
    EXPECT_EQ(LanguageModuleTail(""), "");  // no module is tried for an unknown language
    EXPECT_EQ(kLanguageTable[7].comboText, "\xB7\xB1\xF3\x77\xD6\xD0\xCE\xC4");
    EXPECT_EQ(kLanguageTable[1].comboText, "Fran?ais");
}

TEST(LanguageTable, PerLanguageCopiesNameTheirFoldersSourcesAndTargets) {
    auto copies = LanguageCopies("chs");
    ASSERT_EQ(copies.size(), 4u);
    EXPECT_EQ(copies[0].sourceTail, "\\lang01\\chs.dat");
    EXPECT_EQ(copies[0].targetTail, "\\lang01\\datamanfunc.dat");
    EXPECT_EQ(copies[3].folderTail, "\\datas\\effect\\lang_ef");
    EXPECT_EQ(copies[3].targetTail, "\\datas\\effect\\effect.dat");
    EXPECT_TRUE(LanguageCopies("").empty());
}

}  // namespace
}  // namespace tvx

namespace tvx {
namespace {

TEST(IniText, AValueIsReadAsTheProfileFunctionsReadItButByteForByte) {
    const std::string text = "[other]\r\nName=no\r\n[SdfgGsadf]\r\n  NAME =  \"Odd \x81\"  \r\nDesc=bad \x81\x20 bytes \xd4\r\nName=second\r\n";
    EXPECT_EQ(IniValue(text, "sdfggsadf", "name"), "Odd \x81") << "blanks and one pair of quotes go, the bytes stay";
    EXPECT_EQ(IniValue(text, "sdfggsadf", "Desc"), "bad \x81\x20 bytes \xd4");
    EXPECT_EQ(IniValue(text, "sdfggsadf", "Missing"), "");
    EXPECT_EQ(IniValue(WithIniValue("", "s", "k", " 'v' "), "s", "k"), ValueAsRead(" 'v' "));
}

TEST(IniText, OneKeyIsSetAndEveryOtherLineStaysAsItWas) {
    const std::string file = "; mine\r\n[LogConfig]\r\nLangSel=6\r\nShowLangSel=1\r\n\r\n[Other]\r\nLangSel=9\r\n";
    EXPECT_EQ(WithIniValue(file, "logconfig", "SHOWLANGSEL", "0"),
              "; mine\r\n[LogConfig]\r\nLangSel=6\r\nShowLangSel=0\r\n\r\n[Other]\r\nLangSel=9\r\n");
    // A key the section lacks goes after its last line, not after the blank one.
    EXPECT_EQ(WithIniValue(file, "LogConfig", "Extra", "x"),
              "; mine\r\n[LogConfig]\r\nLangSel=6\r\nShowLangSel=1\r\nExtra=x\r\n\r\n[Other]\r\nLangSel=9\r\n");
    EXPECT_EQ(WithIniValue("", "LogConfig", "LangSel", "6"), "[LogConfig]\r\nLangSel=6\r\n");
    EXPECT_EQ(WithIniValue("[A]\r\nk=1", "B", "k", "2"), "[A]\r\nk=1\r\n[B]\r\nk=2\r\n");
    EXPECT_EQ(WithIniValue("[A]\nk=1", "A", "j", "2"), "[A]\nk=1\r\nj=2");
}

}  // namespace
}  // namespace tvx
