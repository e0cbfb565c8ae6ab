#include "config/discovery_rules.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

TEST(DiscoveryRules, RegisteredCommandsAreCleanedInTheirOrder) {
    EXPECT_EQ(CleanRegisteredCommand("\"C:\\Program Files\\Editor\\edit.exe\" \"%1\""),
              "C:\\Program Files\\Editor\\edit.exe ") << "the blank before the argument stays";
    EXPECT_EQ(CleanRegisteredCommand("C:\\Tools\\viewer.exe /open \"%1\""), "C:\\Tools\\viewer.exe ");
    EXPECT_EQ(CleanRegisteredCommand("   C:\\app.exe"), "C:\\app.exe");
    EXPECT_EQ(CleanRegisteredCommand("C:\\v1\\app1"), "C:\\v1\\app") << "trailing 1s go as the rule says";
    EXPECT_EQ(CleanRegisteredCommand("\"%1\""), "");
    EXPECT_EQ(CleanRegisteredCommand(""), "");
}

TEST(DiscoveryRules, ShortcutTargetsThatAreProgramsOrInstallerStubs) {
    EXPECT_TRUE(IsProgramTarget("C:\\PROGRA~1\\APP\\APP.EXE"));
    EXPECT_TRUE(IsProgramTarget("c:\\x.exe "));
    EXPECT_FALSE(IsProgramTarget("C:\\docs\\report.doc"));
    EXPECT_FALSE(IsProgramTarget("exe"));
    EXPECT_TRUE(IsInstallerIconStub("C:\\WINDOWS\\Installer\\{90110409}\\wordicon.exe"));
    EXPECT_FALSE(IsInstallerIconStub("C:\\WINDOWS\\Installer\\{90110409}\\setup.exe"));
    EXPECT_FALSE(IsInstallerIconStub("C:\\Office\\wordicon.exe"));
}

TEST(DiscoveryRules, ChosenFilesBufferSplitsIntoFullPaths) {
    const char one[] = "C:\\My Files\\a report.doc\0\0";
    EXPECT_EQ(SplitChosenFiles(one, sizeof one), (std::vector<std::string>{"C:\\My Files\\a report.doc"}));
    const char three[] = "C:\\docs\0a.txt\0b c.txt\0d.txt\0\0";
    EXPECT_EQ(SplitChosenFiles(three, sizeof three),
              (std::vector<std::string>{"C:\\docs\\a.txt", "C:\\docs\\b c.txt", "C:\\docs\\d.txt"}));
    const char root[] = "C:\\\0a.txt\0b.txt\0\0";
    EXPECT_EQ(SplitChosenFiles(root, sizeof root), (std::vector<std::string>{"C:\\a.txt", "C:\\b.txt"}));
    const char none[] = "\0\0";
    EXPECT_TRUE(SplitChosenFiles(none, sizeof none).empty());
    const char unterminated[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(SplitChosenFiles(unterminated, sizeof unterminated), (std::vector<std::string>{"abcd"}));
}

TEST(DiscoveryRules, FolderNamesKeepADriveRootWhole) {
    EXPECT_EQ(FolderItemName("C:\\Program Files\\Tools"), "Tools");
    EXPECT_EQ(FolderItemName("D:\\"), "D:\\");
    EXPECT_EQ(FolderItemName("C:\\\xD4\x5C"), "\xD4\x5C") << "found by characters";
}

TEST(DiscoveryRules, EachLevelInsertsFromPositionZeroAndNamesAreOfferedOnce) {
    std::vector<CandidateRow> rows;
    CandidateInserter insert(rows);
    size_t pass1 = insert.BeginLevel();
    insert.Insert(pass1, {"Editor", "e.exe"});
    insert.Insert(pass1, {"Viewer", "v.exe"});
    size_t pass2 = insert.BeginLevel();
    insert.Insert(pass2, {"Calc", "c.exe"});
    size_t sub = insert.BeginLevel();
    insert.Insert(sub, {"Deep", "d.exe"});
    insert.Insert(pass2, {"Paint", "p.exe"});
    std::vector<std::string> names;
    for (const auto& r : rows) names.push_back(r.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Deep", "Paint", "Calc", "Editor", "Viewer"}));
    EXPECT_TRUE(insert.Offered("calc")) << "case-insensitive, whole text";
    EXPECT_FALSE(insert.Offered("Cal"));
}

TEST(UrlImport, HistoryEntriesBecomeTheirPrefixesQueryAndLowerCase) {
    EXPECT_EQ(AddressesFromHistoryEntry("http://Example.com/"), (std::vector<std::string>{"http://example.com/"}))
        << "a host with a single slash adds only itself, lower-cased";
    EXPECT_EQ(AddressesFromHistoryEntry("http://Host/A/B/page.htm"),
              (std::vector<std::string>{"http://Host/A", "http://Host/A/B", "http://host/a/b/page.htm"}));
    EXPECT_EQ(AddressesFromHistoryEntry("http://Host/Find?Q=Word"),
              (std::vector<std::string>{"http://Host/Find", "http://host/find?q=word"}));
    EXPECT_EQ(AddressesFromHistoryEntry("http://host"), std::vector<std::string>{}) << "already lower case: nothing";
    EXPECT_TRUE(AddressesFromHistoryEntry("https://secure.example/x/y").empty());
    EXPECT_TRUE(AddressesFromHistoryEntry("ftp://files/").empty());
    EXPECT_TRUE(AddressesFromHistoryEntry("http://").empty());
}

TEST(UrlImport, MergingKeepsOneOfEachAddressCutTo259Characters) {
    std::vector<CandidateRow> candidates;
    MergeAddresses(candidates, {"http://Example.com/a", "http://example.com/A", "", "http://other"});
    ASSERT_EQ(candidates.size(), 2u) << "addresses that differ only in case appear once";
    EXPECT_EQ(candidates[0].name, "http://Example.com/a");
    EXPECT_EQ(candidates[0].target, "http://Example.com/a");
    const std::string longAddress = "http://x/" + std::string(400, 'p');
    MergeAddresses(candidates, {WithoutTrailingSlashes("http://other///"), longAddress});
    ASSERT_EQ(candidates.size(), 3u) << "Firefox's http://other/ matches the system's http://other";
    EXPECT_EQ(candidates[2].name.size(), 259u);
    EXPECT_EQ(candidates[2].target, candidates[2].name);
}

TEST(UrlImport, TheFirstDefaultProfileIsRead) {
    EXPECT_EQ(ChooseFirefoxProfile({}), "xeqis0b4.default");
    EXPECT_EQ(ChooseFirefoxProfile({"Crash Reports", "ab12cd34.Default-Release", "zz.default"}),
              "ab12cd34.Default-Release");
}

}  // namespace
}  // namespace tvx
