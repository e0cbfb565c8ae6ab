// libFuzzer target: any bytes as a catalog file. Decoding never reads out of
// bounds; what it made encodes to a text that decodes to the same catalogs
// (names, NodeIDs, members, parents and order) when the file was whole, and
// to no more catalogs otherwise (a damaged file need not be a fixed point:
// a record with a short NodeID cannot be the parent of its children again).
// The encoded text of what was decoded is itself a fixed point.

#include "data/ansi_text.h"
#include "data/catalog_file.h"
#include "data/item_model.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
using tvx::CatalogNode;

// The same shape, texts and data, depth first.
bool Same(const CatalogNode& a, const CatalogNode& b) {
    if (a.text != b.text || a.nodeData != b.nodeData || a.children.size() != b.children.size()) return false;
    for (size_t i = 0; i < a.children.size(); ++i)
        if (!Same(*a.children[i], *b.children[i])) return false;
    return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    using namespace tvx;
    CatalogTree tree;
    CatalogIndex index;
    ResetCatalogs(tree, index, "All");
    bool whole = false;
    DecodeCatalogFile(std::string_view(reinterpret_cast<const char*>(data), size), index, NodeDataMode::Full, &whole);
    const std::string text = EncodeCatalogFile(tree);
    CatalogTree again;
    CatalogIndex againIndex;
    ResetCatalogs(again, againIndex, "All");
    bool againWhole = false;
    DecodeCatalogFile(text, againIndex, NodeDataMode::Full, &againWhole);
    if (again.CatalogCount() > tree.CatalogCount()) std::abort();
    if (whole) {
        if (!againWhole || !Same(tree.root(), again.root()) || againIndex.size() != index.size()) std::abort();
        // The same ids registered; their order is the file's, which need not
        // be the writer's depth-first one (a record may name any earlier parent).
        std::vector<std::string> ids, againIds;
        for (size_t i = 0; i < index.size(); ++i) ids.push_back(index.IdAt(i)), againIds.push_back(againIndex.IdAt(i));
        std::sort(ids.begin(), ids.end());
        std::sort(againIds.begin(), againIds.end());
        if (ids != againIds) std::abort();
    }
    if (EncodeCatalogFile(again) != text && againWhole) std::abort();
    return 0;
}
