// A catalog tree shown in a tree-view control: every window that shows
// catalogs uses these (launcher, add-item dialog, later the configuration and
// exchange dialogs). Each tree item carries a pointer to its CatalogNode.
#pragma once
#include "data/catalog_tree.h"
#include "base/win32/win_handles.h"

#include <commctrl.h>

namespace tvx::win {

// The four 16x16 catalog icons (4009, 4006, 4008, 4007) of the resource
// module: image 0 a collapsed catalog, image 1 an expanded one. An icon that
// cannot be loaded leaves an empty image in its place, so that the others
// keep their indices.
UniqueImageList CreateCatalogImages();

// Clears the selection and deletes every node, before the catalogs the nodes
// point at are freed.
void ClearCatalogTreeView(HWND treeView);

// Inserts one item (not its children) under `parent` after `after`. `data`
// is the item's parameter: its CatalogNode, or 0 for a leaf that is no catalog.
HTREEITEM InsertTreeItem(HWND treeView, HTREEITEM parent, HTREEITEM after, const char* text, LPARAM data,
                         int image, int selectedImage);

// Empties the control and shows the tree, root first; returns the root item.
HTREEITEM ShowCatalogTree(HWND treeView, const CatalogTree& tree);

// The node of the selected item, or null.
const CatalogNode* SelectedCatalogNode(HWND treeView);
HTREEITEM SelectedTreeItem(HWND treeView);

// Switches an item's images when it is expanded or collapsed.
void UpdateExpandedImage(const NMTREEVIEWA& change);

}  // namespace tvx::win
