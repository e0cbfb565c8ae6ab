// Random stores and trees (fixed seed) survive encoding and decoding.
#include "data/catalog_file.h"
#include "data/item_file.h"

#include <gtest/gtest.h>

#include <random>

namespace tvx {
namespace {

std::string RandomText(std::mt19937& rng, size_t maxLen, bool allowSeparators) {
    std::uniform_int_distribution<size_t> len(0, maxLen);
    std::uniform_int_distribution<int> kind(0, 9);
    std::string out;
    size_t n = len(rng);
    while (out.size() < n) {
        int k = kind(rng);
        if (k < 2) {  // a GB2312 character
            out += static_cast<char>(0xB0 + rng() % 0x28);
            out += static_cast<char>(0xA1 + rng() % 0x5E);
        } else if (k == 2 && allowSeparators) {
            out += "|\\"[rng() % 2];
        } else {
            out += static_cast<char>(0x20 + rng() % 0x5F);
        }
    }
    return out;
}

TEST(RoundTrip, RandomItemStoresDecodeToTheSameItems) {
    std::mt19937 rng(20261207);
    for (int round = 0; round < 50; ++round) {
        ItemStore store;
        const size_t count = rng() % 40;
        for (size_t i = 0; i < count; ++i) {
            LaunchItem it;
            for (int f = 0; f < LaunchItem::kFieldCount; ++f) it.Field(f) = RandomText(rng, f == 5 ? 300 : 40, true);
            store.Append(std::move(it));
            if (rng() % 7 == 0) store.Remove(i);
        }
        ItemStore back = DecodeItemFile(EncodeItemFile(store));
        ASSERT_EQ(back.size(), store.size());
        for (size_t i = 0; i < store.size(); ++i) ASSERT_EQ(back[i], store[i]) << "round " << round << " item " << i;
    }
}

void Compare(const CatalogNode& a, const CatalogNode& b) {
    ASSERT_EQ(a.text, b.text);
    ASSERT_EQ(a.nodeData, b.nodeData);
    ASSERT_EQ(a.children.size(), b.children.size());
    for (size_t i = 0; i < a.children.size(); ++i) Compare(*a.children[i], *b.children[i]);
}

TEST(RoundTrip, RandomTreesDecodeToTheSameTree) {
    std::mt19937 rng(7);
    for (int round = 0; round < 50; ++round) {
        CatalogTree tree("All");
        std::vector<CatalogNode*> nodes{&tree.root()};
        const size_t count = 1 + rng() % 60;
        for (size_t i = 0; i < count; ++i) {
            CatalogNode* parent = nodes[rng() % nodes.size()];
            char id[64];
            std::snprintf(id, sizeof id, "%08X-0000-4000-8000-%012zu", static_cast<unsigned>(rng()), i);
            std::string data = id;
            for (size_t m = 0, members = rng() % 4; m < members; ++m) data = AppendMember(data, rng() % 500);
            // Names are sanitised at entry, as the dialogs do.
            nodes.push_back(parent->AddChild(SanitizeCatalogName(RandomText(rng, 20, true)), data));
        }
        CatalogTree back("All");
        CatalogIndex index;
        ResetCatalogs(back, index, "All");
        DecodeCatalogFile(EncodeCatalogFile(tree), index);
        // An empty name is a legitimate catalog text, so the trees compare whole.
        Compare(tree.root(), back.root());
        EXPECT_EQ(index.size(), count + 1);
    }
}

}  // namespace
}  // namespace tvx
