#include "launcher/win32/result_list_pane.h"

#include "data/ansi_text.h"
#include "ui/skin/win32/dialog.h"
#include "ui/skin/win32/subclass.h"
#include "base/win32/window_text.h"

#include <utility>

namespace tvx::win {

namespace {

LRESULT CALLBACK ResultListProc(HWND list, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_NCDESTROY) RemoveSubclass(list, ResultListProc, 1);
    if (msg == WM_SETFOCUS) {
        // Typing only selects rows (moving the focus mark across a long
        // owner-data list is slow); the arrow keys start from the focus
        // mark, so it joins the selected row when the list takes the keys.
        const LRESULT selected = SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
        if (selected >= 0 && SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) != selected) {
            LVITEMA focus = {};
            focus.stateMask = focus.state = LVIS_FOCUSED;
            SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&focus));
        }
    }
    LRESULT r = CallNextSubclass(list, msg, wp, lp);
    if (msg == WM_KEYDOWN || msg == WM_LBUTTONDOWN) {
        // After the list has handled the key or the press: tell the window
        // which row is selected now, so that moving with the arrow keys
        // shows each item, and so does a click on a row (the press closes
        // the list, so its button-up never reaches the list).
        int row = static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
        if (row >= 0) SendMessageA(GetParent(list), kResultListNotify, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(list));
    }
    return r;
}

}  // namespace

void ResultListPane::Prepare(HWND window) {
    list_ = GetDlgItem(window, listId_);
    box_ = GetDlgItem(window, boxId_);
    layout_ = RectInParent(window, list_);
    SendMessageA(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    SendMessageA(list_, LVM_SETBKCOLOR, 0, RGB(255, 255, 255));
    SendMessageA(list_, LVM_SETTEXTBKCOLOR, 0, RGB(255, 255, 255));
}

void ResultListPane::AddColumns(SkinListCtrl* skin, bool shortNameFirst) {
    const char* first = shortNameFirst ? "ShortName" : "Program Name";
    const char* second = shortNameFirst ? "Program Name" : "ShortName";
    const std::pair<const char*, int> columns[] = {
        {first, shortNameFirst ? 60 : 120}, {second, shortNameFirst ? 120 : 60}, {"Program Description", 60}, {"IndexInAll", 0}};
    for (int i = 0; i < 4; ++i) {
        if (skin) {
            skin->InsertColumn(i, columns[i].first, SkinListCtrl::Left, columns[i].second);
            continue;
        }
        LVCOLUMNA col = {};
        col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        col.pszText = const_cast<char*>(columns[i].first);
        col.cx = columns[i].second;
        col.iSubItem = i;
        SendMessageA(list_, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&col));
    }
    AddSubclass(list_, ResultListProc, 1, 0);
}

void ResultListPane::Open(int height) {
    const RECT& r = layout_;
    SetWindowPos(list_, HWND_TOP, r.left, r.top, r.right - r.left, height, SWP_SHOWWINDOW);
    open_ = true;
}

void ResultListPane::Close() {
    // A hidden window cannot keep the focus: hand it to the list's box before
    // the system passes it on to the tree, whose first focus selects a node
    // and refills the lists.
    if (GetFocus() == list_) SetFocus(box_);
    if (open_) {
        ShowWindow(list_, SW_HIDE);
        open_ = false;
    }
}

void ResultListPane::SetRows(ResultList rows) {
    rows_ = std::move(rows);
    SendMessageA(list_, LVM_SETITEMCOUNT, rows_.size(), 0);
    InvalidateRect(list_, nullptr, TRUE);
}

long ResultListPane::SelectedRow() const {
    return static_cast<long>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void ResultListPane::SelectRow(long row) {
    // Typing selects a row at every key: the old row is let go by itself
    // first, because a single-selection list that has to find the old one
    // itself looks through all of its 100,000 rows. The focus mark follows
    // when the list takes the keyboard (ResultListProc).
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED;
    const LRESULT old = SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    if (old != row) {
        if (old >= 0) SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(old), reinterpret_cast<LPARAM>(&state));
        state.state = LVIS_SELECTED;
        SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    }
    SendMessageA(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

std::string ResultListPane::TypedText() const { return WindowText(box_); }

bool ResultListPane::SelectFirstMatch(const ItemStore& store, const std::string& text) {
    const long row = FindFirstPrefix(store, rows_, text);
    if (row < 0) return false;  // the selection stays as it was
    SelectRow(row);
    return true;
}

long long ResultListPane::PositionOf(long row) const {
    if (row < 0 || static_cast<size_t>(row) >= rows_.size()) return -1;
    return rows_.positions[static_cast<size_t>(row)];
}

LRESULT ResultListPane::OnNotify(const ItemStore& store, NMHDR* header,
                                 const std::function<void(size_t row)>& clicked) const {
    switch (header->code) {
    case LVN_GETDISPINFOA: {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
        if (!(info->item.mask & LVIF_TEXT) || info->item.iItem < 0 ||
            static_cast<size_t>(info->item.iItem) >= rows_.size() || info->item.cchTextMax <= 0)
            return 0;
        const size_t row = static_cast<size_t>(info->item.iItem);
        std::string position;
        std::string_view text;
        switch (info->item.iSubItem) {
        case 0: text = RowKey(store, rows_, row); break;
        case 1: text = RowSecond(store, rows_, row); break;
        case 2: text = RowDescription(store, rows_, row); break;
        default: text = position = std::to_string(rows_.positions[row]); break;
        }
        CopyToCharBuffer(text, info->item.pszText, static_cast<size_t>(info->item.cchTextMax));
        return 0;
    }
    case NM_CLICK: {
        auto* click = reinterpret_cast<NMITEMACTIVATE*>(header);
        if (click->iItem >= 0 && clicked) clicked(static_cast<size_t>(click->iItem));
        return 0;
    }
    default:
        return 0;
    }
}

}  // namespace tvx::win
