#include "data/catalog_file.h"
#include "data/item_model.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

const std::string kRoot(kRootCatalogId);
const std::string kA = "AAAAAAAA-0000-0000-0000-000000000001";
const std::string kB = "BBBBBBBB-0000-0000-0000-000000000002";
const std::string kC = "CCCCCCCC-0000-0000-0000-000000000003";

struct Loaded {
    CatalogTree tree;
    CatalogIndex index;
};
std::unique_ptr<Loaded> Load(std::string_view text) {
    auto l = std::make_unique<Loaded>();
    ResetCatalogs(l->tree, l->index, "All");
    DecodeCatalogFile(text, l->index);
    return l;
}

TEST(CatalogFile, TheExampleTreeIsWrittenInPreOrderWithoutATrailingSeparator) {
    CatalogTree tree("All");
    CatalogNode* a = tree.root().AddChild("A", kA + "|0,4");
    a->AddChild("B", kB);
    EXPECT_EQ(EncodeCatalogFile(tree), kRoot + "|A|" + kA + "|0,4\\" + kA + "|B|" + kB);

    CatalogTree work("All");
    work.root().AddChild("Work", kC);
    EXPECT_EQ(EncodeCatalogFile(work), kRoot + "|Work|" + kC);
    EXPECT_EQ(EncodeCatalogFile(CatalogTree("All")), "");
}

TEST(CatalogFile, LoadingRebuildsNodesDataAndTheIndex) {
    auto l = Load(kRoot + "|A|" + kA + "|2,5\\" + kA + "|B|" + kB + "\\" + kRoot + "|C|" + kC);
    const CatalogNode& root = l->tree.root();
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(root.children[0]->text, "A");
    EXPECT_EQ(root.children[0]->nodeData, kA + "|2,5");
    ASSERT_EQ(root.children[0]->children.size(), 1u);
    EXPECT_EQ(root.children[0]->children[0]->nodeData, kB);
    EXPECT_EQ(root.children[1]->text, "C");
    EXPECT_EQ(l->index.size(), 4u);
    EXPECT_EQ(l->index.IdAt(0), kRoot);
    EXPECT_EQ(l->index.NodeOf(kB), root.children[0]->children[0].get());
    EXPECT_EQ(l->index.Find(kB.substr(0, 35) + "x"), -1);
}

TEST(CatalogFile, UnknownParentsAreDroppedWithTheirSubtreeLaterRecordsStay) {
    const std::string unknown = "99999999-0000-0000-0000-000000000000";
    auto l = Load(unknown + "|Lost|" + kA + "\\" + kA + "|LostChild|" + kB + "\\" + kRoot + "|Kept|" + kC);
    ASSERT_EQ(l->tree.root().children.size(), 1u);
    EXPECT_EQ(l->tree.root().children[0]->text, "Kept");
    EXPECT_EQ(l->index.NodeOf(kA), nullptr);
}

TEST(CatalogFile, FieldCountsDecideTheNodeData) {
    auto l = Load(kRoot + "|Two\\" + kRoot + "|Three|" + kA + "\\" + kRoot + "|Five|" + kB + "|1,2|extra");
    const auto& c = l->tree.root().children;
    ASSERT_EQ(c.size(), 3u);
    EXPECT_EQ(c[0]->nodeData, "") << "a two-field record has no NodeData and no index entry";
    EXPECT_EQ(c[1]->nodeData, kA);
    EXPECT_EQ(c[2]->nodeData, kB + "|1,2");
    EXPECT_EQ(l->index.size(), 3u);
}

TEST(CatalogFile, EmptyParentEndsLoadingAndEmptyRecordsAreSkipped) {
    auto l = Load(kRoot + "|A|" + kA + "\\\\\\" + kRoot + "|B|" + kB + "\\|C|" + kC + "\\" + kRoot + "|D|x");
    ASSERT_EQ(l->tree.root().children.size(), 2u);
    EXPECT_EQ(l->tree.root().children[1]->text, "B");
}

TEST(CatalogFile, ParentComparisonIgnoresCaseButLookupDoesNot) {
    std::string lowerA = kA;
    for (char& ch : lowerA) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    // The second record's parent differs from the last parent only in case:
    // it is taken as the same parent without a lookup.
    auto l = Load(kA.substr(0, 0) + kRoot + "|A|" + kA + "\\" + kA + "|B|" + kB + "\\" + lowerA + "|C|" + kC);
    ASSERT_EQ(l->tree.root().children.size(), 1u);
    EXPECT_EQ(l->tree.root().children[0]->children.size(), 2u);
    // Alone, the lower-case id is unknown.
    auto alone = Load(kRoot + "|A|" + kA + "\\" + lowerA + "|C|" + kC);
    EXPECT_TRUE(alone->tree.root().children[0]->children.empty());
}

TEST(CatalogFile, DisplayOnlyItemLeavesAreNeverWritten) {
    CatalogTree with("All"), without("All");
    CatalogNode* a = with.root().AddChild("A", kA + "|1");
    a->AddChild("item", "TempItemNode|1")->AddChild("under", kC);
    a->AddChild("B", kB);
    CatalogNode* a2 = without.root().AddChild("A", kA + "|1");
    a2->AddChild("B", kB);
    EXPECT_EQ(EncodeCatalogFile(with), EncodeCatalogFile(without));
}

TEST(CatalogFile, TextEndsAtTheFirstNul) {
    std::string text = kRoot + "|A|" + kA + "\\" + kRoot + "|B|" + kB;
    text[text.size() - 10] = '\0';
    auto l = Load(text);
    ASSERT_EQ(l->tree.root().children.size(), 2u);
    EXPECT_EQ(l->tree.root().children[1]->nodeData, kB.substr(0, kB.size() - 10));
}

TEST(CatalogNames, SeparatorsCanNeverReachTheFile) {
    EXPECT_EQ(SanitizeCatalogName("a|b\\c"), "a_b_c");
    EXPECT_EQ(SanitizeCatalogName("\xBC\xC7"), "\xBC\xC7");
    // A GBK character whose second byte is "|" or "\" is replaced whole.
    EXPECT_EQ(SanitizeCatalogName("x\x81\x7Cy\x95\x5C"), "x_y_");
    EXPECT_TRUE(IsValidCatalogName("Work"));
    EXPECT_FALSE(IsValidCatalogName("Tools|Old"));

    CatalogTree tree("All");
    tree.root().AddChild("Bad|Name\\", kA);
    auto l = Load(EncodeCatalogFile(tree));
    ASSERT_EQ(l->tree.root().children.size(), 1u);
    EXPECT_EQ(l->tree.root().children[0]->text, "Bad_Name_");
    EXPECT_EQ(l->tree.root().children[0]->nodeData, kA);
}

}  // namespace
}  // namespace tvx

namespace tvx {
namespace {

TEST(CatalogFile, AShortDamagedNodeIdDoesNotLoseTheSubtree) {
    CatalogTree tree("All");
    tree.root().AddChild("Short", "SHORTID|1,2")->AddChild("Child", kB);
    auto l = Load(EncodeCatalogFile(tree));
    ASSERT_EQ(l->tree.root().children.size(), 1u);
    ASSERT_EQ(l->tree.root().children[0]->children.size(), 1u);
    EXPECT_EQ(l->tree.root().children[0]->children[0]->text, "Child");
}

}  // namespace
}  // namespace tvx

namespace tvx {
namespace {

// An export that took one catalog twice writes its NodeID twice; each copy
// keeps its own children, and the file comes back byte for byte. A catalog
// may even carry its parent's id (a sibling after it would then read as its
// child: the file cannot tell them apart, and it still comes back the same).
TEST(CatalogFile, ARepeatedNodeIdKeepsEachCopysChildren) {
    CatalogTree tree("All");
    tree.root().AddChild("First", kA + "|1")->AddChild("Under first", kB);
    CatalogNode* second = tree.root().AddChild("Second", kA + "|2");
    second->AddChild("Under second", kC);
    second->AddChild("Same id as its parent", kA)->AddChild("Deepest", kB);
    const std::string text = EncodeCatalogFile(tree);
    bool whole = false;
    auto l = std::make_unique<Loaded>();
    ResetCatalogs(l->tree, l->index, "All");
    DecodeCatalogFile(text, l->index, NodeDataMode::Full, &whole);
    EXPECT_TRUE(whole);
    EXPECT_EQ(EncodeCatalogFile(l->tree), text);
    const CatalogNode& root = l->tree.root();
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(root.children[0]->children.size(), 1u);
    ASSERT_EQ(root.children[1]->children.size(), 2u);
    EXPECT_EQ(root.children[1]->children[1]->children.size(), 1u);
}

TEST(CatalogFile, ACatalogWithTheRootsIdMakesTheFileDamaged) {
    bool whole = true;
    auto l = std::make_unique<Loaded>();
    ResetCatalogs(l->tree, l->index, "All");
    DecodeCatalogFile(kRoot + "|Fake root|" + kRoot + "\\" + kRoot + "|A|" + kA, l->index, NodeDataMode::Full, &whole);
    EXPECT_FALSE(whole);
    EXPECT_EQ(l->tree.root().children.size(), 2u);  // both under the true root
}

TEST(CatalogFile, ACopyOfTheTreeWritesTheSameFileAndItsIndexNamesTheCopies) {
    // A repeated NodeID: the index keeps both entries in load order.
    auto l = Load(kRoot + "|A|" + kA + "|2,5\\" + kA + "|B|" + kB + "\\" + kRoot + "|C|" + kA + "|7");
    CatalogTree tree;
    CatalogIndex index;
    CopyCatalogs(l->tree, l->index, tree, index);
    EXPECT_EQ(EncodeCatalogFile(tree), EncodeCatalogFile(l->tree));
    EXPECT_EQ(tree.root().text, "All");
    ASSERT_EQ(index.size(), l->index.size());
    for (size_t i = 0; i < index.size(); ++i) {
        EXPECT_EQ(index.IdAt(i), l->index.IdAt(i));
        EXPECT_EQ(index.NodeAt(i)->nodeData, l->index.NodeAt(i)->nodeData);
        EXPECT_TRUE(IsWithin(index.NodeAt(i), &tree.root()));
    }
    EXPECT_EQ(index.NodeOf(kA)->text, "A");
    // Editing the copy leaves the original as it was.
    RemoveCatalog(index, index.NodeOf(kB));
    EXPECT_EQ(l->index.NodeOf(kB)->text, "B");
    EXPECT_EQ(l->tree.root().children[0]->children.size(), 1u);
}

}  // namespace
}  // namespace tvx
