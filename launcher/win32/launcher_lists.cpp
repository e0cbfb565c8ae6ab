// The launcher window's two result lists (open, close, select, find as
// you type, start) and the keys and mouse presses it sees before its controls.
#include "launcher/win32/launcher_window.h"

#include "data/ansi_text.h"
#include "data/win32/clipboard_io.h"
#include "data/win32/file_io.h"
#include "data/win32/mailbox.h"
#include "data/win32/guid.h"
#include "data/win32/profile.h"
#include "data/win32/timing_log.h"
#include "services/win32/run_command.h"
#include "resources/resource_ids.h"
#include "ui/skin/win32/catalog_tree_view.h"
#include "ui/skin/win32/message_box.h"
#include "ui/skin/win32/resource_module.h"
#include "ui/skin/win32/subclass.h"

#include <windowsx.h>

#include <cstring>

namespace tvx::win {

namespace {
constexpr int kOpenListHeight = 60;
}  // namespace

// ---- the result lists -----------------------------------------------------

void LauncherWindow::OpenList(Which which) {
    ListPane& list = lists_[which];
    if (list.open) return;
    ShowWindow(Item(IDC_HOTKEY_TEXT), SW_HIDE);
    const RECT& r = list.layout;
    SetWindowPos(Item(list.listId), HWND_TOP, r.left, r.top, r.right - r.left, kOpenListHeight, SWP_SHOWWINDOW);
    if (which == kShort) {
        ShowWindow(Item(IDC_FIND_NAME), SW_HIDE);
        ShowWindow(Item(IDC_DROP_NAME), SW_HIDE);
    }
    list.open = true;
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void LauncherWindow::CloseList(Which which) {
    ListPane& list = lists_[which];
    // A hidden window cannot keep the focus: hand it to the list's box before
    // the system passes it on to the tree, whose first focus selects a node
    // and refills the lists.
    if (GetFocus() == Item(list.listId)) SetFocus(Item(list.boxId));
    if (list.open) {
        ShowWindow(Item(list.listId), SW_HIDE);
        list.open = false;
    }
    ShowWindow(Item(IDC_FIND_NAME), SW_SHOW);
    ShowWindow(Item(IDC_DROP_NAME), SW_SHOW);
    ShowWindow(Item(IDC_HOTKEY_TEXT), SW_SHOW);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void LauncherWindow::CloseBoth() {
    CloseList(kShort);
    CloseList(kName);
}

long LauncherWindow::SelectedRow(Which which) const {
    return static_cast<long>(
        SendMessageA(GetDlgItem(hwnd(), lists_[which].listId), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void LauncherWindow::SelectRow(Which which, long row) {
    HWND lv = Item(lists_[which].listId);
    // Typing selects a row at every key: the old row is let go by itself
    // first, because a single-selection list that has to find the old one
    // itself looks through all of its 100,000 rows. The focus mark follows
    // when the list takes the keyboard (ResultListProc).
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED;
    const LRESULT old = SendMessageA(lv, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED);
    if (old != row) {
        if (old >= 0) SendMessageA(lv, LVM_SETITEMSTATE, static_cast<WPARAM>(old), reinterpret_cast<LPARAM>(&state));
        state.state = LVIS_SELECTED;
        SendMessageA(lv, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&state));
    }
    SendMessageA(lv, LVM_ENSUREVISIBLE, static_cast<WPARAM>(row), FALSE);
}

std::string LauncherWindow::TypedText(Which which) const { return BoxText(lists_[which].boxId); }

bool LauncherWindow::SelectFirstMatch(Which which, const std::string& text) {
    long row = FindFirstPrefix(store_, lists_[which].rows, text);
    if (row < 0) return false;  // the selection stays as it was
    SelectRow(which, row);
    return true;
}

void LauncherWindow::FindAsYouType(Which which) {
    OpenList(which);
    SelectFirstMatch(which, TypedText(which));
}

void LauncherWindow::StartSelected(Which which) {
    const long row = SelectedRow(which);
    const ResultList& rows = lists_[which].rows;
    if (row < 0 || static_cast<size_t>(row) >= rows.size()) return;
    const size_t p = rows.positions[static_cast<size_t>(row)];
    if (p >= store_.size()) return;
    suppressFind_ = true;
    ShowItem(p);
    const std::string command = store_[p].ExePath.str();
    ExecuteItemText(hwnd(), command);
}

void LauncherWindow::StartTypedText(Which which) {
    const std::string text = TypedText(which);
    if (text.empty()) return;
    if (SelectFirstMatch(which, text)) StartSelected(which);
}

void LauncherWindow::ShowItem(long long position) {
    if (position < 0 || static_cast<unsigned long long>(position) >= store_.size()) return;
    const LaunchItem& item = store_[static_cast<size_t>(position)];
    suppressFind_ = true;
    SetWindowTextA(Item(IDC_FIND_NAME), item.Name.c_str());
    SetWindowTextA(Item(IDC_FIND_SHORT), item.ShortName.c_str());
    suppressFind_ = false;
    const std::string hotkey = item.Hotkey1 + " + " + item.Hotkey2;
    SetWindowTextA(Item(IDC_HOTKEY_TEXT), hotkey.c_str());
    SetWindowTextA(Item(IDC_DESCRIPTION), item.Description.c_str());
    current_ = position;
    // The two texts are drawn over the picture: repaint what lies behind them.
    for (int id : {IDC_HOTKEY_TEXT, IDC_DESCRIPTION}) {
        RECT rc = RectInParent(hwnd(), Item(id));
        InvalidateRect(hwnd(), &rc, TRUE);
    }
}

void LauncherWindow::ShowRow(Which which, size_t row) {
    const ResultList& rows = lists_[which].rows;
    if (row < rows.size()) ShowItem(rows.positions[row]);
}

LRESULT LauncherWindow::OnListNotify(Which which, NMHDR* header) {
    const ResultList& rows = lists_[which].rows;
    switch (header->code) {
    case LVN_GETDISPINFOA: {
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
        if (!(info->item.mask & LVIF_TEXT) || info->item.iItem < 0 ||
            static_cast<size_t>(info->item.iItem) >= rows.size() || info->item.cchTextMax <= 0)
            return 0;
        const size_t row = static_cast<size_t>(info->item.iItem);
        std::string position;
        std::string_view text;
        switch (info->item.iSubItem) {
        case 0: text = RowKey(store_, rows, row); break;
        case 1: text = RowSecond(store_, rows, row); break;
        case 2: text = RowDescription(store_, rows, row); break;
        default: text = position = std::to_string(rows.positions[row]); break;
        }
        CopyToCharBuffer(text, info->item.pszText, static_cast<size_t>(info->item.cchTextMax));
        return 0;
    }
    case NM_CLICK: {
        auto* click = reinterpret_cast<NMITEMACTIVATE*>(header);
        if (click->iItem >= 0) ShowRow(which, static_cast<size_t>(click->iItem));
        return 0;
    }
    default:
        return 0;
    }
}

// ---- keys and mouse, before the focused control sees them ------------------

bool LauncherWindow::PreTranslateMessage(MSG& msg) {
    // The program's hot keys are registered for the thread (no window); a hot
    // key that belongs to one of the program's windows goes to that window.
    if (msg.message == WM_HOTKEY && (!msg.hwnd || msg.hwnd == hwnd())) {
        OnHotkey(static_cast<int>(msg.wParam));
        return true;
    }
    if (!hwnd() || !msg.hwnd || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))) return false;
    switch (msg.message) {
    case WM_KEYDOWN:
        HandleMousePress(msg);
        return HandleKey(msg);
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN:
        HandleMousePress(msg);
        return false;
    default:
        return false;
    }
}

void LauncherWindow::HandleMousePress(const MSG& msg) {
    const HWND target = msg.hwnd;
    const bool left = msg.message == WM_LBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN;
    const bool isMouse = msg.message != WM_KEYDOWN;
    // A press in the control itself (its rows), or anywhere on it including
    // its skinned scroll bars, which scroll the list without closing it.
    auto inRows = [&](int id) { HWND c = Item(id); return target == c || IsChild(c, target); };
    auto in = [&](int id) { return inRows(id) || SkinScrollBar::TargetOf(target) == Item(id); };

    if (lists_[kShort].open && !in(IDC_FIND_SHORT) && !in(IDC_LIST_SHORT) && !in(IDC_DROP_SHORT))
        CloseList(kShort);
    if (!isMouse) return;
    if (left && (in(IDC_FIND_SHORT) || in(IDC_FIND_NAME))) {
        CloseBoth();
    } else if (left && lists_[kShort].open && inRows(IDC_LIST_SHORT)) {
        CloseList(kShort);  // the press still reaches the list and shows the row under it
    } else if (left && lists_[kName].open && inRows(IDC_LIST_NAME)) {
        CloseList(kName);
    } else if (target == hwnd() || (left && in(IDC_CATALOG_TREE))) {
        CloseBoth();
    }
}

bool LauncherWindow::HandleKey(MSG& msg) {
    const WPARAM key = msg.wParam;
    if (key != VK_DOWN && key != VK_RETURN && key != VK_ESCAPE) return false;
    const HWND target = msg.hwnd;
    for (Which which : {kShort, kName}) {
        const ListPane& list = lists_[which];
        if (target == Item(list.boxId)) {
            if (key == VK_DOWN) {
                OpenList(which);
                SetFocus(Item(list.listId));
            } else {
                CloseList(which);
                if (key == VK_RETURN) StartTypedText(which);
            }
            return true;
        }
        if (target == Item(list.listId) && key != VK_DOWN) {
            CloseList(which);
            if (key == VK_RETURN) StartSelected(which);
            return true;
        }
    }
    return false;
}

}  // namespace tvx::win
