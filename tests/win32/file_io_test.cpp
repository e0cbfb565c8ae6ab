#include "data/catalog_file.h"
#include "data/item_file.h"
#include "data/win32/file_io.h"
#include "data/win32/library.h"
#include "tests/win32/test_support.h"

#include <gtest/gtest.h>

namespace tvx::win {
namespace {

ItemStore Items(std::initializer_list<const char*> names) {
    ItemStore store;
    for (const char* n : names) {
        LaunchItem it;
        it.Name = n;
        it.Status = "0";
        it.ExePath = std::string("c:\\") + n + ".exe";
        store.Append(std::move(it));
    }
    return store;
}

size_t FilesIn(const std::string& dir) {
    size_t n = 0;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return n;
}

TEST(ItemFileOnDisk, SaveLoadAndAppendKeepTheFormat) {
    test::ScratchDir dir("items");
    const std::string path = dir.File("Shortcut2.dat");
    ASSERT_TRUE(SaveItemFile(path, ItemStore()));
    EXPECT_EQ(test::ReadWholeFile(path), std::string(1, '\0'));
    EXPECT_TRUE(LoadItemFile(path).empty());

    ItemStore store = Items({"one", "two"});
    ASSERT_TRUE(SaveItemFile(path, store));
    EXPECT_EQ(test::ReadWholeFile(path), EncodeItemFile(store));
    size_t added = store.Append(Items({"three"})[0]);
    ASSERT_TRUE(AppendItemRecord(path, store, added));
    const std::string bytes = test::ReadWholeFile(path);
    EXPECT_EQ(bytes.substr(100, 16), "0000000000000002") << "an append leaves the header count alone";
    ItemStore loaded = LoadItemFile(path);
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_EQ(loaded[2].Name, "three");
    EXPECT_EQ(FilesIn(dir.path()), 1u) << "no temporary file stays behind";
}

TEST(ItemFileOnDisk, AppendingToAMissingOrShortFileSavesEverything) {
    test::ScratchDir dir("append");
    const std::string path = dir.File("Shortcut2.dat");
    ItemStore store = Items({"a", "b"});
    ASSERT_TRUE(AppendItemRecord(path, store, 1));
    EXPECT_EQ(test::ReadWholeFile(path), EncodeItemFile(store));
    test::WriteWholeFile(path, std::string(1, '\x01'));
    ASSERT_TRUE(AppendItemRecord(path, store, 1));
    EXPECT_EQ(LoadItemFile(path).size(), 2u);
}

TEST(ItemFileOnDisk, TheEditingMarkIsOneByteAtOffsetZero) {
    test::ScratchDir dir("mark");
    const std::string path = dir.File("Shortcut2.dat");
    ASSERT_TRUE(WriteEditingMark(path, 1));
    EXPECT_EQ(test::ReadWholeFile(path), std::string(1, '\x01')) << "creates a one-byte file when none exists";
    ItemStore store = Items({"x"});
    ASSERT_TRUE(SaveItemFile(path, store));
    ASSERT_TRUE(WriteEditingMark(path, 1));
    std::string bytes = test::ReadWholeFile(path);
    EXPECT_EQ(bytes[0], '\x01');
    bytes[0] = '\0';
    EXPECT_EQ(bytes, EncodeItemFile(store)) << "nothing but the mark changed";
    EXPECT_EQ(LoadItemFile(path).size(), 1u);
}

TEST(ItemFileOnDisk, AFailedReplaceLeavesTheOldFileWholeAndSaysSo) {
    test::ScratchDir dir("interrupted");
    const std::string path = dir.File("Shortcut2.dat");
    ItemStore old = Items({"keep", "these"});
    ASSERT_TRUE(SaveItemFile(path, old));
    {
        // Another program holds the file open without letting it be replaced,
        // so the new content is written but cannot take the old one's place.
        HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(holder, INVALID_HANDLE_VALUE);
        EXPECT_FALSE(SaveItemFile(path, Items({"new"}))) << "a failed save is reported as a failure";
        CloseHandle(holder);
    }
    EXPECT_EQ(test::ReadWholeFile(path), EncodeItemFile(old));
    EXPECT_EQ(LoadItemFile(path).size(), 2u);
    EXPECT_EQ(FilesIn(dir.path()), 1u) << "the temporary file is removed";
    EXPECT_FALSE(SaveItemFile(dir.File("no such folder\\Shortcut2.dat"), old));
}

// A scanner or indexer holds the file for a moment, as they do with new
// files on Windows: the save waits it out instead of failing.
struct BriefHold {
    std::string path;
    HANDLE opened;
};
DWORD WINAPI HoldBriefly(void* p) {
    auto* hold = static_cast<BriefHold*>(p);
    HANDLE holder = CreateFileA(hold->path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    SetEvent(hold->opened);
    Sleep(200);
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
    return 0;
}

TEST(ItemFileOnDisk, AFileHeldForAMomentIsStillReplaced) {
    test::ScratchDir dir("held_briefly");
    const std::string path = dir.File("Shortcut2.dat");
    ASSERT_TRUE(SaveItemFile(path, Items({"old"})));
    BriefHold hold{path, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HANDLE thread = CreateThread(nullptr, 0, HoldBriefly, &hold, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(hold.opened, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(SaveItemFile(path, Items({"new", "entries"}))) << "held 200 ms: the save succeeds";
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    CloseHandle(hold.opened);
    EXPECT_EQ(LoadItemFile(path).size(), 2u);
    EXPECT_EQ(FilesIn(dir.path()), 1u);
}

// A damaged file that cannot be copied (another program holds it without
// sharing): nothing may write over it, also once it is free again, until a
// full save has made its copy first.
TEST(ItemFileOnDisk, ADamagedFileWithoutACopyIsNeverWrittenOver) {
    test::ScratchDir dir("guarded");
    const std::string path = dir.File("Shortcut2.dat");
    std::string damaged = EncodeItemFile(Items({"One", "Two"}));
    damaged.resize(damaged.size() - 5);
    test::WriteWholeFile(path, damaged);
    const ItemStore read = LoadItemFile(path);
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_EQ(KeepDamagedCopyOrGuard(path), "");
    CloseHandle(held);
    EXPECT_FALSE(AppendItemRecord(path, read, 0));
    EXPECT_FALSE(WriteEditingMark(path, 0x01));
    EXPECT_EQ(test::ReadWholeFile(path), damaged) << "byte for byte as it was";
    EXPECT_EQ(FilesIn(dir.path()), 1u);
    // A full save makes the copy first and then goes ahead.
    EXPECT_TRUE(SaveItemFile(path, read));
    EXPECT_EQ(FilesIn(dir.path()), 2u) << "the file and its dated copy";
    EXPECT_TRUE(AppendItemRecord(path, read, 0));
}

TEST(CatalogFileOnDisk, SaveLoadAndAnEmptyTreeLeavesNoFile) {
    test::ScratchDir dir("catalogs");
    const std::string path = dir.File("Shortcut2.clg");
    CatalogTree tree("All");
    tree.root().AddChild("Work", "AAAAAAAA-0000-0000-0000-000000000001|0,1")->AddChild("Sub", "BBBBBBBB-0000-0000-0000-000000000002");
    ASSERT_TRUE(SaveCatalogFile(path, tree));
    EXPECT_EQ(test::ReadWholeFile(path), EncodeCatalogFile(tree));
    CatalogTree back("All");
    CatalogIndex index;
    ResetCatalogs(back, index, "All");
    LoadCatalogFile(path, index);
    ASSERT_EQ(back.root().children.size(), 1u);
    EXPECT_EQ(back.root().children[0]->children[0]->text, "Sub");
    ASSERT_TRUE(SaveCatalogFile(path, CatalogTree("All")));
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    LoadCatalogFile(path, index);  // a missing file adds nothing
    EXPECT_EQ(index.size(), 3u);
}

// Another program holds the catalog file past the short wait while the
// program loads it: that is no missing file. The library keeps the tree it
// had, and nothing writes the file (a save of a tree without the user's
// catalogs would lose them) until a later load has read it.
TEST(CatalogFileOnDisk, AHeldFileIsNotTakenForMissingNorWrittenOverUntilRead) {
    test::ScratchDir dir("held_catalogs");
    Library library{Installation(dir.path())};
    const std::string path = dir.File("Shortcut2.clg");
    CatalogTree tree("All");
    tree.root().AddChild("Work", "AAAAAAAA-0000-0000-0000-000000000001|0");
    ASSERT_TRUE(SaveCatalogFile(path, tree));
    ASSERT_TRUE(library.LoadCatalogs("All"));
    const std::string saved = test::ReadWholeFile(path);
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::string bytes;
    EXPECT_EQ(ReadStoredFile(dir.File("none.clg"), bytes), FileRead::Missing);
    EXPECT_FALSE(library.LoadCatalogs("All"));
    EXPECT_TRUE(library.stale());
    ASSERT_EQ(library.tree().root().children.size(), 1u) << "the tree it had";
    CloseHandle(held);
    EXPECT_FALSE(SaveCatalogFile(path, CatalogTree("All"))) << "not read since it was held";
    EXPECT_EQ(test::ReadWholeFile(path), saved);
    ASSERT_TRUE(library.LoadCatalogs("All"));
    EXPECT_FALSE(library.stale());
    EXPECT_TRUE(SaveCatalogFile(path, library.tree()));
}

TEST(FileQueries, AddressesCountAsExistingAndMissingFilesHaveSizeZero) {
    test::ScratchDir dir("query");
    EXPECT_TRUE(PathExists("http://example.com/page"));
    EXPECT_FALSE(PathExists(dir.File("missing.txt")));
    EXPECT_TRUE(PathExists(dir.path()));
    EXPECT_EQ(FileSizeOf(dir.File("missing.txt")), 0u);
    test::WriteWholeFile(dir.File("five.txt"), "12345");
    EXPECT_EQ(FileSizeOf(dir.File("five.txt")), 5u);
}

}  // namespace
}  // namespace tvx::win
