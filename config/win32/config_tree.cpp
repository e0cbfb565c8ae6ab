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

// ---- the catalog tree ---------------------------------------------------------------

void ConfigDialog::RebuildTreeView(const CatalogNode* select) {
    HWND tv = Item(IDC_CFG_TREE);
    ForgetLeaves();
    HTREEITEM root = treeView_.Show(tree_, 1);
    TreeView_Expand(tv, root, TVE_EXPAND);
    if (HTREEITEM item = select ? treeView_.ItemOf(select) : nullptr) {
        TreeView_EnsureVisible(tv, item);
        TreeView_SelectItem(tv, item);
    }
    InvalidateRect(tv, nullptr, TRUE);
}

CatalogNode* ConfigDialog::SelectedCatalog() const { return treeView_.NodeOf(TreeView_GetSelection(Item(IDC_CFG_TREE))); }

// An item leaf hangs under the catalog whose items it shows: that catalog.
CatalogNode* ConfigDialog::SelectedOrLeafCatalog() const {
    HWND tv = Item(IDC_CFG_TREE);
    HTREEITEM item = TreeView_GetSelection(tv);
    if (item && !treeView_.NodeOf(item)) item = TreeView_GetParent(tv, item);
    return treeView_.NodeOf(item);
}

bool ConfigDialog::LeafSelected() const {
    HTREEITEM item = TreeView_GetSelection(Item(IDC_CFG_TREE));
    return item && !treeView_.NodeOf(item);
}

void ConfigDialog::OnTreeSelection() {
    if (changingLeaves_) return;  // a deleted leaf moved the selection: the rows are being changed already
    HWND tv = Item(IDC_CFG_TREE);
    HTREEITEM item = TreeView_GetSelection(tv);
    if (!item) return;
    CatalogNode* node = treeView_.NodeOf(item);
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
    if (IsDlgButtonChecked(hwnd(), IDC_CFG_UNCHANGE_COMPOSED) != BST_CHECKED) composed_.Clear();
    listed_ = node;
    FillList();
    RebuildLeaves();
}

void ConfigDialog::OnTreeClick() {
    CheckDlgButton(hwnd(), IDC_CFG_COMPOSED, BST_UNCHECKED);
    CheckDlgButton(hwnd(), IDC_CFG_UNCHANGE_COMPOSED, BST_UNCHECKED);
    if (TreeView_GetSelection(Item(IDC_CFG_TREE))) return;
    ClearInfo();
    composed_.Clear();
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
    if (selected && !treeView_.NodeOf(selected)) selected = TreeView_GetParent(tv, selected);  // an item leaf: its catalog
    CatalogNode* parent = selected ? treeView_.NodeOf(selected) : &tree_.root();
    if (!parent) parent = &tree_.root();
    const std::string id = newGuid_();
    CatalogNode* node = parent->AddChild(name, id);
    index_.Add(id, node);
    // After the parent's last sub-catalog, before its item leaves.
    HTREEITEM parentItem = treeView_.ItemOf(parent);
    HTREEITEM after = TVI_FIRST;
    for (HTREEITEM child = TreeView_GetChild(tv, parentItem); child; child = TreeView_GetNextSibling(tv, child))
        if (treeView_.NodeOf(child)) after = child;
    treeView_.Insert(*parent, *node, after);
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
    treeView_.ShowName(*node);
    modified_ = true;
}

void ConfigDialog::DeleteCatalog() {
    HWND tv = Item(IDC_CFG_TREE);
    HTREEITEM item = TreeView_GetSelection(tv);
    if (!item) {
        ShowKey("SelectCatalog");
        return;
    }
    CatalogNode* node = treeView_.NodeOf(item);
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
    treeView_.Remove(*node);
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
    CatalogNode* node = treeView_.NodeOf(dragged);
    CatalogNode* parent = treeView_.NodeOf(target);
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
