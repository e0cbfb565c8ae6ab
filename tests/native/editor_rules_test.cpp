#include "config/editor_rules.h"
#include "tests/support/item_builder.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

TEST(ComposedForm, MembersRoundTripThroughTheStoredCommand) {
    const std::vector<ComposedMember> two = {{"Notepad", "c:\\n.exe"}, {"Mines", "c:\\m.exe -x"}};
    const std::string stored = BuildComposedCommand(two);
    EXPECT_EQ(stored, "Notepad\r\nMines^^^c:\\n.exe\r\nc:\\m.exe -x");
    ASSERT_EQ(ParseComposedCommand(stored).size(), 2u);
    EXPECT_EQ(ParseComposedCommand(stored)[1].command, "c:\\m.exe -x");
    const std::vector<ComposedMember> three = {{"A", "a.exe"}, {"B", "c:\\data\\x.stx"}, {"C", "http://c.example"}};
    const std::vector<ComposedMember> back = ParseComposedCommand(BuildComposedCommand(three));
    ASSERT_EQ(back.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(back[i].name, three[i].name);
        EXPECT_EQ(back[i].command, three[i].command);
    }
    // Trailing line breaks of either half are trimmed, inner empty members kept.
    EXPECT_EQ(BuildComposedCommand({{"A\r\n", "a.exe"}, {"B", "b.exe\r\n"}}), "A\r\n\r\nB^^^a.exe\r\nb.exe");
    EXPECT_TRUE(ParseComposedCommand("c:\\plain.exe").empty());
    const std::vector<ComposedMember> uneven = ParseComposedCommand("A\r\nB^^^a.exe");
    ASSERT_EQ(uneven.size(), 2u);
    EXPECT_EQ(uneven[1].command, "");
}

TEST(ComposedForm, MembersThatWouldBreakTheFormAreRefused) {
    EXPECT_TRUE(FitsComposedForm({"Notepad", "c:\\n.exe"}));
    EXPECT_FALSE(FitsComposedForm({"Two\r\nlines", "c:\\n.exe"}));
    EXPECT_FALSE(FitsComposedForm({"Custom", "c:\\a.exe\r\nc:\\b.exe"})) << "a multi-line command is not one member";
    EXPECT_FALSE(FitsComposedForm({"Odd^^^name", "c:\\n.exe"}));
    EXPECT_FALSE(FitsComposedForm({"Inner", "x^^^y"}));
    // A caret at either end would run into the separator: "Up^" then "^^^"
    // reads as "Up" and a command beginning with "^".
    EXPECT_FALSE(FitsComposedForm({"Up^", "c:\\n.exe"}));
    EXPECT_FALSE(FitsComposedForm({"Up", "^c:\\n.exe"}));
    EXPECT_TRUE(FitsComposedForm({"Up^down", "c:\\n^x.exe"}));
    const std::vector<ComposedMember> members = {{"A", "c:\\a.exe"}, {"B^c", "c:\\b.exe"}};
    const std::vector<ComposedMember> back = ParseComposedCommand(BuildComposedCommand(members));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].name, "B^c");
    // 錨 is E5 5E: its second byte looks like "^" but is no caret, so it may
    // end a member's name, and the separator after it is still found.
    const std::string anchor = "\xE5\x5E";
    EXPECT_TRUE(FitsComposedForm({"Ship " + anchor, "c:\\s" + anchor}));
    // A lone first byte at the end would swallow the separator's first "^"
    // (found by the composed-form fuzzer).
    EXPECT_FALSE(FitsComposedForm({"x\xB3", "c:\\x.exe"}));
    EXPECT_FALSE(FitsComposedForm({"x", "c:\\x\xB3"}));
    const std::vector<ComposedMember> gbk = {{"A", "c:\\a.exe"}, {"Ship " + anchor, "c:\\s" + anchor}};
    const std::vector<ComposedMember> gbkBack = ParseComposedCommand(BuildComposedCommand(gbk));
    ASSERT_EQ(gbkBack.size(), 2u);
    EXPECT_EQ(gbkBack[1].name, "Ship " + anchor);
    EXPECT_EQ(gbkBack[0].command, "c:\\a.exe");
    EXPECT_EQ(gbkBack[1].command, "c:\\s" + anchor);
    EXPECT_EQ(ComposedItemName("Morning"), "+ Morning");
    EXPECT_EQ(ComposedNameOf("+ Morning"), "Morning");
    EXPECT_EQ(ComposedNameOf("++  x"), "x");
}

TEST(EditorChecks, NamesAreRefusedOnlyWhenEmptyReservedOrReallyTaken) {
    EXPECT_EQ(CheckEditorName(""), NameCheck::Empty);
    EXPECT_EQ(CheckEditorName("+ Mine"), NameCheck::Reserved);
    EXPECT_EQ(CheckEditorName("+"), NameCheck::Reserved);
    EXPECT_EQ(CheckEditorName("Word"), NameCheck::Ok);
    std::vector<ItemRow> rows(2);
    rows[0].name = "WordPad";
    rows[1].name = "Calc";
    EXPECT_FALSE(NameTaken(rows, "Word", -1)) << "containment is no duplicate";
    EXPECT_FALSE(NameTaken(rows, "calc", -1)) << "the comparison is case-sensitive";
    EXPECT_TRUE(NameTaken(rows, "Calc", -1));
    EXPECT_FALSE(NameTaken(rows, "Calc", 1)) << "the edited row itself does not count";
    EXPECT_TRUE(IsClipboardCommand("C:\\Data\\X.STX"));
    EXPECT_TRUE(IsControlPanelCommand("c:\\windows\\system32\\desk.CPL"));
    EXPECT_FALSE(IsControlPanelCommand("c:\\desk.cpl.exe"));
}

TEST(DataFiles, OnlyTheFilesTheSavedRecordsNameRemain) {
    ItemStore store;
    LaunchItem clip;
    clip.Name = "Snippet";
    clip.Status = "0";
    clip.ExePath = "C:\\T\\Data\\OLD.stx";
    store.Append(clip);
    LaunchItem composed;
    composed.Name = "+ Both";
    composed.Status = "0";
    composed.ExePath = "A\r\nB^^^c:\\a.exe\r\nc:\\t\\data\\shared.stx";
    store.Append(composed);
    EXPECT_TRUE(DataFileReferenced(store, "c:\\t\\data\\old.STX"));
    EXPECT_TRUE(DataFileReferenced(store, "C:\\T\\Data\\shared.stx")) << "a composed item's member counts";
    EXPECT_FALSE(DataFileReferenced(store, "C:\\T\\Data\\other.stx"));

    // The editor's Ok: NEW1 replaces OLD in memory; then NEW2 replaces NEW1.
    DataFileLedger ledger;
    ledger.Captured("C:\\T\\Data\\NEW1.stx");
    ledger.Replaced("C:\\T\\Data\\OLD.stx");
    ledger.Captured("C:\\T\\Data\\NEW2.stx");
    ledger.Replaced("C:\\T\\Data\\NEW1.stx");
    // The dialog ends without saving: the saved record still names OLD.
    EXPECT_EQ(ledger.DeletableWithoutSave(), (std::vector<std::string>{"C:\\T\\Data\\NEW1.stx", "C:\\T\\Data\\NEW2.stx"}));

    // The same edits, then a save of the record naming NEW2.
    ledger.Captured("C:\\T\\Data\\NEW1.stx");
    ledger.Replaced("C:\\T\\Data\\OLD.stx");
    ledger.Captured("C:\\T\\Data\\NEW2.stx");
    ledger.Replaced("C:\\T\\Data\\NEW1.stx");
    store[0].ExePath = "C:\\T\\Data\\NEW2.stx";
    EXPECT_EQ(ledger.DeletableAfterSave(store), (std::vector<std::string>{"C:\\T\\Data\\NEW1.stx", "C:\\T\\Data\\OLD.stx"}));
    EXPECT_TRUE(ledger.DeletableWithoutSave().empty()) << "a save settles the ledger";

    // A replaced file that another record still names stays.
    ledger.Replaced("C:\\T\\Data\\shared.stx");
    EXPECT_TRUE(ledger.DeletableAfterSave(store).empty());
}

TEST(DataFiles, OnlyTheProgramsOwnDataFilesCountAsItsOwn) {
    const std::string dir = "C:\\Program Files\\Tavrolinex";
    const Installation installation(dir);
    EXPECT_TRUE(IsProgramDataFile(dir + "\\Data\\885D48E4-F5A7-4DF9-BB33-5C86DEDDE3AF.stx", installation));
    EXPECT_TRUE(IsProgramDataFile("c:\\program files\\tavrolinex\\data\\885d48e4-f5a7-4df9-bb33-5c86dedde3af.STX", installation));
    EXPECT_FALSE(IsProgramDataFile("D:\\Notes\\885D48E4-F5A7-4DF9-BB33-5C86DEDDE3AF.stx", installation));
    EXPECT_FALSE(IsProgramDataFile(dir + "\\Data\\my notes.stx", installation));
    EXPECT_FALSE(IsProgramDataFile(dir + "\\Data\\885D48E4-F5A7-4DF9-BB33-5C86DEDDE3AF.txt", installation));
    EXPECT_FALSE(IsProgramDataFile(dir + "\\Data\\885D48E4_F5A7-4DF9-BB33-5C86DEDDE3AF.stx", installation));
}

TEST(BatchReplace, TheRuleIsExactLeftToRightAndNeverRescans) {
    std::string text = "Old Tool and Old Tool";
    EXPECT_TRUE(ReplaceAll(text, "Old", "New"));
    EXPECT_EQ(text, "New Tool and New Tool") << "both occurrences";
    text = "old tool";
    EXPECT_FALSE(ReplaceAll(text, "Old", "New")) << "case-sensitive";
    EXPECT_EQ(text, "old tool");
    text = "aaa";
    EXPECT_TRUE(ReplaceAll(text, "a", "aa"));
    EXPECT_EQ(text, "aaaaaa") << "replaced text is not scanned again";
    text = "abab";
    EXPECT_TRUE(ReplaceAll(text, "ab", ""));
    EXPECT_EQ(text, "") << "an empty replacement deletes";
    text = "x";
    EXPECT_FALSE(ReplaceAll(text, "", "y"));
}

TEST(BatchReplace, OnlyWholeChineseCharactersMatch) {
    // 中文 is D6D0 CEC4; its middle bytes D0CE are 形, which must not be found.
    std::string text = "\xD6\xD0\xCE\xC4";
    EXPECT_FALSE(ReplaceAll(text, "\xD0\xCE", "X"));
    EXPECT_EQ(text, "\xD6\xD0\xCE\xC4");
    // 許 is D4 53 ("S" as its second byte), 夾 is 8A 41 ("A").
    text = "\xD4\x53 S \x8A\x41" "A";
    EXPECT_TRUE(ReplaceAll(text, "S", "s"));
    EXPECT_TRUE(ReplaceAll(text, "A", "a"));
    EXPECT_EQ(text, "\xD4\x53 s \x8A\x41" "a");
    // A find text that would end on the first byte of a character.
    text = "x\xD6\xD0";
    EXPECT_FALSE(ReplaceAll(text, "x\xD6", "y"));
    // Real matches are taken, Chinese ones too: 中文工具 with 文 replaced.
    text = "\xD6\xD0\xCE\xC4\xB9\xA4\xBE\xDF \xCE\xC4";
    EXPECT_TRUE(ReplaceAll(text, "\xCE\xC4", "W"));
    EXPECT_EQ(text, "\xD6\xD0W\xB9\xA4\xBE\xDF W");
}

TEST(BatchReplace, TheCommandChangesOnlyWithBothPathTexts) {
    std::string name = "Tool", shortName = "T", command = "C:\\Old\\tool.exe";
    BatchReplaceSettings s;
    s.pathFind = "C:\\Old";
    EXPECT_FALSE(ApplyBatchReplace(name, shortName, command, s));
    EXPECT_EQ(command, "C:\\Old\\tool.exe") << "no path replacement: commands are never changed";
    s.pathReplacement = "D:\\New";
    EXPECT_TRUE(ApplyBatchReplace(name, shortName, command, s));
    EXPECT_EQ(command, "D:\\New\\tool.exe");
}

LaunchItem Record(const std::string& name, const std::string& command) {
    return test::Entry(name).Short(name.substr(0, 1)).Command(command);
}

TEST(BatchReplace, TargetsAreTheSelectionTheListOrTheWholeTable) {
    ItemStore store;
    store.Append(Record("A", "C:\\Old\\a.exe"));
    store.Append(Record("B", "C:\\Old\\b.exe"));
    store.Append(Record("C", "C:\\Old\\c.exe"));  // another catalog's
    store.Append(Record("Gone", "x"));
    store.Remove(3);
    BatchReplaceSettings s;
    s.pathFind = "C:\\Old";
    s.pathReplacement = "D:\\New";
    std::vector<ItemRow> rows = RowsForSelection(store, "LIST|0,1", false);
    EXPECT_EQ(BatchReplaceRows(rows, {1}, store, s), 1u);
    EXPECT_EQ(store[0].ExePath, "C:\\Old\\a.exe") << "only the selected row";
    EXPECT_EQ(store[1].ExePath, "D:\\New\\b.exe");
    EXPECT_EQ(BatchReplaceRows(rows, {}, store, s), 1u) << "no selection: every row of the list";
    EXPECT_EQ(store[0].ExePath, "D:\\New\\a.exe");
    EXPECT_EQ(store[2].ExePath, "C:\\Old\\c.exe") << "items of other catalogs stay";
    EXPECT_EQ(BatchReplaceTable(store, s), 1u) << "the whole table, removed records left alone";
    EXPECT_EQ(store[2].ExePath, "D:\\New\\c.exe");
    EXPECT_TRUE(store[3].IsRemoved());
    EXPECT_TRUE(store[3].ExePath.empty());
}

}  // namespace
}  // namespace tvx
