// A catalog tree shown in a tree-view control, the one way every window
// shows catalogs (launcher, configuration, exchange and add-item dialogs).
// Each catalog's item carries a pointer to its CatalogNode; other items
// (the configuration dialog's item leaves) carry 0.
#pragma once
#include "data/catalog_tree.h"
#include "base/win32/win_handles.h"

#include <commctrl.h>

#include <unordered_map>

namespace tvx::win {

// The four 16x16 catalog icons (4009, 4006, 4008, 4007) of the resource
// module: image 0 a collapsed catalog, image 1 an expanded one. An icon that
// cannot be loaded leaves an empty image in its place, so that the others
// keep their indices.
UniqueImageList CreateCatalogImages();

// Inserts one item (not its children) under `parent` after `after`. `data`
// is the item's parameter: its CatalogNode, or 0 for a leaf that is no catalog.
HTREEITEM InsertTreeItem(HWND treeView, HTREEITEM parent, HTREEITEM after, const char* text, LPARAM data,
                         int image, int selectedImage);

// A tree-view control and the item that shows each catalog.
class CatalogTreeView {
public:
    void Attach(HWND treeView) { tv_ = treeView; }
    HWND hwnd() const { return tv_; }

    // Clears the selection and deletes every item, before the catalogs the
    // items point at are freed.
    void Clear();
    // Empties the control and shows the tree, root first (with `rootImage`:
    // 1 the open catalog), drawing frozen meanwhile; returns the root's item.
    HTREEITEM Show(const CatalogTree& tree, int rootImage);
    // Shows `node` and its sub-catalogs under the item of `parent`, after `after`.
    HTREEITEM Insert(const CatalogNode& parent, const CatalogNode& node, HTREEITEM after = TVI_LAST);
    // The catalog's item, or null when it is not shown.
    HTREEITEM ItemOf(const CatalogNode* node) const;
    // The catalog an item shows, or null (no item, or a leaf that is no catalog).
    CatalogNode* NodeOf(HTREEITEM item) const;
    HTREEITEM SelectedItem() const;
    CatalogNode* SelectedNode() const { return NodeOf(SelectedItem()); }
    // The catalog's item shows its text again.
    void ShowName(const CatalogNode& node);
    // An item leaf: an entry of a catalog shown under the catalog's item.
    // Its data is the entry's store index made odd, so that it never reads
    // as the address of a catalog.
    HTREEITEM InsertLeaf(HTREEITEM parent, HTREEITEM after, const std::string& name, size_t index);
    // Deletes the catalog's item with everything under it, and forgets the
    // sub-catalogs it showed; the caller moves the selection first.
    void Remove(const CatalogNode& node);

private:
    HTREEITEM InsertBranch(HTREEITEM parent, const CatalogNode& node, HTREEITEM after, int image);

    HWND tv_ = nullptr;
    std::unordered_map<const CatalogNode*, HTREEITEM> items_;
};

// Switches an item's images when it is expanded or collapsed.
void UpdateExpandedImage(const NMTREEVIEWA& change);

}  // namespace tvx::win
