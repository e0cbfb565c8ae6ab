// The configuration dialog's item list, item-info box, key pop-up and
// candidate list: the list views show the row models of services/item_rows.h,
// whose functions hold the rules.
#include "config/win32/config_dialog.h"

#include "config/discovery_rules.h"
#include "config/win32/discovery.h"
#include "data/ansi_text.h"
#include "data/win32/profile.h"
#include "services/hotkey_table.h"
#include "services/win32/run_command.h"
#include "resources/config_ids.h"
#include "ui/skin/win32/message_box.h"
#include "ui/skin/win32/skin_controls.h"
#include "base/win32/win_handles.h"

namespace tvx::win {

// Step D: the listed catalog's rows, the first selected and shown, the sort
// state applied again.
void ConfigDialog::FillList() {
    items_.Show(listed_ ? RowsForSelection(store_, listed_->nodeData, listed_ == &tree_.root()) : std::vector<ItemRow>{});
}

// The rows changed: the listed catalog's member list follows them, and so
// do its leaves in the tree.
void ConfigDialog::ListChanged() {
    if (listed_ && listed_ != &tree_.root()) listed_->nodeData = NodeDataFromRows(listed_->nodeData, items_.rows());
    catalogs_.FollowRows(listed_);
    modified_ = true;
}

void ConfigDialog::AddCandidatesToList(bool all) {
    CatalogNode* selected = catalogs_.Selected();
    const bool usable = selected && selected != &tree_.root();
    if (all && !usable) {
        ShowKey("SelectCatalog");
        return;
    }
    if (!all && !catalogs_.HasSelection()) {
        ShowKey("SelectCatalog");
        return;
    }
    if (!all && !usable) {
        ShowKey("SelSubCatalog");
        return;
    }
    if (all && ShowKey("SelectAllItems", MB_YESNO) == IDNO) return;
    items_.EndInplaceEdit();
    std::vector<size_t> chosen;
    if (all) {
        for (size_t i = candidates_.rows().size(); i-- > 0;) chosen.push_back(i);
    } else {
        chosen = candidates_.Selected();
    }
    {
        FrozenRedraw items(items_.view().hwnd()), cands(candidates_.list());
        AddCandidates(candidates_.rows(), chosen, items_.rows(), store_, newGuid_);
        candidates_.Refresh();
        items_.view().Reset(items_.rows().size());
    }
    if (!items_.rows().empty()) items_.view().SelectOnly(static_cast<long>(items_.rows().size() - 1));
    ListChanged();
}

void ConfigDialog::RemoveFromList(bool all) {
    if (all && ShowKey("UnselectAllItems", MB_YESNO) == IDNO) return;
    items_.EndInplaceEdit();
    if (IsDlgButtonChecked(hwnd(), IDC_CFG_UNCHANGE_COMPOSED) != BST_CHECKED && (all || items_.view().FirstSelected() >= 0))
        composed_.Clear();
    std::vector<size_t> chosen;
    if (all) {
        for (size_t i = 0; i < items_.rows().size(); ++i) chosen.push_back(i);
    } else {
        chosen = items_.view().Selected();
    }
    {
        FrozenRedraw items(items_.view().hwnd()), cands(candidates_.list());
        RemoveRows(items_.rows(), chosen, store_, candidates_.rows());
        candidates_.Refresh();
        items_.view().Reset(items_.rows().size());
    }
    if (!all && !items_.rows().empty()) {
        items_.view().SelectOnly(0);
        items_.ShowInfo(0);
    } else {
        items_.ClearInfo();
    }
    ListChanged();
}

void ConfigDialog::SetInfo() {
    const long row = items_.view().FirstSelected();
    if (row < 0) return;
    items_.EndInplaceEdit();
    const ItemListPane::Info info = items_.ReadInfo();
    const SetOutcome outcome =
        SetItemInfo(items_.rows(), static_cast<size_t>(row), store_, info.shortName, info.hotkey1, info.hotkey2, info.description);
    modified_ = true;
    items_.view().Refresh();
    if (outcome == SetOutcome::HotkeyTaken) {
        ShowKey("HotkeyAlreadyExists");
        return;
    }
    items_.ShowInfo(row);
    if (TakesKeyFromOtherPrograms(ParseHotkey(info.hotkey1, info.hotkey2))) ShowKey("HotkeyTakesCharacter");
}

void ConfigDialog::ResetSelected() {
    items_.EndInplaceEdit();
    ResetRows(items_.rows(), items_.view().Selected(), store_);
    modified_ = true;
    items_.view().Refresh();
    items_.ShowInfo(items_.view().FirstSelected());
}

void ConfigDialog::ResetAll() {
    if (ShowKey("ResetAll", MB_YESNO) == IDNO) return;
    items_.EndInplaceEdit();
    ResetAllRows(items_.rows(), store_);
    modified_ = true;
    items_.view().Refresh();
    items_.ShowInfo(items_.view().FirstSelected());
}

void ConfigDialog::ExecSelected() {
    const long row = items_.view().FirstSelected();
    if (row < 0) {
        ShowKey("SelectItemTavrolinexList");
        return;
    }
    const std::string command = items_.rows()[static_cast<size_t>(row)].command;
    ExecuteItemText(hwnd(), command);
}

// Step E: a file (dropped, or chosen by "Files ..." or "Foder ...") becomes an item.
void ConfigDialog::AddFiles(const std::vector<FileToAdd>& files) {
    if (composed_.Checked()) {
        // Members of the composed box instead.
        std::vector<ComposedMember> members;
        for (const auto& file : files)
            if (!file.command.empty()) members.push_back({file.command, file.command});
        if (!members.empty()) AddMembers(members);
        return;
    }
    items_.EndInplaceEdit();
    bool added = false;
    for (const FileToAdd& file : files) added |= AddFileRow(file, items_.rows(), store_, newGuid_);
    if (!added) return;
    items_.view().Reset(items_.rows().size());
    items_.view().SelectOnly(static_cast<long>(items_.rows().size() - 1));
    items_.ShowInfo(static_cast<long>(items_.rows().size() - 1));
    ListChanged();
}

// Step C: the item list and what belongs to it give way to a taller tree.
void ConfigDialog::ToggleList() {
    listHidden_ = !listHidden_;
    items_.EndInplaceEdit();
    const int show = listHidden_ ? SW_HIDE : SW_SHOW;
    for (int id : {IDC_CFG_ITEMS, IDC_CFG_LIST_LABEL, IDC_CFG_ITEM_FIND_LABEL, IDC_CFG_ITEM_FIND, IDC_CFG_FIND_BY_SHORT,
                   IDC_CFG_LINK_SELECTED, IDC_CFG_LINK_ALL})
        ShowWindow(Item(id), show);
    const RECT& tree = treeLayout_;
    const LONG bottom = listHidden_ ? listLayout_.bottom : tree.bottom;
    SetWindowPos(Item(IDC_CFG_TREE), nullptr, tree.left, tree.top, tree.right - tree.left, bottom - tree.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const char* text = listHidden_ ? "ShowTavrolinexListButton" : "HideTavrolinexListButton";
    const char* tip = listHidden_ ? "Btn_ShowShortcut" : "Btn_HideShortcut";
    const std::string caption = MessageText(text);
    if (!caption.empty()) SetDlgItemTextA(hwnd(), IDC_CFG_HIDE_LIST, caption.c_str());
    if (ImageButton* button = Button(IDC_CFG_HIDE_LIST)) button->SetTooltip(MessageText(tip));
    InvalidateRect(hwnd(), nullptr, FALSE);  // the controls draw themselves
}

// "Urls": the addresses of the system's history, then those of Firefox's
// unless Firefox runs (its database is in use then).
void ConfigDialog::ImportUrls() {
    std::vector<CandidateRow> rows;
    MergeAddresses(rows, SystemHistoryAddresses());
    if (ProcessRunning("firefox.exe")) {
        ShowKey("FireFoxRunning");
    } else if (const std::wstring profiles = FirefoxProfilesFolder(); !profiles.empty()) {
        MergeAddresses(rows, FirefoxHistoryAddresses(FirefoxDatabasePath(profiles)));
    }
    candidates_.Set(std::move(rows));
}

void ConfigDialog::AddChosenFiles() {
    std::vector<FileToAdd> files;
    for (const FiledPath& file : ChooseFiles(hwnd())) files.push_back({FileTitleOf(file.shown), file.path, file.shown});
    AddFiles(files);
}

void ConfigDialog::AddChosenFolder() {
    if (const std::optional<FiledPath> folder = ChooseFolder(hwnd()))
        AddFiles({{FolderItemName(folder->shown), folder->path, folder->shown}});
}

}  // namespace tvx::win
