// The shipped settings file and the language table.
#include "data/message_keys.h"
#include "launcher/language_table.h"

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

TEST(SettingsFile, EveryMessageKeyHasAShortEnglishText) {
    auto texts = ReadTipMsgs(std::string(TVX_SOURCE_DIR) + "/resources/TavrolinexConfig.ini");
    ASSERT_FALSE(texts.empty());
    for (std::string_view key : kMessageKeys) {
        auto it = texts.find(std::string(key));
        ASSERT_NE(it, texts.end()) << "missing key " << key;
        EXPECT_FALSE(it->second.empty()) << key;
        EXPECT_LT(it->second.size(), 2048u) << key;
    }
    EXPECT_EQ(texts.size(), std::size(kMessageKeys)) << "the file holds keys the program never asks for";
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
