// What the program finds out about a damaged item or catalog file: the
// decoders tell a file read to its end from one that was cut or garbled, and
// member lists lose the indices of records that are gone.
#include "data/catalog_file.h"
#include "data/item_file.h"
#include "tests/support/item_builder.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

ItemStore Store(int n) {
    ItemStore store;
    for (int i = 0; i < n; ++i)
        store.Append(test::Entry("Entry " + std::to_string(i)).Guid("G" + std::to_string(i)).Command("c:\\e" + std::to_string(i) + ".exe"));
    return store;
}

bool ItemsWhole(const std::string& bytes) {
    bool whole = false;
    DecodeItemFile(bytes, &whole);
    return whole;
}

TEST(DamagedItemFile, WholeFilesAreToldFromCutAndGarbledOnes) {
    const std::string three = EncodeItemFile(Store(3));
    EXPECT_TRUE(ItemsWhole(three));
    EXPECT_TRUE(ItemsWhole(EncodeItemFile(Store(0))));
    EXPECT_TRUE(ItemsWhole(""));
    EXPECT_TRUE(ItemsWhole(std::string(1, '\x01')));  // the editing mark of a new installation
    // Appends leave the count behind: still whole.
    ItemStore four = Store(4);
    EXPECT_TRUE(ItemsWhole(three + EncodeItemRecord(four[3])));
    // Cut anywhere: in the header, in a record, at a record's end with the count ahead.
    EXPECT_FALSE(ItemsWhole(three.substr(0, 50)));
    EXPECT_FALSE(ItemsWhole(three.substr(0, three.size() - 1)));
    EXPECT_FALSE(ItemsWhole(EncodeItemFile(Store(4)).substr(0, three.size())));
    EXPECT_FALSE(ItemsWhole(three.substr(0, kItemFileHeaderSize)));
    // A count larger than what the file holds.
    std::string counted = three;
    counted.replace(100, 16, "0000000000000009");
    EXPECT_FALSE(ItemsWhole(counted));
    bool whole = true;
    EXPECT_EQ(DecodeItemFile(counted, &whole).size(), 3u);  // what could be read stays readable
    // Garbage after the header.
    EXPECT_FALSE(ItemsWhole(three.substr(0, kItemFileHeaderSize) + "9999 not a record"));
    // Bytes that hold no length end what can be read: they are not taken
    // for records of empty texts.
    const std::string garbled = three + std::string(30, '\0') + std::string(500, '\xff');
    whole = true;
    EXPECT_EQ(DecodeItemFile(garbled, &whole).size(), 3u);
    EXPECT_FALSE(whole);
    EXPECT_EQ(DecodeItemFile(std::string(30, '\0') + std::string(500, '\xff')).size(), 0u);
}

bool CatalogsWhole(const std::string& bytes, size_t* count = nullptr) {
    CatalogTree tree;
    CatalogIndex index;
    ResetCatalogs(tree, index, "All");
    bool whole = false;
    DecodeCatalogFile(bytes, index, NodeDataMode::Full, &whole);
    if (count) *count = tree.CatalogCount();
    return whole;
}

TEST(DamagedCatalogFile, WholeFilesAreToldFromCutAndGarbledOnes) {
    CatalogTree tree;
    CatalogNode* work = tree.root().AddChild("Work", "11111111-1111-1111-1111-111111111111|0,1");
    work->AddChild("Sub", "22222222-2222-2222-2222-222222222222");
    tree.root().AddChild("Games", "33333333-3333-3333-3333-333333333333|2");
    const std::string text = EncodeCatalogFile(tree);
    size_t count = 0;
    EXPECT_TRUE(CatalogsWhole(text, &count));
    EXPECT_EQ(count, 3u);
    EXPECT_TRUE(CatalogsWhole(""));
    EXPECT_FALSE(CatalogsWhole(text.substr(0, text.size() - 5), &count));  // cut inside the last NodeID
    EXPECT_EQ(count, 3u);  // every record is still read, the cut one too
    std::string withNul = text;
    withNul[10] = '\0';
    EXPECT_FALSE(CatalogsWhole(withNul));
    EXPECT_FALSE(CatalogsWhole("99999999-9999-9999-9999-999999999999|Orphan|44444444-4444-4444-4444-444444444444\\"));
    EXPECT_FALSE(CatalogsWhole("just some text"));
    EXPECT_FALSE(CatalogsWhole(text + "|no parent\\"));
    // A NodeID of 36 characters that is no GUID text is no record of this
    // program's (one holding the display-only leaf marker would be dropped
    // at the next save: found by the catalog fuzzer).
    const std::string root(kRootCatalogId);
    EXPECT_FALSE(CatalogsWhole(root + "|Odd|AAAAAAAA-TempItemNode-000000000000000"));
    EXPECT_TRUE(CatalogsWhole(root + "|Lower case|aaaaaaaa-bbbb-cccc-dddd-eeeeeeeeeeee|1"));
}

TEST(DamagedItemFile, MembersOfLostRecordsLeaveTheCatalogs) {
    CatalogTree tree;
    CatalogNode* work = tree.root().AddChild("Work", "W|0,5,2,9");
    work->AddChild("Sub", "S|7");
    tree.root().AddChild("Bare", "B");
    tree.root().AddChild("Fine", "F|1,2");
    EXPECT_EQ(DropMembersFrom(tree, 5), 3u);
    EXPECT_EQ(work->nodeData, "W|0,2");
    EXPECT_EQ(work->children[0]->nodeData, "S");
    EXPECT_EQ(tree.root().children[1]->nodeData, "B");
    EXPECT_EQ(tree.root().children[2]->nodeData, "F|1,2");
    EXPECT_EQ(DropMembersFrom(tree, 5), 0u);
}

}  // namespace
}  // namespace tvx
