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
    EndInplaceEdit();
    if (!listed_) {
        rows_.clear();
    } else {
        rows_ = RowsForSelection(store_, listed_->nodeData, listed_ == &tree_.root());
        if (itemSortColumn_ >= 0) SortItemRows(rows_, itemSortColumn_, itemSortAscending_);
    }
    FrozenRedraw frozen(itemView_.hwnd());
    itemView_.Reset(rows_.size());
    if (rows_.empty()) {
        ClearInfo();
        return;
    }
    itemView_.SelectOnly(0);
    ShowInfo(0);
}

// The rows changed: the listed catalog's member list follows them, and so
// do its leaves in the tree.
void ConfigDialog::ListChanged() {
    if (listed_ && listed_ != &tree_.root()) listed_->nodeData = NodeDataFromRows(listed_->nodeData, rows_);
    RebuildLeaves();
    modified_ = true;
}

long ConfigDialog::RowShowing(size_t index) const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].index == index) return static_cast<long>(i);
    return -1;
}

void ConfigDialog::ShowInfo(long row) {
    if (row < 0 || static_cast<size_t>(row) >= rows_.size()) {
        ClearInfo();
        return;
    }
    const ItemRow& r = rows_[static_cast<size_t>(row)];
    SetDlgItemTextA(hwnd(), IDC_CFG_SHORT, r.shortName.c_str());
    HWND combo = Item(IDC_CFG_HOTKEY1);
    const LRESULT found = r.hotkey1.empty() ? CB_ERR
                                            : SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                           reinterpret_cast<LPARAM>(r.hotkey1.c_str()));
    SendMessageA(combo, CB_SETCURSEL, found == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(found), 0);
    SetDlgItemTextA(hwnd(), IDC_CFG_HOTKEY2, r.hotkey2.c_str());
    SetDlgItemTextA(hwnd(), IDC_CFG_DESC, r.description.c_str());
}

void ConfigDialog::ClearInfo() {
    SetDlgItemTextA(hwnd(), IDC_CFG_SHORT, "");
    SendMessageA(Item(IDC_CFG_HOTKEY1), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetDlgItemTextA(hwnd(), IDC_CFG_HOTKEY2, "");
    SetDlgItemTextA(hwnd(), IDC_CFG_DESC, "");
}

void ConfigDialog::FindItem() {
    const std::string text = BoxText(IDC_CFG_ITEM_FIND);
    long row;
    if (IsDlgButtonChecked(hwnd(), IDC_CFG_FIND_BY_SHORT) == BST_CHECKED) {
        row = FindByShortNameContaining(rows_, text);
    } else {
        const long current = itemView_.FirstSelected();
        row = FindByNamePrefix(rows_, text, current < 0 ? 0 : static_cast<size_t>(current));
    }
    if (row < 0) return;  // no match: the selection stays
    EndInplaceEdit();
    itemView_.SelectOnly(row);
    ShowInfo(row);
}

void ConfigDialog::SortItems(int column) {
    EndInplaceEdit();
    // Each click on a header of the list flips the direction, ascending first.
    itemSortAscending_ = itemSortColumn_ < 0 ? true : !itemSortAscending_;
    itemSortColumn_ = column;
    SortItemRows(rows_, column, itemSortAscending_);
    if (itemList_) itemList_->header().SetSortMark(column, itemSortAscending_);
    itemView_.Reset(rows_.size());
    ListChanged();
}

void ConfigDialog::AddCandidatesToList(bool all) {
    HWND tv = Item(IDC_CFG_TREE);
    CatalogNode* selected = SelectedCatalog();
    const bool usable = selected && selected != &tree_.root();
    if (all && !usable) {
        ShowKey("SelectCatalog");
        return;
    }
    if (!all && !TreeView_GetSelection(tv)) {
        ShowKey("SelectCatalog");
        return;
    }
    if (!all && !usable) {
        ShowKey("SelSubCatalog");
        return;
    }
    if (all && ShowKey("SelectAllItems", MB_YESNO) == IDNO) return;
    EndInplaceEdit();
    std::vector<size_t> chosen;
    if (all) {
        for (size_t i = candidates_.rows().size(); i-- > 0;) chosen.push_back(i);
    } else {
        chosen = candidates_.Selected();
    }
    {
        FrozenRedraw items(itemView_.hwnd()), cands(candidates_.list());
        AddCandidates(candidates_.rows(), chosen, rows_, store_, newGuid_);
        candidates_.Refresh();
        itemView_.Reset(rows_.size());
    }
    if (!rows_.empty()) itemView_.SelectOnly(static_cast<long>(rows_.size() - 1));
    ListChanged();
}

void ConfigDialog::RemoveFromList(bool all) {
    if (all && ShowKey("UnselectAllItems", MB_YESNO) == IDNO) return;
    EndInplaceEdit();
    if (IsDlgButtonChecked(hwnd(), IDC_CFG_UNCHANGE_COMPOSED) != BST_CHECKED && (all || itemView_.FirstSelected() >= 0))
        composed_.Clear();
    std::vector<size_t> chosen;
    if (all) {
        for (size_t i = 0; i < rows_.size(); ++i) chosen.push_back(i);
    } else {
        chosen = itemView_.Selected();
    }
    {
        FrozenRedraw items(itemView_.hwnd()), cands(candidates_.list());
        RemoveRows(rows_, chosen, store_, candidates_.rows());
        candidates_.Refresh();
        itemView_.Reset(rows_.size());
    }
    if (!all && !rows_.empty()) {
        itemView_.SelectOnly(0);
        ShowInfo(0);
    } else {
        ClearInfo();
    }
    ListChanged();
}

void ConfigDialog::SetInfo() {
    const long row = itemView_.FirstSelected();
    if (row < 0) return;
    EndInplaceEdit();
    HWND combo = Item(IDC_CFG_HOTKEY1);
    const int choice = static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0));
    const std::string hotkey1 = choice >= 0 ? SkinComboBox::ItemText(combo, choice) : std::string();
    const SetOutcome outcome = SetItemInfo(rows_, static_cast<size_t>(row), store_, BoxText(IDC_CFG_SHORT), hotkey1,
                                           BoxText(IDC_CFG_HOTKEY2), BoxText(IDC_CFG_DESC));
    modified_ = true;
    itemView_.Refresh();
    if (outcome == SetOutcome::HotkeyTaken) {
        ShowKey("HotkeyAlreadyExists");
        return;
    }
    ShowInfo(row);
    if (TakesKeyFromOtherPrograms(ParseHotkey(hotkey1, BoxText(IDC_CFG_HOTKEY2)))) ShowKey("HotkeyTakesCharacter");
}

void ConfigDialog::ResetSelected() {
    EndInplaceEdit();
    ResetRows(rows_, itemView_.Selected(), store_);
    modified_ = true;
    itemView_.Refresh();
    ShowInfo(itemView_.FirstSelected());
}

void ConfigDialog::ResetAll() {
    if (ShowKey("ResetAll", MB_YESNO) == IDNO) return;
    EndInplaceEdit();
    ResetAllRows(rows_, store_);
    modified_ = true;
    itemView_.Refresh();
    ShowInfo(itemView_.FirstSelected());
}

void ConfigDialog::ExecSelected() {
    const long row = itemView_.FirstSelected();
    if (row < 0) {
        ShowKey("SelectItemTavrolinexList");
        return;
    }
    const std::string command = rows_[static_cast<size_t>(row)].command;
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
    EndInplaceEdit();
    bool added = false;
    for (const FileToAdd& file : files) added |= AddFileRow(file, rows_, store_, newGuid_);
    if (!added) return;
    itemView_.Reset(rows_.size());
    itemView_.SelectOnly(static_cast<long>(rows_.size() - 1));
    ShowInfo(static_cast<long>(rows_.size() - 1));
    ListChanged();
}

// Step C: the item list and what belongs to it give way to a taller tree.
void ConfigDialog::ToggleList() {
    listHidden_ = !listHidden_;
    EndInplaceEdit();
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

// Step D of the list operations: the ShortName or Description cell of the
// selected row is edited in place; the text goes into the row when the row
// loses the selection (or the box its focus), and into the item-info box.
void ConfigDialog::BeginInplaceEdit(long row, int column) {
    EndInplaceEdit();
    HWND lv = itemView_.hwnd();
    if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return;
    if (!(SendMessageA(lv, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED)) return;
    RECT cell{};
    cell.top = column;
    cell.left = LVIR_LABEL;
    if (!SendMessageA(lv, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell))) return;
    if (!inplace_) {
        inplace_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, 0, 0, 10, 10, lv,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_CFG_INPLACE_EDIT)),
                                   reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd(), GWLP_HINSTANCE)), nullptr);
        SendMessageA(inplace_, WM_SETFONT, SendMessageA(lv, WM_GETFONT, 0, 0), FALSE);
        // Its notifications come to the list: pass them on to the dialog.
    }
    const ItemRow& r = rows_[static_cast<size_t>(row)];
    SetWindowTextA(inplace_, (column == 1 ? r.shortName : r.description).c_str());
    SetWindowPos(inplace_, HWND_TOP, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top,
                 SWP_SHOWWINDOW);
    inplaceRow_ = row;
    inplaceColumn_ = column;
    SetFocus(inplace_);
    SendMessageA(inplace_, EM_SETSEL, 0, -1);
}

void ConfigDialog::EndInplaceEdit() {
    if (inplaceRow_ < 0 || !inplace_) return;
    const long row = inplaceRow_;
    const int column = inplaceColumn_;
    inplaceRow_ = -1;
    inplaceColumn_ = -1;
    char text[4096] = {};
    GetWindowTextA(inplace_, text, sizeof text);
    ShowWindow(inplace_, SW_HIDE);
    if (static_cast<size_t>(row) >= rows_.size()) return;
    ItemRow& r = rows_[static_cast<size_t>(row)];
    (column == 1 ? r.shortName : r.description) = text;
    itemView_.Refresh();
    if (itemView_.FirstSelected() == row) ShowInfo(row);
}

void ConfigDialog::OpenKeyPopup() {
    if (keyPopupOpen_) return;
    HWND keys = Item(IDC_CFG_KEYS);
    keyPopupOpen_ = true;
    SetDragByBody(false);  // a press on the body now closes the pop-up
    EnableWindow(keys, TRUE);
    SetWindowPos(keys, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetFocus(keys);
}

void ConfigDialog::CloseKeyPopup() {
    if (!keyPopupOpen_) return;
    HWND keys = Item(IDC_CFG_KEYS);
    keyPopupOpen_ = false;
    if (GetFocus() == keys) SetFocus(Item(IDC_CFG_HOTKEY2));
    ShowWindow(keys, SW_HIDE);
    EnableWindow(keys, FALSE);
    SetDragByBody(true);
    InvalidateRect(hwnd(), nullptr, FALSE);  // the controls draw themselves
}

void ConfigDialog::ChooseKey() {
    HWND keys = Item(IDC_CFG_KEYS);
    const int row = static_cast<int>(SendMessageA(keys, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0) return;
    char text[16] = {};
    LVITEMA item = {};
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(keys, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SetDlgItemTextA(hwnd(), IDC_CFG_HOTKEY2, text);
    HWND combo = Item(IDC_CFG_HOTKEY1);
    if (SendMessageA(combo, CB_GETCURSEL, 0, 0) < 0) SendMessageA(combo, CB_SETCURSEL, 0, 0);  // "Ctrl"
    CloseKeyPopup();
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
