// The configuration dialog's catalog pane. Under the listed catalog, after
// its sub-catalogs, the tree shows one display-only leaf per row of the item
// list (image 2, selected image 3). They go in when the catalog is expanded
// and then follow each change of the rows by what changed, so that a change
// of one row in a catalog of 100,000 costs one node, not 100,000.
#include "config/win32/catalog_pane.h"

#include "data/win32/timing_log.h"
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

void CatalogPane::ForgetLeaves() {
    leafParent_ = nullptr;
    leaves_.clear();
    leavesInserted_ = false;
}

void CatalogPane::RemoveLeaves() {
    if (changingLeaves_) return;
    ChangingLeaves changing(changingLeaves_);
    const CatalogNode* parent = leafParent_;
    std::vector<Leaf> leaves = std::move(leaves_);
    ForgetLeaves();
    if (!parent) return;
    HTREEITEM parentItem = view_.ItemOf(parent);
    if (!parentItem) return;
    HWND tv = view_.hwnd();
    if (!leaves.empty()) {
        FrozenRedraw frozen(tv);
        std::vector<HTREEITEM> items;
        items.reserve(leaves.size());
        for (const Leaf& leaf : leaves) items.push_back(leaf.item);
        DeleteLeaves(tv, items);
    }
    SetHasChildren(tv, parentItem, TreeView_GetChild(tv, parentItem) != nullptr);
}

void CatalogPane::InsertAllLeaves() {
    if (changingLeaves_) return;
    ChangingLeaves changing(changingLeaves_);
    HTREEITEM parentItem = view_.ItemOf(leafParent_);
    if (!parentItem) return;
    FrozenRedraw frozen(view_.hwnd());
    leaves_.reserve(rows_.size());
    for (const ItemRow& row : rows_)
        leaves_.push_back({row.index, view_.InsertLeaf(parentItem, TVI_LAST, row.name, row.index), row.name});
    leavesInserted_ = true;
}

// The leaves follow the rows: walking both in order, a leaf that shows the
// next row stays, any other goes, and the rows left at the end get new
// leaves after the last one that stayed. Removed rows and rows added at the
// end (what "<", ">", dropped files do) cost only their own leaves; rows in
// another order (a sort) put most leaves in again.
void CatalogPane::UpdateLeaves() {
    if (changingLeaves_) return;
    ChangingLeaves changing(changingLeaves_);
    HTREEITEM parentItem = view_.ItemOf(leafParent_);
    if (!parentItem) return;
    HWND tv = view_.hwnd();
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
            if (!view_.NodeOf(child)) break;
            after = child;
        }
    }
    for (; next < rows_.size(); ++next) {
        const ItemRow& row = rows_[next];
        after = view_.InsertLeaf(parentItem, after, row.name, row.index);
        kept.push_back({row.index, after, row.name});
    }
    leaves_ = std::move(kept);
}

// Called whenever the listed catalog or its rows changed. The leaves are
// display only: never catalogs, never saved.
void CatalogPane::FollowRows(const CatalogNode* listed) {
    const CatalogNode* node = listed && listed != &tree_.root() ? listed : nullptr;
    if (node != leafParent_) {
        RemoveLeaves();
        if (!node) return;
        leafParent_ = node;
    }
    HTREEITEM item = view_.ItemOf(node);
    if (!item) return;
    HWND tv = view_.hwnd();
    if (leavesInserted_) {
        UpdateLeaves();
    } else if (IsExpanded(tv, item)) {
        InsertAllLeaves();
    } else {
        // Shown when the catalog is expanded (OnExpanding).
        SetHasChildren(tv, item, !rows_.empty() || TreeView_GetChild(tv, item) != nullptr);
    }
}

void CatalogPane::OnExpanding(HTREEITEM item, UINT action) {
    if (!(action & TVE_EXPAND) || leavesInserted_ || !leafParent_) return;
    if (item && view_.ItemOf(leafParent_) == item) InsertAllLeaves();
}

// The row a leaf shows: the leaves stand in the rows' order.
long CatalogPane::RowOfLeaf(HTREEITEM item) const {
    for (size_t i = 0; i < leaves_.size(); ++i) {
        if (leaves_[i].item != item) continue;
        if (i < rows_.size() && rows_[i].index == leaves_[i].index) return static_cast<long>(i);
        for (size_t r = 0; r < rows_.size(); ++r)
            if (rows_[r].index == leaves_[i].index) return static_cast<long>(r);
        return -1;
    }
    return -1;
}

void CatalogPane::Attach(HWND treeView, SkinTreeCtrl* skin, HIMAGELIST images, Events events) {
    view_.Attach(treeView);
    events_ = std::move(events);
    // A tree never destroys its image list: the dialog does, after the window.
    SendMessageA(treeView, TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    if (!skin) return;
    // Catalogs (not the root, not item leaves) can be dragged onto another
    // catalog or the root, never into their own branch.
    SkinTreeCtrl::DragRules rules;
    rules.canDrag = [this](HTREEITEM item) {
        const CatalogNode* node = view_.NodeOf(item);
        return node && node != &tree_.root();
    };
    rules.canDrop = [this](HTREEITEM dragged, HTREEITEM target) {
        const CatalogNode* from = view_.NodeOf(dragged);
        const CatalogNode* to = view_.NodeOf(target);
        return from && to && !IsWithin(to, from) && to != from->parent;
    };
    rules.drop = [this](HTREEITEM dragged, HTREEITEM target) { OnDropped(dragged, target); };
    skin->EnableDragging(std::move(rules));
}

void CatalogPane::Clear() {
    view_.Clear();
    ForgetLeaves();
}

void CatalogPane::Show(const CatalogNode* select) {
    HWND tv = view_.hwnd();
    ForgetLeaves();
    HTREEITEM root = view_.Show(tree_, 1);
    TreeView_Expand(tv, root, TVE_EXPAND);
    if (HTREEITEM item = select ? view_.ItemOf(select) : nullptr) {
        TreeView_EnsureVisible(tv, item);
        TreeView_SelectItem(tv, item);
    }
    InvalidateRect(tv, nullptr, TRUE);
}

void CatalogPane::SelectRoot() { TreeView_SelectItem(view_.hwnd(), TreeView_GetRoot(view_.hwnd())); }

// An item leaf hangs under the catalog whose items it shows: that catalog.
CatalogNode* CatalogPane::SelectedOrLeafCatalog() const {
    HTREEITEM item = view_.SelectedItem();
    if (item && !view_.NodeOf(item)) item = TreeView_GetParent(view_.hwnd(), item);
    return view_.NodeOf(item);
}

void CatalogPane::InsertCatalog(const CatalogNode& parent, const CatalogNode& node) {
    HWND tv = view_.hwnd();
    HTREEITEM parentItem = view_.ItemOf(&parent);
    HTREEITEM after = TVI_FIRST;
    for (HTREEITEM child = TreeView_GetChild(tv, parentItem); child; child = TreeView_GetNextSibling(tv, child))
        if (view_.NodeOf(child)) after = child;
    view_.Insert(parent, node, after);
    TreeView_Expand(tv, parentItem, TVE_EXPAND);
}

void CatalogPane::RemoveBranch(const CatalogNode& node) {
    if (IsWithin(leafParent_, &node)) ForgetLeaves();  // they go with the branch
    view_.Remove(node);
}

bool CatalogPane::HandleNotify(NMHDR* header) {
    if (!header || header->hwndFrom != view_.hwnd()) return false;
    switch (header->code) {
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        OnSelection();
        break;
    case NM_DBLCLK:
        if (events_.doubleClicked) events_.doubleClicked();
        break;
    case TVN_ITEMEXPANDINGA:
    case TVN_ITEMEXPANDINGW: {
        auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
        OnExpanding(change->itemNew.hItem, change->action);
        break;
    }
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW: {
        auto* change = reinterpret_cast<NMTREEVIEWA*>(header);
        if (view_.NodeOf(change->itemNew.hItem) != &tree_.root()) UpdateExpandedImage(*change);
        break;
    }
    default:
        break;
    }
    return true;
}

void CatalogPane::OnSelection() {
    if (changingLeaves_) return;  // a deleted leaf moved the selection: the rows are being changed already
    HTREEITEM item = view_.SelectedItem();
    if (!item) return;
    CatalogNode* node = view_.NodeOf(item);
    if (node) {
        if (events_.catalogChosen) events_.catalogChosen(node);
        return;
    }
    const long row = RowOfLeaf(item);
    if (row >= 0 && events_.leafChosen) events_.leafChosen(row);
}

void CatalogPane::OnDropped(HTREEITEM dragged, HTREEITEM target) {
    CatalogNode* node = view_.NodeOf(dragged);
    CatalogNode* parent = view_.NodeOf(target);
    if (!node || !parent || !MoveCatalog(node, parent)) return;
    if (events_.catalogMoved) events_.catalogMoved();
    Show(node);
}

}  // namespace tvx::win
