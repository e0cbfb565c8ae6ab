// The exchange archive on disk: packing and unpacking, the staging folder,
// and what an export or an import does to the files around it.
#include "data/catalog_file.h"
#include "data/item_file.h"
#include "data/win32/file_io.h"
#include "exchange/win32/exchange_pipeline.h"
#include "exchange/win32/zip_archive.h"
#include "tests/win32/test_support.h"
#include "tests/support/item_builder.h"

#include <gtest/gtest.h>

#include <minizip/zip.h>

#include <cstdio>
#include <unordered_set>

namespace tvx::win {
namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Names of the entries of a folder, "." and ".." left out.
std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = fd.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &fd));
    FindClose(find);
    return names;
}

std::vector<std::string> StagingFolders() {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    std::vector<std::string> found;
    for (const std::string& name : FolderEntries(temp))
        if (name.rfind("Tavrolinex-", 0) == 0) found.push_back(name);
    return found;
}

void WriteZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries) {
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    zip_fileinfo info = {};
    for (const auto& [name, bytes] : entries) {
        zipOpenNewFileInZip(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION);
        zipWriteInFileInZip(zip, bytes.data(), static_cast<unsigned>(bytes.size()));
        zipCloseFileInZip(zip);
    }
    zipClose(zip, nullptr);
}

LaunchItem Entry(const std::string& name, const std::string& guid, const std::string& command) {
    return test::Entry(name).Short(name.substr(0, 2)).Guid(guid).Command(command);
}

TEST(ZipArchive, AFolderPacksWithItsTopFolderAndComesBackTheSame) {
    test::ScratchDir source("zipsrc"), target("zipdst"), archives("zips");
    // (Double-byte titles are covered natively: Wine here cannot create
    // files with such names, the glibc locale it would need is missing.)
    const std::string title = "Tools and more";
    const std::string top = source.File(title);
    CreateDirectoryA(top.c_str(), nullptr);
    CreateDirectoryA((top + "\\Data").c_str(), nullptr);
    CreateDirectoryA((top + "\\Empty").c_str(), nullptr);
    const std::string binary("\x00\x01\xFF\xC0 stored clipboard\x00", 21);
    test::WriteWholeFile(top + "\\" + title + ".clg", "885D48E4-F5A7-4DF9-BB33-5C86DEDDE3AF|Work|X");
    test::WriteWholeFile(top + "\\Data\\A.stx", binary);
    const std::string archive = archives.File("export.trn");
    ASSERT_TRUE(PackFolder(source.path(), title, archive));

    std::vector<std::string> names;
    ASSERT_TRUE(ListArchive(archive, names));
    std::sort(names.begin(), names.end());
    std::vector<std::string> expected = {title + "/" + title + ".clg", title + "/Data/", title + "/Data/A.stx",
                                         title + "/Empty/"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);

    ASSERT_EQ(UnpackArchive(archive, target.path()), UnpackResult::Unpacked);
    EXPECT_EQ(test::ReadWholeFile(target.File(title + "\\" + title + ".clg")), "885D48E4-F5A7-4DF9-BB33-5C86DEDDE3AF|Work|X");
    EXPECT_EQ(test::ReadWholeFile(target.File(title + "\\Data\\A.stx")), binary);
    EXPECT_TRUE(Exists(target.File(title + "\\Empty")));
}

TEST(ZipArchive, AnEntryThatWouldLeaveTheFolderRefusesTheWholeArchive) {
    test::ScratchDir archives("zipslip"), target("zipslipdst");
    const char* hostile[] = {"../escaped.txt", "T/../../escaped.txt", "T\\..\\..\\escaped.txt", "/escaped.txt",
                             "\\escaped.txt", "C:/escaped.txt", "T/Data/x.stx:stream", "T/.../escaped.txt",
                             "T/Data/COM1.stx", "T/nul"};
    for (const char* name : hostile) {
        SCOPED_TRACE(name);
        const std::string archive = archives.File("evil.trn");
        // A harmless entry first: it must not be written either.
        WriteZip(archive, {{"T/T.dat", "x"}, {name, "x"}});
        EXPECT_EQ(UnpackArchive(archive, target.path()), UnpackResult::UnsafeName);
        EXPECT_TRUE(FolderEntries(target.path()).empty());
        EXPECT_FALSE(Exists(archives.path() + "\\..\\escaped.txt"));
    }
}

// An entry written raw with the sizes it claims: a kilobyte that says it
// unpacks to gigabytes.
void WriteClaimingZip(const std::string& path, const std::vector<unsigned long long>& claimed) {
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    zip_fileinfo info = {};
    const std::string data(1000, '\x03');
    int n = 0;
    for (unsigned long long size : claimed) {
        const std::string name = "T/Data/bomb" + std::to_string(n++) + ".stx";
        zipOpenNewFileInZip2_64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 0, 1, 1);
        zipWriteInFileInZip(zip, data.data(), static_cast<unsigned>(data.size()));
        zipCloseFileInZipRaw64(zip, size, 0);
    }
    zipClose(zip, nullptr);
}

TEST(ZipArchive, ArchivesThatWouldUnpackToGigabytesAreRefusedBeforeWriting) {
    test::ScratchDir archives("zipbomb"), target("zipbombdst");
    WriteClaimingZip(archives.File("bomb.trn"), {900, 3ULL << 30});
    EXPECT_EQ(UnpackArchive(archives.File("bomb.trn"), target.path()), UnpackResult::UnsafeName);
    EXPECT_TRUE(FolderEntries(target.path()).empty()) << "nothing written";
    WriteClaimingZip(archives.File("small.trn"), {1000000, 1000000});  // small claims are read as usual
    EXPECT_NE(UnpackArchive(archives.File("small.trn"), target.path()), UnpackResult::UnsafeName);
}

TEST(ZipArchive, TruncatedOrCorruptArchivesAreUnreadable) {
    test::ScratchDir archives("zipbad"), target("zipbaddst");
    const std::string good = archives.File("good.trn");
    WriteZip(good, {{"T/T.dat", std::string(5000, 'a') + "some text that is stored"}});
    const std::string bytes = test::ReadWholeFile(good);

    test::WriteWholeFile(archives.File("cut.trn"), bytes.substr(0, bytes.size() / 2));
    EXPECT_EQ(UnpackArchive(archives.File("cut.trn"), target.path()), UnpackResult::Unreadable);
    EXPECT_TRUE(FolderEntries(target.path()).empty());

    std::string flipped = bytes;
    flipped[45] = static_cast<char>(flipped[45] ^ 0x55);  // inside the compressed data
    test::WriteWholeFile(archives.File("flipped.trn"), flipped);
    EXPECT_EQ(UnpackArchive(archives.File("flipped.trn"), target.path()), UnpackResult::Unreadable);

    test::WriteWholeFile(archives.File("text.trn"), "not an archive at all");
    EXPECT_EQ(UnpackArchive(archives.File("text.trn"), target.path()), UnpackResult::Unreadable);
    EXPECT_EQ(UnpackArchive(archives.File("missing.trn"), target.path()), UnpackResult::Unreadable);
}

// An installation folder with a data file, and an archive folder in which
// the user keeps things that share the archive's name.
struct ExchangeFixture : ::testing::Test {
    test::ScratchDir install{"exinst"}, user{"exuser"};
    std::string archive;

    void SetUp() override {
        CreateDirectoryA(install.File("Data").c_str(), nullptr);
        test::WriteWholeFile(install.File("Data\\AAAA.stx"), "clipboard A");
        test::WriteWholeFile(install.File("Data\\BBBB.stx"), "clipboard B");
        test::WriteWholeFile(install.File("Data\\CCCC.stx"), "clipboard C");
        archive = user.File("Tools.trn");
        // The user's own things beside the archive.
        CreateDirectoryA(user.File("Tools").c_str(), nullptr);
        test::WriteWholeFile(user.File("Tools\\mine.txt"), "the user's");
        test::WriteWholeFile(user.File("Tools.clg"), "user clg");
        test::WriteWholeFile(user.File("Tools.dat"), "user dat");
    }

    void ExpectUsersThingsUntouched() {
        EXPECT_EQ(test::ReadWholeFile(user.File("Tools\\mine.txt")), "the user's");
        EXPECT_EQ(FolderEntries(user.File("Tools")).size(), 1u);
        EXPECT_EQ(test::ReadWholeFile(user.File("Tools.clg")), "user clg");
        EXPECT_EQ(test::ReadWholeFile(user.File("Tools.dat")), "user dat");
    }

    // Exports one catalog with a clipboard entry and a composed entry; a third
    // entry was taken out again and carries nothing.
    bool Export() {
        CatalogTree tree;
        CatalogIndex index;
        ResetCatalogs(tree, index, "Exporting");
        ItemStore items;
        items.Append(Entry("Clip", "G1", install.File("Data\\AAAA.stx")));
        items.Append(Entry("+ Both", "G2", "a\r\nb^^^" + install.File("Data\\AAAA.stx") + "\r\n" +
                                               install.File("Data\\BBBB.stx") + "\r\n" + install.File("Data\\none.stx")));
        items.Append(Entry("Gone", "G3", install.File("Data\\CCCC.stx")));
        items.Remove(2);
        tree.root().AddChild("Work", "11111111-1111-1111-1111-111111111111|0,1");
        ExchangePipeline pipeline(Installation(install.path()), true);
        if (!pipeline.StageExport(archive, tree, items)) return false;
        const bool ok = pipeline.CopyAndPack();
        pipeline.Discard();
        return ok;
    }
};

TEST_F(ExchangeFixture, ExportWritesTheArchiveAndNothingElse) {
    const auto stagingBefore = StagingFolders();
    ASSERT_TRUE(Export());
    std::vector<std::string> names;
    ASSERT_TRUE(ListArchive(archive, names));
    std::sort(names.begin(), names.end());
    const std::vector<std::string> expected = {"Tools/Data/", "Tools/Data/AAAA.stx", "Tools/Data/BBBB.stx",
                                               "Tools/Tools.clg", "Tools/Tools.dat"};
    EXPECT_EQ(names, expected);
    ExpectUsersThingsUntouched();
    EXPECT_EQ(StagingFolders(), stagingBefore);
    // Only the archive was added beside the user's things (no temporary file left).
    EXPECT_EQ(FolderEntries(user.path()).size(), 4u);

    // Exporting again replaces the archive.
    const std::string first = test::ReadWholeFile(archive);
    test::WriteWholeFile(archive, "an older archive");
    ASSERT_TRUE(Export());
    EXPECT_NE(test::ReadWholeFile(archive), "an older archive");
    EXPECT_EQ(FolderEntries(user.path()).size(), 4u);
}

TEST_F(ExchangeFixture, AFailedExportLeavesTheExistingArchiveAsItWas) {
    test::WriteWholeFile(archive, "an older archive");
    SetFileAttributesA(archive.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(Export());
    SetFileAttributesA(archive.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(test::ReadWholeFile(archive), "an older archive");
    EXPECT_EQ(FolderEntries(user.path()).size(), 4u);  // no partial archive beside it
    ExpectUsersThingsUntouched();
}

TEST_F(ExchangeFixture, LoadingReadsTheArchiveInItsOwnStagingFolder) {
    ASSERT_TRUE(Export());
    const auto stagingBefore = StagingFolders();
    test::ScratchDir other("exother");
    ExchangePipeline pipeline(Installation(other.path()), false);
    CatalogTree tree;
    CatalogIndex index;
    ResetCatalogs(tree, index, "Importing");
    ItemStore table;
    ASSERT_EQ(pipeline.Load(archive, table, index), LoadOutcome::Loaded);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_TRUE(table[2].IsRemoved()) << "the entry taken out again is a tombstone";
    ASSERT_EQ(tree.root().children.size(), 1u);
    EXPECT_EQ(tree.root().children[0]->text, "Work");
    // The clipboard data now lives in this installation's data folder.
    EXPECT_EQ(table[0].ExePath, other.File("Data\\AAAA.stx"));
    EXPECT_NE(table[1].ExePath.find(other.File("Data\\BBBB.stx")), std::string::npos);
    EXPECT_NE(table[1].ExePath.find(install.File("Data\\none.stx")), std::string::npos);  // not carried: as it was
    EXPECT_EQ(StagingFolders().size(), stagingBefore.size() + 1);
    ExpectUsersThingsUntouched();
    // Loading again unpacks afresh into a folder of its own; the first one
    // stays (entries moved in from it still bring its files) until the end.
    ASSERT_EQ(pipeline.Load(archive, table, index), LoadOutcome::Loaded);
    EXPECT_EQ(StagingFolders().size(), stagingBefore.size() + 2);
    pipeline.Discard();
    EXPECT_EQ(StagingFolders(), stagingBefore);
    ExpectUsersThingsUntouched();
}

TEST_F(ExchangeFixture, BadArchivesLoadNothingAndLeaveNoStagingFolder) {
    const auto stagingBefore = StagingFolders();
    ExchangePipeline pipeline(Installation(install.path()), false);
    CatalogTree tree;
    CatalogIndex index;
    ResetCatalogs(tree, index, "Importing");
    ItemStore table;
    WriteZip(archive, {{"Tools/Tools.dat", std::string(1, '\0')}, {"Tools/../../x.txt", "x"}});
    EXPECT_EQ(pipeline.Load(archive, table, index), LoadOutcome::UnsafeName);
    // A T.dat whose last record is cut short, or no T.clg.
    ItemStore two;
    two.Append(Entry("One", "G1", "c:\\one.exe"));
    two.Append(Entry("Two", "G2", "c:\\two.exe"));
    const std::string dat = EncodeItemFile(two);
    WriteZip(archive, {{"Tools/Tools.dat", dat.substr(0, dat.size() - 3)}, {"Tools/Tools.clg", ""}});
    EXPECT_EQ(pipeline.Load(archive, table, index), LoadOutcome::ContentMissing);
    WriteZip(archive, {{"Tools/Tools.dat", dat}});
    EXPECT_EQ(pipeline.Load(archive, table, index), LoadOutcome::ContentMissing);
    test::WriteWholeFile(archive, "PK\x03\x04 and then nothing");
    EXPECT_EQ(pipeline.Load(archive, table, index), LoadOutcome::Unreadable);
    EXPECT_EQ(pipeline.Load(user.File("missing.trn"), table, index), LoadOutcome::NoFile);
    EXPECT_TRUE(tree.root().children.empty());
    EXPECT_EQ(StagingFolders(), stagingBefore);
    ExpectUsersThingsUntouched();

    // A renamed archive still holds its one folder: it loads from there.
    WriteZip(archive, {{"Old/Old.dat", dat}, {"Old/Old.clg", ""}, {"Old/Data/", ""}});
    EXPECT_EQ(pipeline.Load(archive, table, index), LoadOutcome::Loaded);
    EXPECT_EQ(table.size(), 2u);
}

// The installation's tables as the exchange dialog keeps them.
struct ImportTarget {
    ItemStore table;
    CatalogTree tree;
    CatalogIndex index;
    std::unordered_set<size_t> received;
    ImportTarget() { ResetCatalogs(tree, index, "All"); }
    void Take(const ItemStore& loaded) {  // every loaded entry moved in
        for (const LaunchItem& item : loaded.items()) received.insert(table.Append(item));
    }
};

TEST_F(ExchangeFixture, ImportNeverChangesADataFileAnExistingEntryUses) {
    ASSERT_TRUE(Export());
    test::ScratchDir other("eximport");
    CreateDirectoryA(other.File("Data").c_str(), nullptr);
    test::WriteWholeFile(other.File("Data\\AAAA.stx"), "this installation's own A");
    test::WriteWholeFile(other.File("Data\\BBBB.stx"), "clipboard B");  // the same contents
    ExchangePipeline pipeline(Installation(other.path()), false);
    CatalogTree tree;
    CatalogIndex index;
    ResetCatalogs(tree, index, "Importing");
    ItemStore loaded;
    ASSERT_EQ(pipeline.Load(archive, loaded, index), LoadOutcome::Loaded);
    ImportTarget target;
    target.table.Append(Entry("Mine", "G9", other.File("Data\\AAAA.stx")));
    target.Take(loaded);
    ASSERT_EQ(pipeline.SaveImport(target.table, target.received, target.tree), ImportSave::Saved);
    EXPECT_EQ(test::ReadWholeFile(other.File("Data\\AAAA.stx")), "this installation's own A");
    EXPECT_EQ(target.table[0].ExePath, other.File("Data\\AAAA.stx")) << "the existing entry keeps its file";
    // The imported A comes in under a name of its own; B is the same file.
    const std::string newA = target.table[1].ExePath.str();
    EXPECT_NE(newA, other.File("Data\\AAAA.stx"));
    EXPECT_EQ(test::ReadWholeFile(newA), "clipboard A");
    EXPECT_NE(target.table[2].ExePath.find(newA), std::string::npos);
    EXPECT_NE(target.table[2].ExePath.find(other.File("Data\\BBBB.stx")), std::string::npos);
    const std::vector<std::string> files = FolderEntries(other.File("Data"));
    EXPECT_EQ(files.size(), 3u) << "no backups: " << ::testing::PrintToString(files);
    const ItemStore saved = LoadItemFile(other.File("Shortcut2.dat"));
    ASSERT_EQ(saved.size(), 4u);  // the tombstone travels too: indices stay
    EXPECT_EQ(saved[1].ExePath, newA);
}

TEST_F(ExchangeFixture, EntriesMovedInBeforeASecondLoadStillBringTheirFiles) {
    ASSERT_TRUE(Export());
    test::ScratchDir other("extwoloads"), more("exsecond");
    ExchangePipeline pipeline(Installation(other.path()), false);
    CatalogTree tree;
    CatalogIndex index;
    ResetCatalogs(tree, index, "Importing");
    ItemStore first, second;
    ASSERT_EQ(pipeline.Load(archive, first, index), LoadOutcome::Loaded);
    ImportTarget target;
    target.Take(first);
    // Then another archive, and one that fails.
    WriteZip(more.File("Other.trn"), {{"Other/Other.dat", EncodeItemFile(ItemStore())}, {"Other/Other.clg", ""}});
    ASSERT_EQ(pipeline.Load(more.File("Other.trn"), second, index), LoadOutcome::Loaded);
    test::WriteWholeFile(more.File("Broken.trn"), "not an archive");
    ASSERT_EQ(pipeline.Load(more.File("Broken.trn"), second, index), LoadOutcome::Unreadable);
    ASSERT_EQ(pipeline.SaveImport(target.table, target.received, target.tree), ImportSave::Saved);
    EXPECT_EQ(test::ReadWholeFile(other.File("Data\\AAAA.stx")), "clipboard A");
    EXPECT_EQ(test::ReadWholeFile(other.File("Data\\BBBB.stx")), "clipboard B");
    pipeline.Discard();
}

TEST_F(ExchangeFixture, AFailedImportLeavesBothFilesAsTheyWere) {
    ASSERT_TRUE(Export());
    test::ScratchDir other("eximpfail");
    CreateDirectoryA(other.File("Data").c_str(), nullptr);
    ItemStore before;
    before.Append(Entry("Mine", "G9", "c:\\mine.exe"));
    ASSERT_TRUE(SaveItemFile(other.File("Shortcut2.dat"), before));
    test::WriteWholeFile(other.File("Shortcut2.clg"), "catalogs before");
    const std::string itemsBefore = test::ReadWholeFile(other.File("Shortcut2.dat"));

    ExchangePipeline pipeline(Installation(other.path()), false);
    CatalogTree tree;
    CatalogIndex index;
    ResetCatalogs(tree, index, "Importing");
    ItemStore loaded;
    ASSERT_EQ(pipeline.Load(archive, loaded, index), LoadOutcome::Loaded);
    ImportTarget target;
    target.table = before;
    target.Take(loaded);
    target.tree.root().AddChild("Imported", "22222222-2222-2222-2222-222222222222|1,2");
    // Another program holds the item file, then the catalog file, open without sharing.
    for (const char* held : {"Shortcut2.dat", "Shortcut2.clg"}) {
        SCOPED_TRACE(held);
        HANDLE file = CreateFileA(other.File(held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        ItemStore table = target.table;
        EXPECT_EQ(pipeline.SaveImport(table, target.received, target.tree), ImportSave::NothingChanged);
        CloseHandle(file);
        EXPECT_EQ(test::ReadWholeFile(other.File("Shortcut2.dat")), itemsBefore);
        EXPECT_EQ(test::ReadWholeFile(other.File("Shortcut2.clg")), "catalogs before");
        EXPECT_TRUE(FolderEntries(other.File("Data")).empty()) << "the copied data files were taken back";
    }
}

TEST_F(ExchangeFixture, ADamagedCatalogFileInsideAnArchiveIsRefused) {
    ItemStore two;
    two.Append(Entry("One", "G1", "c:\\one.exe"));
    WriteZip(archive, {{"Tools/Tools.dat", EncodeItemFile(two)},
                       {"Tools/Tools.clg", "885D48E4-F5A7-4DF9-BB33-5C86DEDDE3AF|Work|NOT-A-NODE-ID|0"}});
    ExchangePipeline pipeline(Installation(install.path()), false);
    CatalogTree tree;
    CatalogIndex index;
    ResetCatalogs(tree, index, "Importing");
    ItemStore table;
    EXPECT_EQ(pipeline.Load(archive, table, index), LoadOutcome::ContentMissing);
    EXPECT_TRUE(tree.root().children.empty()) << "nothing of it taken";
}

// An import killed between copying its data files and saving the item
// file: the next start removes the copies no entry names, and nothing else.
TEST(Leftovers, AKilledImportsDataFilesGoUnlessAnEntryNamesThem) {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    test::ScratchDir install("exkilled");
    CreateDirectoryA(install.File("Data").c_str(), nullptr);
    const std::string named = install.File("Data\\AAAAAAAA-1111-4222-8333-444455556666.stx");
    const std::string orphan = install.File("Data\\BBBBBBBB-1111-4222-8333-444455556666.stx");
    const std::string users = install.File("Data\\mine.stx");
    for (const std::string& file : {named, orphan, users}) test::WriteWholeFile(file, "clipboard");
    ItemStore store;
    LaunchItem entry;
    entry.Name = "kept";
    entry.Status = "0";
    entry.ExePath = named;
    store.Append(entry);
    ASSERT_TRUE(SaveItemFile(install.File("Shortcut2.dat"), store));
    const std::string dead = std::string(temp) + "Tavrolinex-7ffffff1-1-0";
    CreateDirectoryA(dead.c_str(), nullptr);
    test::WriteWholeFile(dead + "\\tavrolinex.staging", "");
    test::WriteWholeFile(dead + "\\imported-data.txt", install.File("Shortcut2.dat") + "\r\n" + named + "\r\n" + orphan + "\r\n");
    RemoveLeftoverStagingFolders();
    EXPECT_FALSE(Exists(orphan)) << "no entry names it: it goes";
    EXPECT_TRUE(Exists(named)) << "the saved item file names it";
    EXPECT_TRUE(Exists(users)) << "a file the note does not list stays";
    EXPECT_FALSE(Exists(dead));
}

TEST(Leftovers, AStagingFolderThatCannotBeEmptiedKeepsItsMarker) {
    StagingFolder staging;
    ASSERT_TRUE(staging.Create());
    const std::string folder = staging.path();
    const std::string held = folder + "\\clip.stx";
    test::WriteWholeFile(held, "a stored clipboard content");
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    staging.Remove();
    EXPECT_TRUE(Exists(folder + "\\tavrolinex.staging")) << "the next start can still tell it as this program's";
    CloseHandle(holder);
    RemoveFolderTree(folder);
}

TEST(Leftovers, TheNextStartRemovesWhatADeadRunLeftAndNothingElse) {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string base = temp;
    test::ScratchDir user("exleft");
    // A dead process's staging folder with its marker and a noted partial archive.
    const std::string dead = base + "Tavrolinex-7ffffff0-1-0";
    CreateDirectoryA(dead.c_str(), nullptr);
    test::WriteWholeFile(dead + "\\tavrolinex.staging", "");
    test::WriteWholeFile(dead + "\\secret.stx", "a password");
    const std::string partial = user.File("Export.trn.tmp~" + std::to_string(0x7ffffff0));
    test::WriteWholeFile(partial, "half an archive");
    test::WriteWholeFile(dead + "\\partial-archive.txt", partial);
    // Folders of the same prefix that are not this program's to remove.
    const std::string foreign = base + "Tavrolinex-other";
    const std::string unmarked = base + "Tavrolinex-7ffffff0-2-0";
    const std::string mine = base + "Tavrolinex-" + [] { char b[16]; std::snprintf(b, sizeof b, "%lx", GetCurrentProcessId()); return std::string(b); }() + "-3-0";
    for (const std::string& folder : {foreign, unmarked, mine}) CreateDirectoryA(folder.c_str(), nullptr);
    test::WriteWholeFile(mine + "\\tavrolinex.staging", "");
    test::WriteWholeFile(user.File("Export.trn"), "the user's archive");

    EXPECT_GE(RemoveLeftoverStagingFolders(), 1u);
    EXPECT_FALSE(Exists(dead));
    EXPECT_FALSE(Exists(partial));
    EXPECT_TRUE(Exists(foreign) && Exists(unmarked) && Exists(mine));
    EXPECT_EQ(test::ReadWholeFile(user.File("Export.trn")), "the user's archive");
    for (const std::string& folder : {foreign, unmarked, mine}) RemoveFolderTree(folder);
}

}  // namespace
}  // namespace tvx::win
