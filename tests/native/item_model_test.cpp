#include "data/item_model.h"
#include "services/hotkey_table.h"
#include "tests/support/item_builder.h"

#include <gtest/gtest.h>

#include <set>

namespace tvx {
namespace {

LaunchItem Live(std::string name) { return test::Entry(std::move(name)); }

TEST(ItemStore, IndicesNeverMoveAndTombstonesKeepTheirSlot) {
    ItemStore store;
    for (int i = 0; i < 5; ++i) EXPECT_EQ(store.Append(Live("n" + std::to_string(i))), static_cast<size_t>(i));
    store[2].Reserved = "kept";
    store[2].ExePath = "c:\\x.exe";
    store.Remove(2);
    EXPECT_EQ(store.size(), 5u);
    EXPECT_TRUE(store[2].IsRemoved());
    EXPECT_EQ(store[2].Status, "-1");
    EXPECT_EQ(store[2].Name, "");
    EXPECT_EQ(store[2].ExePath, "");
    EXPECT_EQ(store[2].Reserved, "kept");
    EXPECT_EQ(store[3].Name, "n3");
    EXPECT_EQ(store.Append(Live("n5")), 5u) << "a tombstone's slot is never reused";
    store.Remove(99);  // out of range: nothing happens
    EXPECT_EQ(store.size(), 6u);
}

TEST(ItemModel, KindIsReadFromTheCommand) {
    LaunchItem it;
    it.ExePath = "+ a\r\n+ b^^^c:\\a.exe\r\nc:\\b.exe";
    EXPECT_EQ(KindOf(it), ItemKind::Composed);
    it.ExePath = "C:\\Inst\\Data\\0A.STX";
    EXPECT_EQ(KindOf(it), ItemKind::Clipboard);
    it.ExePath = "c:\\tools\\run.CMD";
    EXPECT_EQ(KindOf(it), ItemKind::Program);
    it.ExePath = "http://example.com/";
    EXPECT_EQ(KindOf(it), ItemKind::Other);
    it.Status = "-1x";
    EXPECT_TRUE(it.IsRemoved()) << "status reads as a decimal integer";
    it.Status = "-2";
    EXPECT_FALSE(it.IsRemoved());
}

TEST(NodeData, AppendingMembersAddsTheSeparatorOnce) {
    const std::string id(kRootCatalogId);
    std::string data = AppendMember(id, 9);
    EXPECT_EQ(data, id + "|9");
    EXPECT_EQ(AppendMember(data, 12), id + "|9,12");
    EXPECT_EQ(NodeIdOf(id + "|9,12"), id);
}

TEST(NodeData, MemberListsSkipEmptyPiecesBadIndicesAndTombstones) {
    ItemStore store;
    for (int i = 0; i < 10; ++i) store.Append(Live("n"));
    EXPECT_EQ(ReadMemberList("ID|4,,x,-1,99", store), (std::vector<size_t>{4, 0}));
    store.Remove(4);
    EXPECT_EQ(ReadMemberList("ID|4,7,3,", store), (std::vector<size_t>{7, 3}));
    EXPECT_TRUE(ReadMemberList("ID", store).empty()) << "a bare NodeID has no members";
    EXPECT_EQ(ReadMemberList("ID|1|2", store), (std::vector<size_t>{1})) << "\"1|2\" converts to 1";
}

TEST(Guid, TextIsThirtySixUpperCaseCharactersAndNeverRepeatsOnFailure) {
    GuidBytes g;
    g.data1 = 0x885D48E4;
    g.data2 = 0xF5A7;
    g.data3 = 0x4DF9;
    g.data4 = {0xBB, 0x33, 0x5C, 0x86, 0xDE, 0xDD, 0xE3, 0xAF};
    EXPECT_EQ(FormatGuidText(g), kRootCatalogId);

    uint32_t counter = 0;
    GuidTextSource fixed([&](GuidBytes& out) { out = GuidBytes{}; out.data1 = ++counter; return true; });
    EXPECT_EQ(fixed.NewGuidText(), "00000001-0000-0000-0000-000000000000");
    EXPECT_EQ(fixed.NewGuidText(), "00000002-0000-0000-0000-000000000000");

    GuidTextSource failing([](GuidBytes&) { return false; });
    std::set<std::string> seen;
    for (int i = 0; i < 1000; ++i) {
        std::string text = failing.NewGuidText();
        ASSERT_EQ(text.size(), 36u);
        EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF-"), std::string::npos) << text;
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 1000u) << "a failing system generator must not hand out one text twice";
}

TEST(HotkeyText, ModifierIgnoresCaseButTheKeyNameMustMatchExactly) {
    EXPECT_TRUE(ParseHotkey("ctrl", "F5").valid());
    EXPECT_FALSE(ParseHotkey("No Hotkey1", "A").valid());
    EXPECT_FALSE(ParseHotkey("Ctrl", "f12").valid());
    EXPECT_FALSE(ParseHotkey("", "A").valid());
    HotkeyCombination c = ParseHotkey("Ctrl", "F12");
    EXPECT_EQ(c.modifier, kModControl);
    EXPECT_EQ(c.keyCode, 123u);
    EXPECT_EQ(ParseHotkey("SHIFT", "0").modifier, kModShift);
    EXPECT_EQ(ParseHotkey("Alt", "Z").keyCode, 90u);
}

}  // namespace
}  // namespace tvx
