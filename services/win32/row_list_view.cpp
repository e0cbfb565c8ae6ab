#include "services/win32/row_list_view.h"

#include "data/ansi_text.h"

#include <algorithm>

namespace tvx::win {

void RowListView::Attach(HWND list, CellText text, RowImage image) {
    hwnd_ = list;
    text_ = std::move(text);
    image_ = std::move(image);
}

// Asking the list to deselect "all" walks every row (seconds for 100,000 of
// them), and so would deselecting row by row after a select-all. One
// selected row is deselected alone; more go at once with the rows
// themselves: a list of no rows has no selection, and the rows come back.
void RowListView::ClearSelection() {
    LVITEMA none = {};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    const LRESULT selected = SendMessageA(hwnd_, LVM_GETSELECTEDCOUNT, 0, 0);
    if (selected > 1) {
        SendMessageA(hwnd_, LVM_SETITEMCOUNT, 0, LVSICF_NOSCROLL);
        SendMessageA(hwnd_, LVM_SETITEMCOUNT, count_, LVSICF_NOSCROLL);
    } else if (selected == 1) {
        const LRESULT row = SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
        if (row >= 0) SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&none));
    }
    const LRESULT focused = SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED);
    if (focused >= 0) SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(focused), reinterpret_cast<LPARAM>(&none));
}

void RowListView::Reset(size_t count) {
    // The rows behind the list changed already: a row the list asks for while
    // it lets go of its selection must be one that still exists.
    count_ = std::min(count_, count);
    ClearSelection();
    count_ = count;
    SendMessageA(hwnd_, LVM_SETITEMCOUNT, count, LVSICF_NOSCROLL);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void RowListView::Refresh() const { InvalidateRect(hwnd_, nullptr, TRUE); }

std::vector<size_t> RowListView::Selected() const {
    std::vector<size_t> rows;
    long row = -1;
    while ((row = static_cast<long>(SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0) {
        if (static_cast<size_t>(row) >= count_) break;
        rows.push_back(static_cast<size_t>(row));
    }
    return rows;
}

long RowListView::FirstSelected() const {
    const long row = static_cast<long>(SendMessageA(hwnd_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return row >= 0 && static_cast<size_t>(row) < count_ ? row : -1;
}

void RowListView::SelectOnly(long row) {
    ClearSelection();
    if (row < 0 || static_cast<size_t>(row) >= count_) return;
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    SendMessageA(hwnd_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

void RowListView::SelectAll() {
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED;
    state.state = LVIS_SELECTED;
    SendMessageA(hwnd_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
}

bool RowListView::HandleNotify(NMHDR* header) {
    if (header->hwndFrom != hwnd_ || header->code != LVN_GETDISPINFOA) return false;  // the dialogs are ANSI windows
    auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
    const int row = info->item.iItem;
    if (row < 0 || static_cast<size_t>(row) >= count_) return true;
    if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0)
        CopyToCharBuffer(text_(static_cast<size_t>(row), info->item.iSubItem), info->item.pszText,
                         static_cast<size_t>(info->item.cchTextMax));
    if ((info->item.mask & LVIF_IMAGE) && image_) info->item.iImage = image_(static_cast<size_t>(row));
    return true;
}

}  // namespace tvx::win
