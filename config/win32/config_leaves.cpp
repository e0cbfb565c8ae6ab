// The item leaves of the configuration dialog's tree: under the listed
// catalog, after its sub-catalogs, one display-only node per row of the item
// list (image 2, selected image 3). They go in when the catalog is expanded
// and then follow each change of the rows by what changed, so that a change
// of one row in a catalog of 100,000 costs one node, not 100,000.
#include "config/win32/config_dialog.h"

#include "data/win32/timing_log.h"
#include "resources/config_ids.h"
#include "ui/skin/win32/catalog_tree_view.h"
#include "base/win32/win_handles.h"

#include <optional>


namespace tvx::win {

namespace {

// Whether the node shows a "+" although its children are not in the tree yet.
void SetHasChildren(HWND tv, HTREEITEM item, bool has) {
    TVITEMA tvi = {};
    tvi.mask = TVIF_CHILDREN;
    tvi.hItem = item;
    tvi.cChildren = has ? 1 : 0;
    SendMessageA(tv, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
}

bool IsExpanded(HWND tv, HTREEITEM item) {
    return (SendMessageA(tv, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

// Deleting a leaf the tree has selected moves the selection, and the
// notification of that would change the rows and the leaves again while
// they are being changed: the dialog ignores selections meanwhile. A leaf
// deleted twice would be freed memory on Windows; the suites count failures.
class ChangingLeaves {
public:
    explicit ChangingLeaves(bool& flag) : flag_(flag) { flag_ = true; }
    ~ChangingLeaves() { flag_ = false; }
    ChangingLeaves(const ChangingLeaves&) = delete;
    ChangingLeaves& operator=(const ChangingLeaves&) = delete;

private:
    bool& flag_;
};

void DeleteLeaves(HWND tv, const std::vector<HTREEITEM>& leaves) {
    long long failed = 0;
    for (HTREEITEM leaf : leaves)
        if (!TreeView_DeleteItem(tv, leaf)) ++failed;
    LogCount("tree_leaves_deleted", static_cast<long long>(leaves.size()));
    LogCount("tree_leaf_deletes_failed", failed);
}

}  // namespace

void ConfigDialog::ForgetLeaves() {
    leafParent_ = nullptr;
    leaves_.clear();
    leavesInserted_ = false;
}

void ConfigDialog::RemoveLeaves() {
    if (changingLeaves_) return;
    ChangingLeaves changing(changingLeaves_);
    CatalogNode* parent = leafParent_;
    std::vector<Leaf> leaves = std::move(leaves_);
    ForgetLeaves();
    if (!parent) return;
    HTREEITEM parentItem = treeView_.ItemOf(parent);
    if (!parentItem) return;
    HWND tv = Item(IDC_CFG_TREE);
    if (!leaves.empty()) {
        FrozenRedraw frozen(tv);
        std::vector<HTREEITEM> items;
        items.reserve(leaves.size());
        for (const Leaf& leaf : leaves) items.push_back(leaf.item);
        DeleteLeaves(tv, items);
    }
    SetHasChildren(tv, parentItem, TreeView_GetChild(tv, parentItem) != nullptr);
}

void ConfigDialog::InsertAllLeaves() {
    if (changingLeaves_) return;
    ChangingLeaves changing(changingLeaves_);
    HTREEITEM parentItem = treeView_.ItemOf(leafParent_);
    if (!parentItem) return;
    FrozenRedraw frozen(treeView_.hwnd());
    leaves_.reserve(rows_.size());
    for (const ItemRow& row : rows_)
        leaves_.push_back({row.index, treeView_.InsertLeaf(parentItem, TVI_LAST, row.name, row.index), row.name});
    leavesInserted_ = true;
}

// The leaves follow the rows: walking both in order, a leaf that shows the
// next row stays, any other goes, and the rows left at the end get new
// leaves after the last one that stayed. Removed rows and rows added at the
// end (what "<", ">", dropped files do) cost only their own leaves; rows in
// another order (a sort) put most leaves in again.
void ConfigDialog::UpdateLeaves() {
    if (changingLeaves_) return;
    ChangingLeaves changing(changingLeaves_);
    HTREEITEM parentItem = treeView_.ItemOf(leafParent_);
    if (!parentItem) return;
    HWND tv = Item(IDC_CFG_TREE);
    std::vector<Leaf> kept;
    kept.reserve(rows_.size());
    std::vector<HTREEITEM> gone;
    size_t next = 0;  // the first row without a leaf
    for (Leaf& leaf : leaves_) {
        if (next < rows_.size() && rows_[next].index == leaf.index) {
            // A kept leaf shows its row's name now (renamed by an editor, Save Comp or a batch replace).
            if (leaf.name != rows_[next].name) {
                leaf.name = rows_[next].name;
                TVITEMA tvi = {};
                tvi.mask = TVIF_TEXT;
                tvi.hItem = leaf.item;
                tvi.pszText = const_cast<char*>(leaf.name.c_str());
                SendMessageA(tv, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
            }
            kept.push_back(std::move(leaf));
            ++next;
        } else {
            gone.push_back(leaf.item);
        }
    }
    if (gone.empty() && next == rows_.size()) {
        leaves_ = std::move(kept);
        return;
    }
    // Frozen only for many changes: thawing makes the tree lay out every
    // shown node again, which costs more than a few single changes.
    std::optional<FrozenRedraw> frozen;
    if (gone.size() + (rows_.size() - next) > 64) frozen.emplace(tv);
    DeleteLeaves(tv, gone);
    HTREEITEM after = kept.empty() ? nullptr : kept.back().item;
    if (!after) {  // after the catalog's sub-catalogs
        after = TVI_FIRST;
        for (HTREEITEM child = TreeView_GetChild(tv, parentItem); child; child = TreeView_GetNextSibling(tv, child)) {
            if (!treeView_.NodeOf(child)) break;
            after = child;
        }
    }
    for (; next < rows_.size(); ++next) {
        const ItemRow& row = rows_[next];
        after = treeView_.InsertLeaf(parentItem, after, row.name, row.index);
        kept.push_back({row.index, after, row.name});
    }
    leaves_ = std::move(kept);
}

// Under the listed catalog the tree shows its items as leaves, after its
// sub-catalogs. They are display only: never catalogs, never saved. Called
// whenever the listed catalog or its rows changed.
void ConfigDialog::RebuildLeaves() {
    CatalogNode* node = listed_ && listed_ != &tree_.root() ? listed_ : nullptr;
    if (node != leafParent_) {
        RemoveLeaves();
        if (!node) return;
        leafParent_ = node;
    }
    HTREEITEM item = treeView_.ItemOf(node);
    if (!item) return;
    HWND tv = Item(IDC_CFG_TREE);
    if (leavesInserted_) {
        UpdateLeaves();
    } else if (IsExpanded(tv, item)) {
        InsertAllLeaves();
    } else {
        // Shown when the catalog is expanded (OnTreeExpanding).
        SetHasChildren(tv, item, !rows_.empty() || TreeView_GetChild(tv, item) != nullptr);
    }
}

void ConfigDialog::OnTreeExpanding(HTREEITEM item, UINT action) {
    if (!(action & TVE_EXPAND) || leavesInserted_ || !leafParent_) return;
    if (item && treeView_.ItemOf(leafParent_) == item) InsertAllLeaves();
}

// The row a leaf shows: the leaves stand in the rows' order.
long ConfigDialog::RowOfLeaf(HTREEITEM item) const {
    for (size_t i = 0; i < leaves_.size(); ++i) {
        if (leaves_[i].item != item) continue;
        if (i < rows_.size() && rows_[i].index == leaves_[i].index) return static_cast<long>(i);
        for (size_t r = 0; r < rows_.size(); ++r)
            if (rows_[r].index == leaves_[i].index) return static_cast<long>(r);
        return -1;
    }
    return -1;
}

}  // namespace tvx::win
