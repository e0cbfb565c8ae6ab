#include "services/item_rows.h"
#include "data/catalog_tree.h"
#include "services/short_name.h"
#include "tests/support/item_builder.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

LaunchItem Item(const std::string& name, const std::string& hk1 = "", const std::string& hk2 = "",
                const std::string& description = "") {
    return test::Entry(name)
        .Short(MakeResetShortName(name))
        .Keys(hk1, hk2)
        .Description(description)
        .Guid("G-" + name)
        .Command("c:\\" + name + ".exe");
}

GuidSource Counter() {
    auto n = std::make_shared<int>(0);
    return [n] { return "NEW-" + std::to_string((*n)++); };
}

std::vector<std::string> Names(const std::vector<ItemRow>& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.name);
    return out;
}

TEST(ItemRows, RootListsEveryLiveRecordACatalogItsNamedMembers) {
    ItemStore store;
    store.Append(Item("Alpha"));
    store.Append(Item("Beta"));
    store.Append(Item("Gamma"));
    store.Remove(1);
    LaunchItem unnamed = Item("");
    store.Append(unnamed);
    auto root = RowsForSelection(store, "", true);
    EXPECT_EQ(Names(root), (std::vector<std::string>{"Alpha", "Gamma", ""})) << "every live record, in table order";
    auto catalog = RowsForSelection(store, "ID|2,1,-1,3,9,0", false);
    EXPECT_EQ(Names(catalog), (std::vector<std::string>{"Gamma", "Alpha"}))
        << "member order; removed, negative, unnamed and unknown indices skipped";
    EXPECT_EQ(catalog[0].index, 2u);
    EXPECT_TRUE(RowsForSelection(store, "ID", false).empty()) << "no member list";
}

TEST(ItemRows, MemberListIsRewrittenFromTheRowsTopToBottom) {
    std::vector<ItemRow> rows(3);
    rows[0].index = 7;
    rows[1].index = 2;
    rows[2].index = 11;
    EXPECT_EQ(NodeDataFromRows("NODE|1,2", rows), "NODE|7,2,11");
    EXPECT_EQ(NodeDataFromRows("NODE", rows), "NODE|7,2,11");
    EXPECT_EQ(NodeDataFromRows("NODE|1,2", {}), "NODE") << "an empty list leaves the NodeID alone";
}

TEST(ItemRows, CandidatesBecomeItemsOnceAndComposedOnesNeverMove) {
    ItemStore store;
    store.Append(Item("Notepad"));
    std::vector<ItemRow> rows = RowsForSelection(store, "", true);
    std::vector<CandidateRow> candidates = {
        {"notepad", "c:\\other\\notepad.exe"}, {"+ Both", "a^^^b"}, {"Word Pad", "c:\\wp.exe"}, {"Calc", "c:\\calc.exe"}};
    const size_t added = AddCandidates(candidates, {0, 1, 2}, rows, store, Counter());
    EXPECT_EQ(added, 1u);
    EXPECT_EQ(Names(rows), (std::vector<std::string>{"Notepad", "Word Pad"}))
        << "a candidate named like a listed item (any case) adds no second row";
    ASSERT_EQ(candidates.size(), 2u) << "both moved candidates left the list; the composed one stayed";
    EXPECT_EQ(candidates[0].name, "+ Both");
    EXPECT_EQ(candidates[1].name, "Calc");
    ASSERT_EQ(store.size(), 2u);
    const LaunchItem& made = store[1];
    EXPECT_EQ(made.Name, "Word Pad");
    EXPECT_EQ(made.ShortName, "WP");
    EXPECT_EQ(made.Description, "Word Pad");
    EXPECT_EQ(made.ItemGuid, "NEW-0");
    EXPECT_EQ(made.ExePath, "c:\\wp.exe");
    EXPECT_EQ(made.Status, "0");
    EXPECT_TRUE(made.Hotkey1.empty() && made.Hotkey2.empty());
    EXPECT_EQ(rows[1].index, 1u) << "the row names the record it made";
}

TEST(ItemRows, ManyCandidatesAtOnceAreCheckedAgainstTheRowsAndEachOther) {
    ItemStore store;
    store.Append(Item("Notepad"));
    std::vector<ItemRow> rows = RowsForSelection(store, "", true);
    std::vector<CandidateRow> candidates;
    for (int i = 0; i < 10; ++i) candidates.push_back({"Tool " + std::to_string(i % 5), "c:\\t.exe"});
    candidates.push_back({"NOTEPAD", "c:\\n.exe"});
    std::vector<size_t> all;
    for (size_t i = candidates.size(); i-- > 0;) all.push_back(i);
    EXPECT_EQ(AddCandidates(candidates, all, rows, store, Counter()), 5u) << "five names, each once; Notepad is listed";
    EXPECT_EQ(rows.size(), 6u);
    EXPECT_TRUE(candidates.empty());
}

TEST(ItemRows, AddingAllCandidatesTakesThemFromTheLastToTheFirst) {
    ItemStore store;
    std::vector<ItemRow> rows;
    std::vector<CandidateRow> candidates = {{"A", "a"}, {"B", "b"}, {"C", "c"}};
    AddCandidates(candidates, {2, 1, 0}, rows, store, Counter());
    EXPECT_EQ(Names(rows), (std::vector<std::string>{"C", "B", "A"}));
    EXPECT_TRUE(candidates.empty());
    EXPECT_EQ(rows[0].index, 0u);
    EXPECT_EQ(store[0].Name, "C");
}

TEST(ItemRows, RemovalLeavesTombstonesAndOffersTheItemsAgain) {
    ItemStore store;
    for (const char* n : {"A", "B", "+ C", "D"}) store.Append(Item(n));
    std::vector<ItemRow> rows = RowsForSelection(store, "", true);
    std::vector<CandidateRow> candidates = {{"b", "elsewhere"}};
    RemoveRows(rows, {1, 2}, store, candidates);
    EXPECT_EQ(Names(rows), (std::vector<std::string>{"A", "D"}));
    ASSERT_EQ(store.size(), 4u) << "indices stay valid: removal never shrinks the table";
    EXPECT_TRUE(store[1].IsRemoved());
    EXPECT_TRUE(store[1].Name.empty() && store[1].ExePath.empty() && store[1].ItemGuid.empty());
    EXPECT_TRUE(store[2].IsRemoved()) << "a composed item is removed too";
    ASSERT_EQ(candidates.size(), 1u) << "B is a candidate already (in another case); + C never becomes one";
    RemoveRows(rows, {0}, store, candidates);
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(candidates[1].name, "A");
    EXPECT_EQ(candidates[1].target, "c:\\A.exe");
    // Every catalog that named a removed item now skips it.
    EXPECT_EQ(Names(RowsForSelection(store, "X|0,1,2,3", false)), (std::vector<std::string>{"D"}));
}

TEST(ItemRows, LinkAllWithAPinnedCatalogMovesEveryRowLastToFirst) {
    ItemStore store;
    for (const char* n : {"A", "B", "C"}) store.Append(Item(n));
    CatalogTree tree("All");
    CatalogNode* pinned = tree.root().AddChild("Old", "OLD|0,1,2");
    CatalogNode* target = tree.root().AddChild("New", "NEW|2");
    std::vector<ItemRow> rows = RowsForSelection(store, pinned->nodeData, false);
    const std::string linked = TakeRowsForLink(rows, {2, 1, 0});
    target->nodeData = std::string(NodeIdOf(target->nodeData)) + "|" + linked;
    pinned->nodeData = NodeDataFromRows(pinned->nodeData, rows);
    EXPECT_EQ(target->nodeData, "NEW|2,1,0") << "the selected catalog's former members are replaced";
    EXPECT_EQ(pinned->nodeData, "OLD") << "and the pinned catalog is empty";
    EXPECT_TRUE(rows.empty());
}

TEST(ItemRows, SetRefusesOnlyARealHotkeyDuplicateAnywhereInTheTable) {
    ItemStore store;
    store.Append(Item("Eleven", "Ctrl", "F11"));     // 0, in the listed catalog
    store.Append(Item("Elsewhere", "ctrl", "F5"));   // 1, in another catalog
    store.Append(Item("Target"));                    // 2
    store.Append(Item("Gone", "Alt", "A"));          // 3
    store.Remove(3);
    std::vector<ItemRow> rows = RowsForSelection(store, "LISTED|0,2", false);
    ASSERT_EQ(rows.size(), 2u);

    EXPECT_EQ(SetItemInfo(rows, 1, store, " tg ", "Ctrl", "F1", "d"), SetOutcome::Stored)
        << "Ctrl+F1 beside Ctrl+F11 is no duplicate";
    EXPECT_EQ(store[2].Hotkey2, "F1");
    EXPECT_EQ(store[2].ShortName, "tg");

    EXPECT_EQ(SetItemInfo(rows, 1, store, "new", "Ctrl", "F5", "x"), SetOutcome::HotkeyTaken)
        << "an item of another catalog holds Ctrl+F5 (its modifier in lower case)";
    EXPECT_EQ(rows[1].shortName, "new") << "the short name is stored at once";
    EXPECT_EQ(rows[1].hotkey2, "F1") << "the hot key stays as it was";
    EXPECT_EQ(store[2].Hotkey2, "F1");

    EXPECT_EQ(SetItemInfo(rows, 1, store, "new", "Alt", "A", "x"), SetOutcome::Stored) << "a removed item holds nothing";
    EXPECT_EQ(SetItemInfo(rows, 1, store, "new", "Alt", "A", "x"), SetOutcome::Stored)
        << "setting an item's own hot key again is fine";
    EXPECT_EQ(SetItemInfo(rows, 1, store, "new", "No Hotkey", "Q", "y"), SetOutcome::Stored);
    EXPECT_TRUE(store[2].Hotkey1.empty() && store[2].Hotkey2.empty()) << "No Hotkey stores both empty";
    EXPECT_EQ(store[2].Description, "y");
}

TEST(ItemRows, ResetEmptiesTheDescriptionResetAllKeepsIt) {
    ItemStore store;
    store.Append(Item("+ Notepad Plus", "Ctrl", "N", "keep me"));
    store.Append(Item("Word Pad", "Alt", "W", "mine"));
    std::vector<ItemRow> rows = RowsForSelection(store, "", true);
    rows[0].shortName = rows[1].shortName = "x";
    ResetRows(rows, {0}, store);
    EXPECT_EQ(store[0].ShortName, "NP") << "the composed mark is dropped before the short name is made";
    EXPECT_TRUE(store[0].Hotkey1.empty() && store[0].Description.empty());
    EXPECT_EQ(store[1].ShortName, "WP") << "an unselected row keeps its record";
    ResetAllRows(rows, store);
    EXPECT_EQ(store[1].ShortName, "WP");
    EXPECT_TRUE(store[1].Hotkey1.empty() && store[1].Hotkey2.empty());
    EXPECT_EQ(store[1].Description, "mine");
}

TEST(ItemRows, AFileBecomesAnItemNamedByItsFullPath) {
    ItemStore store;
    std::vector<ItemRow> rows;
    EXPECT_FALSE(AddFileRow({"x", "", ""}, rows, store, Counter()));
    ASSERT_TRUE(AddFileRow({"Quarterly Report", "C:\\docs\\Quarterly Report.doc", ""}, rows, store, Counter()));
    EXPECT_EQ(store[0].Name, "C:\\docs\\Quarterly Report.doc");
    EXPECT_EQ(store[0].ExePath, "C:\\docs\\Quarterly Report.doc");
    EXPECT_EQ(store[0].Description, "Quarterly Report");
    EXPECT_EQ(store[0].ShortName, "QR") << "made from the title, not upper-cased";
}

TEST(ItemRows, FindBoxesAndSorting) {
    std::vector<ItemRow> rows(4);
    const char* names[] = {"beta", "Alpha", "alps", "Gamma"};
    const char* shorts[] = {"BT", "AL", "AP", "GM"};
    for (size_t i = 0; i < 4; ++i) rows[i].name = names[i], rows[i].shortName = shorts[i], rows[i].index = i;
    EXPECT_EQ(FindByNamePrefix(rows, "al", 0), 1);
    EXPECT_EQ(FindByNamePrefix(rows, "al", 2), 2) << "from the current row on";
    EXPECT_EQ(FindByNamePrefix(rows, "be", 3), 0) << "wrapping to the top";
    EXPECT_EQ(FindByNamePrefix(rows, "x", 0), -1);
    EXPECT_EQ(FindByShortNameContaining(rows, "m"), 3);
    EXPECT_EQ(FindByShortNameContaining(rows, "p"), 2);
    SortItemRows(rows, 0, true);
    EXPECT_EQ(Names(rows), (std::vector<std::string>{"Alpha", "alps", "beta", "Gamma"}));
    SortItemRows(rows, 0, false);
    EXPECT_EQ(Names(rows), (std::vector<std::string>{"Gamma", "beta", "alps", "Alpha"}));
    SortItemRows(rows, 1, true);
    EXPECT_EQ(rows[0].shortName, "AL");
    EXPECT_EQ(rows[3].shortName, "GM");
}

TEST(CatalogTree, DeletingAndMovingNeverLoseOrDuplicateACatalog) {
    CatalogTree tree("All");
    CatalogIndex index;
    ResetCatalogs(tree, index, "All");
    CatalogNode* tools = tree.root().AddChild("Tools", "T");
    CatalogNode* sub = tools->AddChild("Sub", "S");
    CatalogNode* deep = sub->AddChild("Deep", "D");
    CatalogNode* games = tree.root().AddChild("Games", "G");
    for (auto [id, node] : {std::pair{"T", tools}, {"S", sub}, {"D", deep}, {"G", games}}) index.Add(id, node);

    EXPECT_FALSE(MoveCatalog(tools, deep)) << "not into its own subtree";
    EXPECT_FALSE(MoveCatalog(tools, tools));
    EXPECT_FALSE(MoveCatalog(&tree.root(), games)) << "the root never moves";
    EXPECT_TRUE(MoveCatalog(sub, games));
    EXPECT_EQ(sub->parent, games);
    EXPECT_TRUE(tools->children.empty());
    ASSERT_EQ(games->children.size(), 1u);
    EXPECT_EQ(games->children[0].get(), sub);
    EXPECT_EQ(deep->parent, sub) << "the subtree moves along";
    EXPECT_EQ(tree.CatalogCount(), 4u);
    EXPECT_EQ(index.NodeOf("D"), deep);

    EXPECT_FALSE(RemoveCatalog(index, &tree.root()));
    EXPECT_TRUE(RemoveCatalog(index, games));
    EXPECT_EQ(tree.CatalogCount(), 1u) << "the whole branch goes";
    EXPECT_EQ(index.NodeOf("G"), nullptr);
    EXPECT_EQ(index.NodeOf("S"), nullptr);
    EXPECT_EQ(index.NodeOf("D"), nullptr);
    EXPECT_EQ(index.NodeOf("T"), tools);
    EXPECT_EQ(index.size(), 2u);
}

}  // namespace
}  // namespace tvx
