// The exchange rules: names from the archive path, which entry names are
// safe, the clipboard files an entry carries, and the merge of entries and
// catalogs between the two sides.
#include "data/catalog_file.h"
#include "data/item_file.h"
#include "exchange/exchange_merge.h"
#include "exchange/exchange_rules.h"
#include "tests/support/item_builder.h"

#include <gtest/gtest.h>

#include <memory>

namespace tvx {
namespace {

LaunchItem Entry(const std::string& name, const std::string& guid, const std::string& command = "") {
    return test::Entry(name).Short(name.substr(0, 1)).Guid(guid).Command(command.empty() ? "c:\\" + name + ".exe" : command);
}

GuidSource Counter() {
    auto n = std::make_shared<int>(0);
    return [n] { return "NODE-" + std::to_string((*n)++); };
}

std::vector<std::string> Names(const std::vector<ItemRow>& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.name);
    return out;
}

TEST(ArchiveNames, FolderAndTitleComeFromThePathByCharacters) {
    ArchiveName n = ArchiveNameOf("D:\\Backup\\Tools.trn");
    EXPECT_EQ(n.folder, "D:\\Backup");
    EXPECT_EQ(n.title, "Tools");
    // A title whose last character has the second byte 0x5C, and dots inside.
    n = ArchiveNameOf("D:\\B\\v1.2 \xD4\x5C.trn");
    EXPECT_EQ(n.folder, "D:\\B");
    EXPECT_EQ(n.title, "v1.2 \xD4\x5C");

    EXPECT_STREQ(ArchivePathProblem(""), "ConfigFilePathEmpty");
    EXPECT_STREQ(ArchivePathProblem("D:\\Backup\\Tools"), "ConfigFileNameError");
    EXPECT_STREQ(ArchivePathProblem("D:\\Backup\\.trn"), "ConfigFileNameError");
    EXPECT_STREQ(ArchivePathProblem("Tools.trn"), "ConfigFileNameError");  // no folder to write beside
    EXPECT_STREQ(ArchivePathProblem("D:\\a.b\\cd"), "ConfigFileNameError");
    EXPECT_EQ(ArchivePathProblem("D:\\Backup\\Tools.trn"), nullptr);
    EXPECT_EQ(ArchivePathProblem("D:\\Backup\\Tools.zip"), nullptr);
}

TEST(ArchiveNames, EntryNamesThatStayInsideTheFolderAreSafe) {
    for (const char* safe : {"T/T.clg", "T/Data/", "T\\Data\\a.stx", "T/Data/x y.stx", "T/\xD4\x5C.stx", "T/a..b",
                             "T/.hidden"})
        EXPECT_TRUE(IsSafeEntryName(safe)) << safe;
    for (const char* unsafe : {"", "/T/T.clg", "\\T\\T.clg", "../T.clg", "T/../../x", "T\\..\\..\\x", "C:/x",
                               "C:x", "T/x:stream", "T//x", "T/./x", "T/.../x", "T/.. /x", "T/x\x01y", ".."})
        EXPECT_FALSE(IsSafeEntryName(unsafe)) << unsafe;
    // The second byte of a double-byte character is not a separator: the
    // name "\xD4\x5C.." is one odd name, not a ".." part.
    EXPECT_TRUE(IsSafeEntryName("T/\xD4\x5C.."));
    // A lead byte pairs only with a byte that can follow it: "/" and ":" after
    // a stray lead byte are what they are (found by the archive fuzzer).
    EXPECT_EQ(NativeEntryPath("T/Data/\xD4/.stx"), "T\\Data\\\xD4\\.stx");
    EXPECT_FALSE(IsSafeEntryName("T/\xD7:*"));
    EXPECT_FALSE(IsSafeEntryName("\xD7:/x"));
    EXPECT_FALSE(IsSafeEntryName("T/\xD7/../../x"));
    // Device names open the device, not a file: refused in any part and case.
    for (const char* device : {"T/Data/COM1.stx", "T/con", "NUL/T.dat", "T/Lpt9.txt", "T/aux .stx", "T/PRN."})
        EXPECT_FALSE(IsSafeEntryName(device)) << device;
    for (const char* fine : {"T/COM10.stx", "T/CONSOLE.stx", "T/LPT0.stx", "T/Data/NULL.stx"})
        EXPECT_TRUE(IsSafeEntryName(fine)) << fine;
    EXPECT_TRUE(IsFolderEntry("T/Data/"));
    EXPECT_FALSE(IsFolderEntry("T/\xD4\x5C"));
    EXPECT_EQ(TopFolderOf("T/T.dat"), "T");
    EXPECT_EQ(TopFolderOf("T.dat"), "");
}

TEST(ArchiveNames, ArchivesThatWouldUnpackToTooMuchAreRefused) {
    EXPECT_TRUE(ArchiveSizesSafe({}));
    EXPECT_TRUE(ArchiveSizesSafe({{1000, 2000}, {0, 0}, {1 << 20, 3u << 20}}));
    EXPECT_TRUE(ArchiveSizesSafe({{200, 200000}})) << "small entries may be very repetitive";
    EXPECT_FALSE(ArchiveSizesSafe({{1000, 1ULL << 30}})) << "a gigabyte from a kilobyte";
    EXPECT_FALSE(ArchiveSizesSafe({{3ULL << 30, 3ULL << 30}, {2ULL << 30, 2ULL << 30}})) << "over 4 GiB in all";
    EXPECT_FALSE(ArchiveSizesSafe({{1, ~0ULL}})) << "no overflow of the sum";
}

TEST(DataFiles, TheClipboardFilesAnEntryCarriesAndTheirNewPlace) {
    EXPECT_EQ(ClipboardDataCommands("  c:\\x\\Data\\A.STX  "), std::vector<std::string>{"c:\\x\\Data\\A.STX"});
    EXPECT_TRUE(ClipboardDataCommands("c:\\notes.txt").empty());
    EXPECT_TRUE(ClipboardDataCommands(".stx").empty());  // four characters are no file name
    // A composed entry: member names before "^^^", commands after it.
    const std::string composed = "Clip\r\nPad\r\nb.stx^^^ c:\\d\\a.stx\r\nnotepad.exe\r\n c:\\d\\b.stx \r\n";
    EXPECT_EQ(ClipboardDataCommands(composed), (std::vector<std::string>{"c:\\d\\a.stx", "c:\\d\\b.stx"}));

    ItemStore store;
    store.Append(Entry("Both", "G1", composed));
    store.Append(Entry("Same file", "G2", "c:\\other\\A.stx"));  // the same file name: carried once
    store.Append(Entry("Gone", "G3", "c:\\d\\gone.stx"));
    store.Remove(2);  // taken out again: its file stays behind
    EXPECT_EQ(DataCommandsOf(store), (std::vector<std::string>{"c:\\d\\a.stx", "c:\\d\\b.stx"}));
    const std::unordered_set<size_t> second = {1};
    EXPECT_EQ(DataCommandsOf(store, &second), std::vector<std::string>{"c:\\other\\A.stx"});

    LaunchItem item = Entry("Both", "G", "Clip\r\nb.stx^^^c:\\d\\a.stx\r\nnotepad.exe\r\nc:\\d\\zzz.stx");
    const std::unordered_set<std::string> carried = {"a.stx"};
    EXPECT_TRUE(PointDataFilesAt(item, "e:\\here\\Data", carried));
    EXPECT_EQ(item.ExePath, "Clip\r\nb.stx^^^e:\\here\\Data\\a.stx\r\nnotepad.exe\r\nc:\\d\\zzz.stx");
    EXPECT_FALSE(PointDataFilesAt(item, "e:\\here\\Data", carried));  // already there
    LaunchItem clip = Entry("Clip", "H", "c:\\d\\A.stx");
    EXPECT_TRUE(PointDataFilesAt(clip, "e:\\here\\Data", carried));
    EXPECT_EQ(clip.ExePath, "e:\\here\\Data\\A.stx");

    // Renaming one file of a composed entry: the other lines stay as they are.
    LaunchItem renamed = Entry("Two", "I", "A\r\nB^^^e:\\here\\Data\\a.stx\r\nnotepad.exe");
    EXPECT_TRUE(RewriteDataCommands(renamed, [](const std::string& c) -> std::optional<std::string> {
        if (FileNameOf(c) == "a.stx") return std::string("e:\\here\\Data\\NEW.stx");
        return std::nullopt;
    }));
    EXPECT_EQ(renamed.ExePath, "A\r\nB^^^e:\\here\\Data\\NEW.stx\r\nnotepad.exe");
}

TEST(ExchangeMerge, AnEntryWithAKnownGuidIsUpdatedInPlaceOthersAreAppended) {
    ItemStore store;
    store.Append(Entry("Old", "G1"));
    store.Append(Entry("Two", "G2"));
    store.Append(Entry("NoGuid", ""));
    ExchangeTable table(store);
    LaunchItem updated = Entry("New name", "G1", "c:\\new.exe");
    updated.Reserved = "should not travel";
    EXPECT_EQ(table.Merge(updated), 0u);
    EXPECT_EQ(store[0].Name, "New name");
    EXPECT_EQ(store[0].ExePath, "c:\\new.exe");
    EXPECT_EQ(store[0].Reserved, "");
    EXPECT_EQ(table.Merge(Entry("Three", "G3")), 3u);
    EXPECT_EQ(table.Merge(Entry("Three again", "G3")), 3u);
    // Entries without a GUID are never taken for each other.
    EXPECT_EQ(table.Merge(Entry("Another", "")), 4u);
    EXPECT_EQ(store[2].Name, "NoGuid");
    // A tombstone is no match: the entry comes back as a new one.
    table.Remove(1);
    EXPECT_TRUE(store[1].IsRemoved());
    EXPECT_EQ(table.Merge(Entry("Two", "G2")), 5u);
    EXPECT_EQ(store.size(), 6u);
}

TEST(ExchangeMerge, MovingRowsTombstonesTheGivingSideOnlyWhenAsked) {
    ItemStore program, archive;
    program.Append(Entry("A", "GA"));
    program.Append(Entry("B", "GB", "c:\\Data\\b.stx"));
    program.Append(Entry("C", "GC"));
    archive.Append(Entry("Old A", "GA"));
    ExchangeTable left(program), right(archive);
    std::vector<ItemRow> from = RowsForSelection(program, "", true);
    std::vector<ItemRow> to;
    // Export: taking entries into the archive leaves the program as it was.
    EXPECT_EQ(MoveRows(from, {0, 1}, left, false, to, right), 2u);
    EXPECT_EQ(Names(from), std::vector<std::string>{"C"});
    EXPECT_EQ(Names(to), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(to[0].index, 0u);  // GUID GA: the archive's entry 0, updated
    EXPECT_EQ(archive[0].Name, "A");
    EXPECT_EQ(to[1].index, 1u);
    EXPECT_FALSE(program[0].IsRemoved());
    EXPECT_EQ(right.received(), (std::unordered_set<size_t>{0, 1}));
    EXPECT_EQ(DataCommandsOf(archive, &right.received()), std::vector<std::string>{"c:\\Data\\b.stx"});
    EXPECT_EQ(NodeDataFromRows("N1", to), "N1|0,1");

    // Rows before the moved one stay as they were.
    std::vector<ItemRow> three = RowsForSelection(program, "", true);
    std::vector<ItemRow> elsewhere;
    EXPECT_EQ(MoveRows(three, {2}, left, false, elsewhere, right), 1u);
    EXPECT_EQ(Names(three), (std::vector<std::string>{"A", "B"}));
    // Moving the same entry again does not list it twice.
    std::vector<ItemRow> again = RowsForSelection(program, "", true);
    EXPECT_EQ(MoveRows(again, {0}, left, false, to, right), 1u);
    EXPECT_EQ(to.size(), 2u);

    // Taking an entry back out of the export makes it a tombstone there, and
    // its clipboard file no longer travels.
    std::vector<ItemRow> back;
    EXPECT_EQ(MoveRows(to, AllRowsFromLast(to), right, true, back, left), 2u);
    EXPECT_TRUE(archive[0].IsRemoved() && archive[1].IsRemoved());
    EXPECT_TRUE(DataCommandsOf(archive).empty());
    EXPECT_EQ(Names(back), (std::vector<std::string>{"B", "A"}));  // from the last row up
    EXPECT_EQ(back[0].index, 1u);  // back onto the program's own entries
    EXPECT_EQ(program.size(), 3u);
    // Nothing chosen: nothing moves.
    EXPECT_EQ(MoveRows(to, {}, right, true, back, left), 0u);
}

TEST(ExchangeMerge, CopyingACatalogTwiceGivesTwoCatalogsSharingTheirEntries) {
    ItemStore program, archive;
    program.Append(Entry("A", "GA"));
    program.Append(Entry("Gone", "GX"));
    program.Append(Entry("B", "GB"));
    program.Remove(1);
    CatalogTree source;
    CatalogNode* work = source.root().AddChild("Work", "W|0,1,2");
    work->AddChild("Sub", "S|2");
    CatalogTree target;
    CatalogIndex index;
    ResetCatalogs(target, index, "Exporting");
    ExchangeTable table(archive);
    const GuidSource ids = Counter();

    CatalogNode* first = CopyCatalog(*work, program, target.root(), index, &table, ids);
    CatalogNode* second = CopyCatalog(*work, program, target.root(), index, &table, ids);
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->nodeData, "NODE-0|0,1");  // the tombstone is left out
    EXPECT_EQ(first->children[0]->nodeData, "NODE-1|1");
    EXPECT_EQ(second->nodeData, "NODE-2|0,1");
    EXPECT_EQ(second->children[0]->text, "Sub");
    EXPECT_EQ(archive.size(), 2u);
    EXPECT_EQ(index.size(), 5u);
    EXPECT_EQ(index.NodeOf("NODE-3"), second->children[0].get());

    // Without entries: the same shape, no members, nothing added.
    CatalogNode* bare = CopyCatalog(*work, program, *first, index, nullptr, ids);
    EXPECT_EQ(bare->nodeData, "NODE-4");
    EXPECT_EQ(bare->children[0]->nodeData, "NODE-5");
    EXPECT_EQ(archive.size(), 2u);
    // Never into itself.
    EXPECT_EQ(CopyCatalog(*first, archive, *first->children[0], index, &table, ids), nullptr);

    // The exported tree and table are what the archive's files hold.
    const std::string clg = EncodeCatalogFile(target);
    CatalogTree read;
    CatalogIndex readIndex;
    ResetCatalogs(read, readIndex, "Importing");
    DecodeCatalogFile(clg, readIndex);
    EXPECT_EQ(EncodeCatalogFile(read), clg);
    bool whole = false;
    EXPECT_EQ(DecodeItemFile(EncodeItemFile(archive), &whole).items(), archive.items());
    EXPECT_TRUE(whole);
}

TEST(ExchangeMerge, DeletingACatalogTombstonesTheEntriesOfItsBranch) {
    ItemStore store;
    for (const char* n : {"A", "B", "C", "D"}) store.Append(Entry(n, std::string("G") + n));
    CatalogTree tree;
    CatalogIndex index;
    ResetCatalogs(tree, index, "All");
    const GuidSource ids = Counter();
    CatalogNode* work = AddCatalog(tree.root(), index, "Work|x", ids);
    EXPECT_EQ(work->text, "Work_x");
    work->nodeData += "|0";
    CatalogNode* sub = AddCatalog(*work, index, "Sub", ids);
    sub->nodeData += "|1";
    CatalogNode* other = AddCatalog(tree.root(), index, "Other", ids);
    other->nodeData += "|3";
    ExchangeTable table(store);
    EXPECT_FALSE(DeleteCatalogWithItems(index, &tree.root(), table));
    EXPECT_TRUE(DeleteCatalogWithItems(index, work, table));
    EXPECT_TRUE(store[0].IsRemoved() && store[1].IsRemoved());
    EXPECT_FALSE(store[2].IsRemoved() || store[3].IsRemoved());
    EXPECT_EQ(tree.root().children.size(), 1u);
    EXPECT_EQ(index.size(), 2u);
    EXPECT_EQ(table.Find("GA"), -1);
}

TEST(ExchangeMerge, FiftyThousandEntriesMergeByGuidWithoutScanning) {
    // Correctness at size; the timing lives in the benchmark.
    ItemStore program, archive;
    for (int i = 0; i < 100000; ++i) program.Append(Entry("P" + std::to_string(i), "G" + std::to_string(i)));
    // Every fourth GUID: the first half of them the program knows.
    for (int i = 0; i < 50000; ++i) archive.Append(Entry("A" + std::to_string(i), "G" + std::to_string(i * 4)));
    ExchangeTable left(program), right(archive);
    std::vector<ItemRow> from = RowsForSelection(archive, "", true), to;
    EXPECT_EQ(MoveRows(from, AllRowsFromLast(from), right, false, to, left), 50000u);
    EXPECT_EQ(program.size(), 125000u);
    EXPECT_EQ(program[40000].Name, "A10000");
    EXPECT_EQ(program[40001].Name, "P40001");
    EXPECT_EQ(program[124999].ItemGuid, "G100000");  // moved from the last row up
}

}  // namespace
}  // namespace tvx
