// The receiving side of the add-item mailbox on real files and the real
// WIN.INI: an item the item file cannot take changes nothing anywhere, and a
// Description of several lines arrives whole without leaving stray keys.
#include "data/catalog_file.h"
#include "data/item_file.h"
#include "data/win32/file_io.h"
#include "data/win32/mailbox.h"
#include "tests/win32/test_support.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

namespace tvx::win {
namespace {

const std::string kWork = "AAAAAAAA-0000-0000-0000-000000000001";

struct Installation {
    explicit Installation(const char* name) : dir(name) {
        LaunchItem first;
        first.Name = "Notepad";
        first.Status = "0";
        first.ExePath = "c:\\notepad.exe";
        store.Append(first);
        ResetCatalogs(tree, index, "All");
        CatalogNode* work = tree.root().AddChild("Work", kWork + "|0");
        index.Add(kWork, work);
        EXPECT_TRUE(SaveItemFile(itemFile(), store));
        EXPECT_TRUE(SaveCatalogFile(catalogFile(), tree));
    }
    std::string itemFile() const { return dir.File("Shortcut2.dat"); }
    std::string catalogFile() const { return dir.File("Shortcut2.clg"); }
    test::ScratchDir dir;
    ItemStore store;
    CatalogTree tree;
    CatalogIndex index;
};

MailboxFields NewEntry(const std::string& description) {
    MailboxFields f;
    f.Name = "Report";
    f.ShortName = "rep";
    f.Description = description;
    f.ExePath = "c:\\docs\\report.doc";
    f.NodeID = kWork;
    return f;
}

std::set<std::string> SectionKeys() {
    std::vector<char> keys(32768, '\0');
    DWORD n = GetProfileStringA(kMailboxSection, nullptr, "", keys.data(), static_cast<DWORD>(keys.size()));
    std::set<std::string> out;
    for (size_t at = 0; at < n && keys[at];) {
        const std::string key(keys.data() + at);  // keys are NUL-separated
        out.insert(key);
        at += key.size() + 1;
    }
    return out;
}

TEST(MailboxReceiver, AnItemFileThatCannotBeWrittenLeavesBothFilesAndTheStoreAsTheyWere) {
    Installation inst("receive_locked");
    const std::string itemsBefore = test::ReadWholeFile(inst.itemFile());
    const std::string catalogsBefore = test::ReadWholeFile(inst.catalogFile());
    // Another program holds the item file open without sharing.
    HANDLE lock = CreateFileA(inst.itemFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const ReceiveResult r = FileReceivedItem(NewEntry("x"), "11111111-2222-3333-4444-555555555555", inst.store,
                                             inst.tree, inst.index, inst.itemFile(), inst.catalogFile());
    CloseHandle(lock);
    EXPECT_EQ(r.outcome, ReceivedItem::ItemFileFailed);
    EXPECT_EQ(inst.store.size(), 1u) << "the store does not keep an item its file lacks";
    EXPECT_EQ(inst.tree.root().children[0]->nodeData, kWork + "|0") << "nor does the catalog name it";
    EXPECT_EQ(test::ReadWholeFile(inst.itemFile()), itemsBefore);
    EXPECT_EQ(test::ReadWholeFile(inst.catalogFile()), catalogsBefore);

    // Once the file is free again the next item gets the index the files agree on.
    const ReceiveResult ok = FileReceivedItem(NewEntry("x"), "11111111-2222-3333-4444-555555555555", inst.store,
                                              inst.tree, inst.index, inst.itemFile(), inst.catalogFile());
    ASSERT_EQ(ok.outcome, ReceivedItem::Added);
    EXPECT_EQ(ok.index, 1u);
    ItemStore onDisk = LoadItemFile(inst.itemFile());
    ASSERT_EQ(onDisk.size(), 2u);
    EXPECT_EQ(onDisk[1].Name, "Report");
    CatalogTree tree;
    CatalogIndex index;
    ResetCatalogs(tree, index, "All");
    LoadCatalogFile(inst.catalogFile(), index);
    EXPECT_EQ(tree.root().children[0]->nodeData, kWork + "|0,1");
}

TEST(MailboxReceiver, ACatalogFileThatCannotBeWrittenKeepsTheEntryOutOfEveryCatalog) {
    Installation inst("receive_catalog_locked");
    const std::string catalogsBefore = test::ReadWholeFile(inst.catalogFile());
    HANDLE lock = CreateFileA(inst.catalogFile().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    const ReceiveResult r = FileReceivedItem(NewEntry("x"), "11111111-2222-3333-4444-555555555555", inst.store,
                                             inst.tree, inst.index, inst.itemFile(), inst.catalogFile());
    CloseHandle(lock);
    EXPECT_EQ(r.outcome, ReceivedItem::CatalogFileFailed);
    EXPECT_EQ(inst.store.size(), 2u);
    EXPECT_EQ(LoadItemFile(inst.itemFile()).size(), 2u);
    EXPECT_EQ(inst.tree.root().children[0]->nodeData, kWork + "|0") << "memory agrees with the catalog file";
    EXPECT_EQ(test::ReadWholeFile(inst.catalogFile()), catalogsBefore);
}

TEST(MailboxReceiver, ADescriptionOfThreeLinesArrivesAsOneEntryAndNoStrayKeyStays) {
    Installation inst("receive_lines");
    // A line an older sender left in the section, as if it were a key.
    WriteProfileStringA(kMailboxSection, "second line of an old description", "x");
    const std::string description = "first line\r\nNodeID=x\r\nthird line";
    MailboxFields sent = NewEntry(description);
    SendToMailbox(sent);  // no live receiver is named: the values are only written
    const MailboxFields got = ReceiveFromMailbox();
    EXPECT_EQ(got.Description, description);
    EXPECT_EQ(got.NodeID, kWork) << "the line NodeID=x did not shadow the real key";
    const ReceiveResult r =
        FileReceivedItem(got, "11111111-2222-3333-4444-555555555555", inst.store, inst.tree, inst.index,
                         inst.itemFile(), inst.catalogFile());
    ASSERT_EQ(r.outcome, ReceivedItem::Added);
    EXPECT_EQ(inst.store[r.index].Description, description);
    EXPECT_EQ(inst.tree.root().children[0]->nodeData, kWork + "|0,1") << "filed in the chosen catalog";
    for (const std::string& key : SectionKeys()) EXPECT_TRUE(IsMailboxKey(key)) << "stray key left: " << key;
}

}  // namespace
}  // namespace tvx::win
