// The add-item mailbox on real files: an item the item file cannot take
// changes nothing anywhere, a Description of several lines arrives whole
// without leaving stray keys, and the sender never loses an entry: a
// mailbox it cannot write, an entry still waiting, a receiver that does not
// answer are each told apart.
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

std::set<std::string> SectionKeys(const std::string& mailbox) {
    std::vector<char> keys(32768, '\0');
    DWORD n = GetPrivateProfileStringA(kMailboxSection, nullptr, "", keys.data(), static_cast<DWORD>(keys.size()),
                                       mailbox.c_str());
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
    const std::string mailbox = tvx::Installation(inst.dir.path()).MailboxFile();
    // A line an older sender left in the section, as if it were a key.
    WritePrivateProfileStringA(kMailboxSection, "second line of an old description", "x", mailbox.c_str());
    const std::string description = "first line\r\nNodeID=x\r\nthird line";
    MailboxFields sent = NewEntry(description);
    EXPECT_EQ(SendToMailbox(mailbox, sent), HandOver::Pending);  // no live receiver is named: written, waiting
    const MailboxFields got = ReceiveFromMailbox(mailbox);
    EXPECT_EQ(got.Description, description);
    EXPECT_EQ(got.NodeID, kWork) << "the line NodeID=x did not shadow the real key";
    const ReceiveResult r =
        FileReceivedItem(got, "11111111-2222-3333-4444-555555555555", inst.store, inst.tree, inst.index,
                         inst.itemFile(), inst.catalogFile());
    ASSERT_EQ(r.outcome, ReceivedItem::Added);
    EXPECT_EQ(inst.store[r.index].Description, description);
    EXPECT_EQ(inst.tree.root().children[0]->nodeData, kWork + "|0,1") << "filed in the chosen catalog";
    for (const std::string& key : SectionKeys(mailbox)) EXPECT_TRUE(IsMailboxKey(key)) << "stray key left: " << key;
}

TEST(MailboxSender, AnEntryIsNeverWrittenOverOrReportedAsHandedOverWhenItWasNot) {
    test::ScratchDir dir("send_cases");
    // A mailbox that cannot be written (a folder in its place, as a standard
    // user meets a file of another's): said so, nothing left behind.
    const std::string blocked = dir.File("Blocked.ini");
    ASSERT_TRUE(CreateDirectoryA(blocked.c_str(), nullptr));
    EXPECT_EQ(SendToMailbox(blocked, NewEntry("x")), HandOver::Unwritable);
    RemoveDirectoryA(blocked.c_str());
    EXPECT_EQ(GetFileAttributesA(blocked.c_str()), INVALID_FILE_ATTRIBUTES);

    // No receiver: the entry waits; a second one does not write over it.
    const std::string mailbox = tvx::Installation(dir.path()).MailboxFile();
    MailboxFields first = NewEntry("first");
    EXPECT_EQ(SendToMailbox(mailbox, first), HandOver::Pending);
    MailboxFields second = NewEntry("second");
    second.Name = "Other";
    EXPECT_EQ(SendToMailbox(mailbox, second), HandOver::Busy);
    const MailboxFields waiting = ReceiveFromMailbox(mailbox);
    EXPECT_EQ(waiting.Name, "Report");
    EXPECT_EQ(waiting.Description, "first");
    EXPECT_EQ(SendToMailbox(mailbox, second), HandOver::Pending) << "taken: the next one may come";
}

struct BusyReceiver {
    std::string mailbox;
    HANDLE published, answer;
    MailboxFields taken;
};
DWORD WINAPI RunBusyReceiver(void* p) {
    auto* r = static_cast<BusyReceiver*>(p);
    HWND window = CreateWindowExA(0, "STATIC", "receiver", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    PublishMailboxDestination(r->mailbox, window);
    SetEvent(r->published);
    WaitForSingleObject(r->answer, 30000);      // busy: no message is looked at meanwhile
    r->taken = ReceiveFromMailbox(r->mailbox);  // its next look
    WithdrawMailboxDestination(window);
    DestroyWindow(window);
    return 0;
}

// A receiver that does not answer: the sender gives up after its limit and
// the entry waits until the receiver looks again.
TEST(MailboxSender, AReceiverThatDoesNotAnswerHoldsTheSenderOnlyForItsLimit) {
    test::ScratchDir dir("send_hung");
    const std::string mailbox = tvx::Installation(dir.path()).MailboxFile();
    HANDLE published = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE answer = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    BusyReceiver receiver{mailbox, published, answer, {}};
    HANDLE thread = CreateThread(nullptr, 0, RunBusyReceiver, &receiver, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(published, 10000), WAIT_OBJECT_0);
    const DWORD start = GetTickCount();
    EXPECT_EQ(SendToMailbox(mailbox, NewEntry("late")), HandOver::Pending);
    const DWORD waited = GetTickCount() - start;
    EXPECT_LE(waited, kHandOverTimeoutMs + 2000) << "the sender gave up in time";
    SetEvent(answer);
    WaitForSingleObject(thread, 30000);
    EXPECT_EQ(receiver.taken.Description, "late") << "the entry waited for the receiver";
    CloseHandle(thread);
    CloseHandle(published);
    CloseHandle(answer);
}

}  // namespace
}  // namespace tvx::win
