#include "data/catalog_file.h"
#include "data/mailbox.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

const std::string kRoot(kRootCatalogId);
const std::string kA = "AAAAAAAA-0000-0000-0000-000000000001";
const std::string kB = "BBBBBBBB-0000-0000-0000-000000000002";

TEST(Mailbox, ValuesArriveCutToTheReceiversBuffersNeverInsideACharacter) {
    MailboxFields sent;
    sent.Name = std::string(300, 'n');
    sent.ShortName = std::string(258, 's') + "\xBC\xC7";  // the character would straddle byte 259
    sent.Hotkey1 = "No Hotkey1";
    sent.Hotkey2 = std::string(25, 'k');
    sent.Description = std::string(2000, 'd');
    sent.ExePath = "c:\\x.exe";
    sent.NodeID = kA + "XXXX";
    MailboxFields got = CutToReceiverBuffers(sent);
    EXPECT_EQ(got.Name.size(), 259u);
    EXPECT_EQ(got.ShortName, std::string(258, 's'));
    EXPECT_EQ(got.Hotkey1, "No Hotkey1");
    EXPECT_EQ(got.Hotkey2.size(), 19u);
    EXPECT_EQ(got.Description.size(), 1023u);
    EXPECT_EQ(got.NodeID, kA) << "a 40-character NodeID is read as its first 36";
}

TEST(Mailbox, AnEmptyNameAddsNothingAndEveryOtherFieldIsTakenAsRead) {
    MailboxFields f;
    EXPECT_FALSE(ItemFromMailbox(f, "G").has_value());
    f.Name = "Report";
    f.ShortName = "r";
    f.Hotkey1 = "No Hotkey1";
    f.Hotkey2 = "A";
    f.ExePath = "C:\\Docs\\Report.doc";
    auto item = ItemFromMailbox(f, "0A0B0C0D-0000-4000-8000-000000000009");
    ASSERT_TRUE(item.has_value());
    EXPECT_EQ(item->Status, "0");
    EXPECT_EQ(item->Reserved, "");
    EXPECT_EQ(item->Hotkey1, "No Hotkey1");
    EXPECT_EQ(item->ItemGuid, "0A0B0C0D-0000-4000-8000-000000000009");
}

struct DialogTree {
    CatalogTree tree{"All"};
    CatalogIndex index;
};
std::unique_ptr<DialogTree> Fill(const std::string& text) {
    auto t = std::make_unique<DialogTree>();
    ResetCatalogs(t->tree, t->index, "All");
    DecodeCatalogFile(text, t->index, NodeDataMode::NodeIdOnly);
    return t;
}

TEST(AddItemTree, NodesKeepOnlyTheirOwnNodeIdAndTwoFieldRecordsFileUnderTheRoot) {
    auto t = Fill(kRoot + "|Work|" + kA + "|3,4\\" + kRoot + "|Loose\\" + kA + "|Sub|" + kB);
    const auto& top = t->tree.root().children;
    ASSERT_EQ(top.size(), 2u);
    EXPECT_EQ(top[0]->nodeData, kA);
    EXPECT_EQ(top[1]->nodeData, "") << "a two-field record is shown";
    EXPECT_EQ(top[0]->children[0]->nodeData, kB);
    EXPECT_EQ(NodeIdForSelection(t->index, top[0].get()), kA);
    EXPECT_EQ(NodeIdForSelection(t->index, top[1].get()), kRoot) << "and an entry filed under it names the root";
    EXPECT_EQ(NodeIdForSelection(t->index, nullptr), kRoot);
}

TEST(AddItemTree, ParentsAfterTheirChildrenAreDroppedAndCaseOnlyChangesReuseTheLookup) {
    std::string lowerA = kA;
    for (char& c : lowerA) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto t = Fill(kA + "|Early|" + kB + "\\" + kRoot + "|Work|" + kA + "\\" + kA + "|One|x1\\" + lowerA + "|Two|x2");
    const auto& top = t->tree.root().children;
    ASSERT_EQ(top.size(), 1u) << "a catalog whose parent comes later is left out";
    EXPECT_EQ(top[0]->text, "Work");
    EXPECT_EQ(top[0]->children.size(), 2u) << "same parent differing only in case: the first lookup is reused";
}

}  // namespace
}  // namespace tvx

namespace tvx {
namespace {

TEST(Mailbox, ADescriptionOfSeveralLinesTravelsAsOneValueAndArrivesWhole) {
    const std::string zhen = "\xD4\x5C";  // a GBK character ending in the byte of "\"
    const std::string description = "first line\r\nNodeID=x\r\nC:\\path " + zhen + " end\\";
    const std::string escaped = EscapeMailboxText(description);
    EXPECT_EQ(escaped.find('\r'), std::string::npos);
    EXPECT_EQ(escaped.find('\n'), std::string::npos) << "no line of the value can become a key of the section";
    EXPECT_EQ(escaped, "first line\\r\\nNodeID=x\\r\\nC:\\\\path " + zhen + " end\\\\");
    EXPECT_EQ(UnescapeMailboxText(escaped), description);
    // Cut in the middle of an escape by the receiver's buffer: the half is dropped.
    EXPECT_EQ(UnescapeMailboxText("a\\r\\"), "a\r");
    // Backslashes of an older sender that did not escape stay as they were.
    EXPECT_EQ(UnescapeMailboxText("C:\\Tools\\x"), "C:\\Tools\\x");
    EXPECT_EQ(SingleLine("a\r\nb" + zhen), "a  b" + zhen);
}

TEST(Mailbox, OnlyTheHandOverKeysBelongToTheSection) {
    for (const char* key : {"Name", "ShortName", "Hotkey1", "Hotkey2", "Description", "ExePath", "NodeID", "Dest",
                            "nodeid", "DEST"})
        EXPECT_TRUE(IsMailboxKey(key)) << key;
    for (const char* key : {"second line", "NodeID2", "", "Name "}) EXPECT_FALSE(IsMailboxKey(key)) << key;
}

}  // namespace
}  // namespace tvx
