// The configuration dialog's catalogs: what the user chose in the catalog
// pane, adding, renaming and deleting catalogs, linking rows to a catalog.
#include "config/win32/config_dialog.h"

#include "data/ansi_text.h"
#include "resources/config_ids.h"
#include "ui/skin/win32/message_box.h"


namespace tvx::win {

// ---- what the user chose in the catalog pane -------------------------------------

void ConfigDialog::OnLeafChosen(long row) {
    items_.view().SelectOnly(row);
    items_.ShowInfo(row);
}

void ConfigDialog::OnCatalogChosen(CatalogNode* node) {
    if (pinned_) return;  // "Not Change List": the list stays as it is
    items_.EndInplaceEdit();
    if (IsDlgButtonChecked(hwnd(), IDC_CFG_UNCHANGE_COMPOSED) != BST_CHECKED) composed_.Clear();
    listed_ = node;
    FillList();
    catalogs_.FollowRows(listed_);
}

void ConfigDialog::OnTreeClick() {
    CheckDlgButton(hwnd(), IDC_CFG_COMPOSED, BST_UNCHECKED);
    CheckDlgButton(hwnd(), IDC_CFG_UNCHANGE_COMPOSED, BST_UNCHECKED);
    if (catalogs_.HasSelection()) return;
    items_.ClearInfo();
    composed_.Clear();
    items_.rows().clear();
    items_.view().Reset(0);
}

void ConfigDialog::AddCatalog() {
    const std::string name = SanitizeCatalogName(Trim(BoxText(IDC_CFG_CATALOG_NAME)));
    if (name.empty()) {
        ShowKey("CatalogEmpty");
        return;
    }
    CatalogNode* parent = catalogs_.SelectedOrLeafCatalog();  // an item leaf: its catalog
    if (!parent) parent = &tree_.root();
    const std::string id = newGuid_();
    CatalogNode* node = parent->AddChild(name, id);
    index_.Add(id, node);
    catalogs_.InsertCatalog(*parent, *node);
    modified_ = true;
}

void ConfigDialog::UpdateCatalog() {
    const std::string name = SanitizeCatalogName(Trim(BoxText(IDC_CFG_CATALOG_NAME)));
    if (name.empty()) {
        ShowKey("CatalogEmpty");
        return;
    }
    CatalogNode* node = catalogs_.Selected();
    if (!node || node == &tree_.root()) return;
    node->text = name;
    catalogs_.ShowName(*node);
    modified_ = true;
}

void ConfigDialog::DeleteCatalog() {
    if (!catalogs_.HasSelection()) {
        ShowKey("SelectCatalog");
        return;
    }
    CatalogNode* node = catalogs_.Selected();
    if (!node || node == &tree_.root()) return;
    items_.EndInplaceEdit();
    items_.rows().clear();
    items_.view().Reset(0);
    items_.ClearInfo();
    // Nothing may point into the branch once it is gone.
    if (IsWithin(pinned_, node)) {
        pinned_ = nullptr;
        CheckDlgButton(hwnd(), IDC_CFG_NOT_CHANGE_LIST, BST_UNCHECKED);
    }
    if (IsWithin(listed_, node)) listed_ = nullptr;
    catalogs_.RemoveBranch(*node);
    RemoveCatalog(index_, node);
    modified_ = true;
    // A pinned catalog elsewhere is still the listed one: its rows come back,
    // so that the next change of the list rewrites its members from them.
    if (listed_) {
        FillList();
        catalogs_.FollowRows(listed_);
    }
}

void ConfigDialog::LinkRows(bool all) {
    CatalogNode* target = catalogs_.Selected();
    if (!catalogs_.HasSelection()) {
        ShowKey("SelectCatalog");
        return;
    }
    if (!target) {
        ShowKey("SelSubCatalog");  // an item leaf is no catalog
        return;
    }
    items_.EndInplaceEdit();
    std::vector<size_t> chosen;
    if (all) {
        for (size_t i = items_.rows().size(); i-- > 0;) chosen.push_back(i);
    } else {
        chosen = items_.view().Selected();
    }
    const std::string linked = TakeRowsForLink(items_.rows(), chosen);
    if (linked.empty()) return;
    target->nodeData = std::string(NodeIdOf(target->nodeData)) + "|" + linked;
    if (pinned_) pinned_->nodeData = NodeDataFromRows(pinned_->nodeData, items_.rows());
    items_.view().Reset(items_.rows().size());
    items_.ClearInfo();
    if (listed_ == target) FillList();
    catalogs_.FollowRows(listed_);
    modified_ = true;
}

}  // namespace tvx::win
