// The configuration dialog's catalog tree: its nodes, selection and clicks, adding, renaming, deleting and moving catalogs, linking rows.
#include "config/win32/config_dialog.h"

#include "data/ansi_text.h"
#include "data/win32/file_io.h"
#include "data/win32/guid.h"
#include "data/win32/mailbox.h"
#include "data/win32/profile.h"
#include "data/win32/timing_log.h"
#include "data/win32/wide_path.h"
#include "services/hotkey_table.h"
#include "services/win32/progress_window.h"
#include "resources/config_ids.h"
#include "ui/skin/win32/catalog_tree_view.h"
#include "ui/skin/win32/message_box.h"
#include "ui/skin/win32/skin_controls.h"

#include <shellapi.h>
#include <windowsx.h>

#include <thread>

namespace tvx::win {

namespace {
}  // namespace

// ---- the catalog tree ---------------------------------------------------------------

HTREEITEM ConfigDialog::InsertCatalogItem(HTREEITEM parent, CatalogNode& node, HTREEITEM after) {
    const int image = (&node == &tree_.root()) ? 1 : 0;
    HTREEITEM item = InsertTreeItem(Item(IDC_CFG_TREE), parent, after, node.text.c_str(),
                                    reinterpret_cast<LPARAM>(&node), image, image);
    treeItems_[&node] = item;
    for (auto& child : node.children) InsertCatalogItem(item, *child, TVI_LAST);
    return item;
}

void ConfigDialog::RebuildTreeView(const CatalogNode* select) {
    HWND tv = Item(IDC_CFG_TREE);
    ForgetLeaves();
    ClearCatalogTreeView(tv);
    treeItems_.clear();
    HTREEITEM root = nullptr;
    {
        FrozenRedraw frozen(tv);
        root = InsertCatalogItem(TVI_ROOT, tree_.root(), TVI_LAST);
    }
    TreeView_Expand(tv, root, TVE_EXPAND);
    if (select) {
        auto it = treeItems_.find(select);
        if (it != treeItems_.end()) {
            TreeView_EnsureVisible(tv, it->second);
            TreeView_SelectItem(tv, it->second);
        }
    }
    InvalidateRect(tv, nullptr, TRUE);
}

CatalogNode* ConfigDialog::NodeOfItem(HTREEITEM item) const {
    if (!item) return nullptr;
    TVITEMA tvi = {};
    tvi.mask = TVIF_PARAM;
    tvi.hItem = item;
    if (!SendMessageA(Item(IDC_CFG_TREE), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tvi))) return nullptr;
    if (IsLeafData(tvi.lParam)) return nullptr;  // an item leaf
    return reinterpret_cast<CatalogNode*>(tvi.lParam);
}

CatalogNode* ConfigDialog::SelectedCatalog() const { return NodeOfItem(TreeView_GetSelection(Item(IDC_CFG_TREE))); }

// An item leaf hangs under the catalog whose items it shows: that catalog.
CatalogNode* ConfigDialog::SelectedOrLeafCatalog() const {
    HWND tv = Item(IDC_CFG_TREE);
    HTREEITEM item = TreeView_GetSelection(tv);
    if (item && !NodeOfItem(item)) item = TreeView_GetParent(tv, item);
    return NodeOfItem(item);
}

bool ConfigDialog::LeafSelected() const {
    HTREEITEM item = TreeView_GetSelection(Item(IDC_CFG_TREE));
    return item && !NodeOfItem(item);
}

void ConfigDialog::OnTreeSelection() {
    if (changingLeaves_) return;  // a deleted leaf moved the selection: the rows are being changed already
    HWND tv = Item(IDC_CFG_TREE);
    HTREEITEM item = TreeView_GetSelection(tv);
    if (!item) return;
    CatalogNode* node = NodeOfItem(item);
    if (!node) {
        // An item leaf: show that item's row.
        const long row = RowOfLeaf(item);
        if (row >= 0) {
            itemView_.SelectOnly(row);
            ShowInfo(row);
        }
        return;
    }
    if (pinned_) return;  // "Not Change List": the list stays as it is
    EndInplaceEdit();
    if (IsDlgButtonChecked(hwnd(), IDC_CFG_UNCHANGE_COMPOSED) != BST_CHECKED) ClearComposedBox();
    listed_ = node;
    FillList();
    RebuildLeaves();
}

void ConfigDialog::OnTreeClick() {
    CheckDlgButton(hwnd(), IDC_CFG_COMPOSED, BST_UNCHECKED);
    CheckDlgButton(hwnd(), IDC_CFG_UNCHANGE_COMPOSED, BST_UNCHECKED);
    if (TreeView_GetSelection(Item(IDC_CFG_TREE))) return;
    ClearInfo();
    ClearComposedBox();
    rows_.clear();
    itemView_.Reset(0);
}

void ConfigDialog::AddCatalog() {
    const std::string name = SanitizeCatalogName(Trim(BoxText(IDC_CFG_CATALOG_NAME)));
    if (name.empty()) {
        ShowKey("CatalogEmpty");
        return;
    }
    HWND tv = Item(IDC_CFG_TREE);
    HTREEITEM selected = TreeView_GetSelection(tv);
    if (selected && !NodeOfItem(selected)) selected = TreeView_GetParent(tv, selected);  // an item leaf: its catalog
    CatalogNode* parent = selected ? NodeOfItem(selected) : &tree_.root();
    if (!parent) parent = &tree_.root();
    const std::string id = newGuid_();
    CatalogNode* node = parent->AddChild(name, id);
    index_.Add(id, node);
    // After the parent's last sub-catalog, before its item leaves.
    HTREEITEM parentItem = treeItems_[parent];
    HTREEITEM after = TVI_FIRST;
    for (HTREEITEM child = TreeView_GetChild(tv, parentItem); child; child = TreeView_GetNextSibling(tv, child))
        if (NodeOfItem(child)) after = child;
    InsertCatalogItem(parentItem, *node, after);
    TreeView_Expand(tv, parentItem, TVE_EXPAND);
    modified_ = true;
}

void ConfigDialog::UpdateCatalog() {
    const std::string name = SanitizeCatalogName(Trim(BoxText(IDC_CFG_CATALOG_NAME)));
    if (name.empty()) {
        ShowKey("CatalogEmpty");
        return;
    }
    CatalogNode* node = SelectedCatalog();
    if (!node || node == &tree_.root()) return;
    node->text = name;
    TVITEMA tvi = {};
    tvi.mask = TVIF_TEXT;
    tvi.hItem = treeItems_[node];
    tvi.pszText = const_cast<char*>(node->text.c_str());
    SendMessageA(Item(IDC_CFG_TREE), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tvi));
    modified_ = true;
}

void ConfigDialog::DeleteCatalog() {
    HWND tv = Item(IDC_CFG_TREE);
    HTREEITEM item = TreeView_GetSelection(tv);
    if (!item) {
        ShowKey("SelectCatalog");
        return;
    }
    CatalogNode* node = NodeOfItem(item);
    if (!node || node == &tree_.root()) return;
    EndInplaceEdit();
    rows_.clear();
    itemView_.Reset(0);
    ClearInfo();
    // Nothing may point into the branch once it is gone.
    if (IsWithin(pinned_, node)) {
        pinned_ = nullptr;
        CheckDlgButton(hwnd(), IDC_CFG_NOT_CHANGE_LIST, BST_UNCHECKED);
    }
    if (IsWithin(listed_, node)) listed_ = nullptr;
    if (IsWithin(leafParent_, node)) ForgetLeaves();  // they go with the branch
    for (const CatalogNode* gone : SubtreeOf(node)) treeItems_.erase(gone);
    TreeView_DeleteItem(tv, item);
    RemoveCatalog(index_, node);
    modified_ = true;
    // A pinned catalog elsewhere is still the listed one: its rows come back,
    // so that the next change of the list rewrites its members from them.
    if (listed_) {
        FillList();
        RebuildLeaves();
    }
}

void ConfigDialog::OnCatalogDropped(HTREEITEM dragged, HTREEITEM target) {
    CatalogNode* node = NodeOfItem(dragged);
    CatalogNode* parent = NodeOfItem(target);
    if (!node || !parent || !MoveCatalog(node, parent)) return;
    EndInplaceEdit();
    RebuildTreeView(node);
    modified_ = true;
}

void ConfigDialog::LinkRows(bool all) {
    CatalogNode* target = SelectedCatalog();
    if (!TreeView_GetSelection(Item(IDC_CFG_TREE))) {
        ShowKey("SelectCatalog");
        return;
    }
    if (!target) {
        ShowKey("SelSubCatalog");  // an item leaf is no catalog
        return;
    }
    EndInplaceEdit();
    std::vector<size_t> chosen;
    if (all) {
        for (size_t i = rows_.size(); i-- > 0;) chosen.push_back(i);
    } else {
        chosen = itemView_.Selected();
    }
    const std::string linked = TakeRowsForLink(rows_, chosen);
    if (linked.empty()) return;
    target->nodeData = std::string(NodeIdOf(target->nodeData)) + "|" + linked;
    if (pinned_) pinned_->nodeData = NodeDataFromRows(pinned_->nodeData, rows_);
    itemView_.Reset(rows_.size());
    ClearInfo();
    if (listed_ == target) FillList();
    RebuildLeaves();
    modified_ = true;
}

}  // namespace tvx::win
