// The configuration dialog's catalog pane: the catalog tree, catalogs
// dragged onto other catalogs, and the item leaves, display-only nodes under
// the listed catalog that show the item list's rows. The pane tells the
// dialog what the user chose; the dialog decides what the list shows.
#pragma once
#include "data/catalog_tree.h"
#include "services/item_rows.h"
#include "ui/skin/win32/catalog_tree_view.h"
#include "ui/skin/win32/skin_tree.h"

#include <functional>
#include <string>
#include <vector>

namespace tvx::win {

class CatalogPane {
public:
    struct Events {
        std::function<void(CatalogNode* node)> catalogChosen;  // the user selected a catalog
        std::function<void(long row)> leafChosen;              // ... an item leaf: the row it shows
        std::function<void()> catalogMoved;                    // a catalog was dropped into another one
        std::function<void()> doubleClicked;
    };

    // `rows` are the item list's rows, the ones the leaves show.
    CatalogPane(CatalogTree& tree, const std::vector<ItemRow>& rows) : tree_(tree), rows_(rows) {}

    // The tree control (its skin may be null: no dragging) and the images it borrows.
    void Attach(HWND treeView, SkinTreeCtrl* skin, HIMAGELIST images, Events events);
    HWND hwnd() const { return view_.hwnd(); }

    // Empties the control, before the catalogs it shows are freed.
    void Clear();
    // Shows the whole tree, the root expanded and `select` selected.
    void Show(const CatalogNode* select);
    void SelectRoot();

    bool HasSelection() const { return view_.SelectedItem() != nullptr; }
    CatalogNode* Selected() const { return view_.SelectedNode(); }  // null for none and for an item leaf
    CatalogNode* SelectedOrLeafCatalog() const;  // an item leaf's catalog too

    // A new catalog under `parent`, after its sub-catalogs and before its leaves.
    void InsertCatalog(const CatalogNode& parent, const CatalogNode& node);
    void ShowName(const CatalogNode& node) { view_.ShowName(node); }
    // The catalog's branch leaves the tree (with the leaves under it).
    void RemoveBranch(const CatalogNode& node);

    // The listed catalog or its rows changed: its leaves follow (or go,
    // for the root and for none).
    void FollowRows(const CatalogNode* listed);

    // The tree's notifications; true when it was one of them.
    bool HandleNotify(NMHDR* header);

private:
    struct Leaf {
        size_t index;       // the record it shows
        HTREEITEM item;
        std::string name;   // the text it shows
    };

    void OnSelection();
    void OnExpanding(HTREEITEM item, UINT action);
    void OnDropped(HTREEITEM dragged, HTREEITEM target);
    long RowOfLeaf(HTREEITEM item) const;
    void RemoveLeaves();
    void ForgetLeaves();  // the tree let go of them already
    void InsertAllLeaves();
    void UpdateLeaves();

    CatalogTree& tree_;
    const std::vector<ItemRow>& rows_;
    CatalogTreeView view_;
    Events events_;
    // The catalog whose leaves the tree shows, and its leaves top to bottom.
    // They go in when the catalog is expanded, and then follow each change
    // of its rows by what changed.
    const CatalogNode* leafParent_ = nullptr;
    std::vector<Leaf> leaves_;
    bool leavesInserted_ = false;
    bool changingLeaves_ = false;  // while the leaves change, their selection changes are the tree's, not the user's
};

}  // namespace tvx::win
