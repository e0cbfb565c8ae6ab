// The catalog file "Shortcut2.clg" as pure encode/decode.
//
// Records in depth-first pre-order, separated by "\": parent NodeID, "|",
// name, "|", NodeData (NodeID, and "|" and the member list when there are
// members). The root has no record; top-level catalogs name the root id.
#pragma once
#include "data/catalog_tree.h"

#include <string>
#include <string_view>

namespace tvx {

// The whole file text; empty for a tree without catalogs. Nodes whose data
// holds "TempItemNode" (display-only item leaves) are left out with their
// subtree. Names are sanitised so that no record can be broken by them.
std::string EncodeCatalogFile(const CatalogTree& tree);

// Adds the catalogs of the file text under the nodes the index names (it must
// already hold the root) and to the index. The text ends at its first NUL.
// Records whose parent is unknown are dropped with their subtree; an empty
// parent field ends the loading.
enum class NodeDataMode {
    Full,        // NodeID, "|" and the member list (windows that list items)
    NodeIdOnly,  // the catalog's own NodeID, or the empty text (the add-item dialog)
};
// `whole` (when given) tells whether every record is one this program
// writes: no NUL, a known parent, a name, a NodeID that is a GUID text and
// members of digits and commas, and no early end. (A file cut short can
// still look whole when the cut falls where a record could end.)
void DecodeCatalogFile(std::string_view bytes, CatalogIndex& index, NodeDataMode mode = NodeDataMode::Full,
                       bool* whole = nullptr);

}  // namespace tvx
