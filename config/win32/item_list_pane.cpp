#include "config/win32/item_list_pane.h"

#include "data/win32/profile.h"
#include "services/hotkey_table.h"
#include "resources/config_ids.h"
#include "ui/skin/win32/skin_controls.h"
#include "ui/skin/win32/skin_scroll_bar.h"
#include "base/win32/win_handles.h"
#include "base/win32/window_text.h"

namespace tvx::win {

namespace {

// Posted to the dialog once the list is done with a click (it takes the
// focus back): wParam the row, lParam the column.
constexpr UINT kBeginInplaceEdit = WM_APP + 3;

}  // namespace

void ItemListPane::Attach(HWND dialog, SkinListCtrl* list, Events events) {
    dialog_ = dialog;
    keys_ = GetDlgItem(dialog, IDC_CFG_KEYS);
    hotkey1_ = GetDlgItem(dialog, IDC_CFG_HOTKEY1);
    hotkey2_ = GetDlgItem(dialog, IDC_CFG_HOTKEY2);
    skin_ = list;
    events_ = std::move(events);
    if (skin_) {
        const std::pair<const char*, int> columns[] = {{"NameTitle_01", 300}, {"ShortNameTitle_01", 120},
                                                       {"Hotkey1Title_01", 80}, {"Hotkey2Title_01", 60},
                                                       {"DescriptionTitle_01", 300}};
        int i = 0;
        for (auto [key, width] : columns) skin_->InsertColumn(i++, MessageText(key), SkinListCtrl::Left, width);
        skin_->InsertColumn(5, "GUID", SkinListCtrl::Left, 0);
        skin_->InsertColumn(6, "Index", SkinListCtrl::Left, 0);
    }
    view_.Attach(
        GetDlgItem(dialog, IDC_CFG_ITEMS), [this](size_t r, int column) { return rows_[r].Cell(column); },
        [this](size_t r) { return rows_[r].Image(); });
}

void ItemListPane::FillKeys(SkinListCtrl* keys) {
    if (keys) keys->InsertColumn(0, "Keys", SkinListCtrl::Left, 60);
    for (const KeyName& key : kKeyNameTable) AppendTextRow(keys_, std::string(key.name));
}

long ItemListPane::RowShowing(size_t index) const {
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].index == index) return static_cast<long>(i);
    return -1;
}

void ItemListPane::Show(std::vector<ItemRow> rows) {
    EndInplaceEdit();
    rows_ = std::move(rows);
    if (sortColumn_ >= 0) SortItemRows(rows_, sortColumn_, sortAscending_);
    FrozenRedraw frozen(view_.hwnd());
    view_.Reset(rows_.size());
    if (rows_.empty()) {
        ClearInfo();
        return;
    }
    view_.SelectOnly(0);
    ShowInfo(0);
}

void ItemListPane::ShowInfo(long row) {
    if (row < 0 || static_cast<size_t>(row) >= rows_.size()) {
        ClearInfo();
        return;
    }
    const ItemRow& r = rows_[static_cast<size_t>(row)];
    SetDlgItemTextA(dialog_, IDC_CFG_SHORT, r.shortName.c_str());
    const LRESULT found = r.hotkey1.empty() ? CB_ERR
                                            : SendMessageA(hotkey1_, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                           reinterpret_cast<LPARAM>(r.hotkey1.c_str()));
    SendMessageA(hotkey1_, CB_SETCURSEL, found == CB_ERR ? static_cast<WPARAM>(-1) : static_cast<WPARAM>(found), 0);
    SetWindowTextA(hotkey2_, r.hotkey2.c_str());
    SetDlgItemTextA(dialog_, IDC_CFG_DESC, r.description.c_str());
}

void ItemListPane::ClearInfo() {
    SetDlgItemTextA(dialog_, IDC_CFG_SHORT, "");
    SendMessageA(hotkey1_, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowTextA(hotkey2_, "");
    SetDlgItemTextA(dialog_, IDC_CFG_DESC, "");
}

ItemListPane::Info ItemListPane::ReadInfo() const {
    Info info;
    const int choice = static_cast<int>(SendMessageA(hotkey1_, CB_GETCURSEL, 0, 0));
    if (choice >= 0) info.hotkey1 = SkinComboBox::ItemText(hotkey1_, choice);
    info.shortName = WindowText(GetDlgItem(dialog_, IDC_CFG_SHORT));
    info.hotkey2 = WindowText(hotkey2_);
    info.description = WindowText(GetDlgItem(dialog_, IDC_CFG_DESC));
    return info;
}

void ItemListPane::Find() {
    const std::string text = WindowText(GetDlgItem(dialog_, IDC_CFG_ITEM_FIND));
    long row;
    if (IsDlgButtonChecked(dialog_, IDC_CFG_FIND_BY_SHORT) == BST_CHECKED) {
        row = FindByShortNameContaining(rows_, text);
    } else {
        const long current = view_.FirstSelected();
        row = FindByNamePrefix(rows_, text, current < 0 ? 0 : static_cast<size_t>(current));
    }
    if (row < 0) return;  // no match: the selection stays
    EndInplaceEdit();
    view_.SelectOnly(row);
    ShowInfo(row);
}

void ItemListPane::Sort(int column) {
    EndInplaceEdit();
    // Each click on a header of the list flips the direction, ascending first.
    sortAscending_ = sortColumn_ < 0 ? true : !sortAscending_;
    sortColumn_ = column;
    SortItemRows(rows_, column, sortAscending_);
    if (skin_) skin_->header().SetSortMark(column, sortAscending_);
    view_.Reset(rows_.size());
    if (events_.rowsReordered) events_.rowsReordered();
}

// The ShortName or Description cell of the selected row is edited in place;
// the text goes into the row when the row loses the selection (or the box
// its focus), and into the item-info box.
void ItemListPane::BeginInplaceEdit(long row, int column) {
    EndInplaceEdit();
    HWND lv = view_.hwnd();
    if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return;
    if (!(SendMessageA(lv, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_SELECTED) & LVIS_SELECTED)) return;
    RECT cell{};
    cell.top = column;
    cell.left = LVIR_LABEL;
    if (!SendMessageA(lv, LVM_GETSUBITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&cell))) return;
    if (!inplace_) {
        // Its notifications go to the list, which passes them on to the dialog.
        inplace_ = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, 0, 0, 10, 10, lv,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_CFG_INPLACE_EDIT)),
                                   reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog_, GWLP_HINSTANCE)), nullptr);
        SendMessageA(inplace_, WM_SETFONT, SendMessageA(lv, WM_GETFONT, 0, 0), FALSE);
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

void ItemListPane::EndInplaceEdit() {
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
    view_.Refresh();
    if (view_.FirstSelected() == row) ShowInfo(row);
}

void ItemListPane::OpenKeyPopup() {
    if (keyPopupOpen_) return;
    keyPopupOpen_ = true;
    if (events_.dragByBody) events_.dragByBody(false);  // a press on the body now closes the pop-up
    EnableWindow(keys_, TRUE);
    SetWindowPos(keys_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetFocus(keys_);
}

void ItemListPane::CloseKeyPopup() {
    if (!keyPopupOpen_) return;
    keyPopupOpen_ = false;
    if (GetFocus() == keys_) SetFocus(hotkey2_);
    ShowWindow(keys_, SW_HIDE);
    EnableWindow(keys_, FALSE);
    if (events_.dragByBody) events_.dragByBody(true);
    InvalidateRect(dialog_, nullptr, FALSE);  // the controls draw themselves
}

void ItemListPane::ChooseKey() {
    const int row = static_cast<int>(SendMessageA(keys_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0) return;
    char text[16] = {};
    LVITEMA item = {};
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(keys_, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    SetWindowTextA(hotkey2_, text);
    if (SendMessageA(hotkey1_, CB_GETCURSEL, 0, 0) < 0) SendMessageA(hotkey1_, CB_SETCURSEL, 0, 0);  // "Ctrl"
    CloseKeyPopup();
}

// ---- messages ---------------------------------------------------------------------------

bool ItemListPane::PreTranslate(const MSG& msg) {
    if (keyPopupOpen_) {
        const bool inPopup = msg.hwnd == keys_ || SkinScrollBar::TargetOf(msg.hwnd) == keys_;
        if ((msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN) && !inPopup) CloseKeyPopup();
        if (msg.message == WM_KEYDOWN && inPopup && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
            CloseKeyPopup();
            return true;
        }
    }
    if (msg.message == WM_LBUTTONDOWN && msg.hwnd == hotkey2_) {
        OpenKeyPopup();
        return true;
    }
    return false;
}

bool ItemListPane::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case kBeginInplaceEdit:
        BeginInplaceEdit(static_cast<long>(wp), static_cast<int>(lp));
        result = 0;
        return true;
    case WM_LBUTTONDOWN:
        // Only reaches the dialog while the key pop-up is open (otherwise
        // the body drags the window); the dialog goes on with it.
        CloseKeyPopup();
        return false;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        if (wp != IDC_CFG_HOTKEY1) return false;
        result = SkinComboBox::HandleOwnerDraw(msg, lp);
        return true;
    case WM_CTLCOLORSTATIC:
        if (reinterpret_cast<HWND>(lp) != hotkey2_) return false;
        // A read-only box that still looks like a box.
        SetBkColor(reinterpret_cast<HDC>(wp), RGB(255, 255, 255));
        result = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        return true;
    default:
        return false;
    }
}

bool ItemListPane::HandleNotify(NMHDR* header) {
    if (view_.HandleNotify(header)) return true;
    if (header->hwndFrom == keys_) {
        if (header->code == NM_CLICK) ChooseKey();
        return true;
    }
    if (header->hwndFrom != view_.hwnd()) return false;
    switch (header->code) {
    case NM_CLICK: {
        auto* click = reinterpret_cast<NMITEMACTIVATE*>(header);
        LVHITTESTINFO hit = {};
        hit.pt = click->ptAction;
        SendMessageA(header->hwndFrom, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        if (hit.iItem < 0) break;
        ShowInfo(hit.iItem);
        if (events_.rowClicked) events_.rowClicked(hit.iItem);
        if (hit.iSubItem == 1 || hit.iSubItem == 4)
            PostMessageA(dialog_, kBeginInplaceEdit, static_cast<WPARAM>(hit.iItem), hit.iSubItem);
        break;
    }
    case LVN_ITEMCHANGED: {
        auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        if (inplaceRow_ >= 0 && (change->iItem == inplaceRow_ || change->iItem == -1) &&
            (change->uOldState & LVIS_SELECTED) && !(change->uNewState & LVIS_SELECTED))
            EndInplaceEdit();
        break;
    }
    case LVN_COLUMNCLICK: {
        const int column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
        if (column == 0 || column == 1) Sort(column);
        break;
    }
    case LVN_BEGINSCROLL:
        EndInplaceEdit();
        break;
    case NM_DBLCLK:
        if (events_.doubleClicked) events_.doubleClicked();
        break;
    default:
        break;
    }
    return true;
}

bool ItemListPane::HandleCommand(int id, int code, HWND control) {
    switch (id) {
    case IDC_CFG_INPLACE_EDIT:
        if (code == EN_KILLFOCUS) EndInplaceEdit();
        return true;
    case IDC_CFG_ITEM_FIND:
        if (code == EN_CHANGE) Find();
        return true;
    case IDC_CFG_HOTKEY1:
        if (code == CBN_SELCHANGE &&
            SkinComboBox::ItemText(control, static_cast<int>(SendMessageA(control, CB_GETCURSEL, 0, 0))) == "No Hotkey") {
            SetWindowTextA(hotkey2_, "");
            SendMessageA(control, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        }
        return true;
    case IDC_CFG_HOTKEY2_DROP:
        OpenKeyPopup();
        return true;
    default:
        return false;
    }
}

}  // namespace tvx::win
