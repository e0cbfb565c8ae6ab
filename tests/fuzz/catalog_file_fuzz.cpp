// libFuzzer target: any bytes as a catalog file. Decoding must never read out
// of bounds, and what it made must encode and decode again. (A damaged file
// need not be a fixed point: parents that differ only in letter case are
// taken as the same parent, as the loader always has.)
#include "data/catalog_file.h"
#include "data/item_model.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
    using namespace tvx;
    CatalogTree tree;
    CatalogIndex index;
    ResetCatalogs(tree, index, "All");
    DecodeCatalogFile(std::string_view(reinterpret_cast<const char*>(data), size), index);
    const std::string text = EncodeCatalogFile(tree);
    CatalogTree again;
    CatalogIndex againIndex;
    ResetCatalogs(again, againIndex, "All");
    DecodeCatalogFile(text, againIndex);
    if (again.CatalogCount() > tree.CatalogCount()) std::abort();
    return 0;
}
