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
    ResultListPane& list = lists_[which];
    if (list.open()) return;
    ShowWindow(Item(IDC_HOTKEY_TEXT), SW_HIDE);
    list.Open(kOpenListHeight);
    if (which == kShort) {
        ShowWindow(Item(IDC_FIND_NAME), SW_HIDE);
        ShowWindow(Item(IDC_DROP_NAME), SW_HIDE);
    }
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void LauncherWindow::CloseList(Which which) {
    lists_[which].Close();
    ShowWindow(Item(IDC_FIND_NAME), SW_SHOW);
    ShowWindow(Item(IDC_DROP_NAME), SW_SHOW);
    ShowWindow(Item(IDC_HOTKEY_TEXT), SW_SHOW);
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void LauncherWindow::CloseBoth() {
    CloseList(kShort);
    CloseList(kName);
}

void LauncherWindow::FindAsYouType(Which which) {
    OpenList(which);
    lists_[which].SelectFirstMatch(store_, lists_[which].TypedText());
}

void LauncherWindow::StartSelected(Which which) {
    const long long position = lists_[which].PositionOf(lists_[which].SelectedRow());
    if (position < 0 || static_cast<unsigned long long>(position) >= store_.size()) return;
    const size_t p = static_cast<size_t>(position);
    suppressFind_ = true;
    ShowItem(p);
    const std::string command = store_[p].ExePath.str();
    ExecuteItemText(hwnd(), command);
}

void LauncherWindow::StartTypedText(Which which) {
    const std::string text = lists_[which].TypedText();
    if (text.empty()) return;
    if (lists_[which].SelectFirstMatch(store_, text)) StartSelected(which);
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

void LauncherWindow::ShowRow(Which which, size_t row) { ShowItem(lists_[which].PositionOf(static_cast<long>(row))); }

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

    if (lists_[kShort].open() && !in(IDC_FIND_SHORT) && !in(IDC_LIST_SHORT) && !in(IDC_DROP_SHORT))
        CloseList(kShort);
    if (!isMouse) return;
    if (left && (in(IDC_FIND_SHORT) || in(IDC_FIND_NAME))) {
        CloseBoth();
    } else if (left && lists_[kShort].open() && inRows(IDC_LIST_SHORT)) {
        CloseList(kShort);  // the press still reaches the list and shows the row under it
    } else if (left && lists_[kName].open() && inRows(IDC_LIST_NAME)) {
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
        const ResultListPane& list = lists_[which];
        if (target == list.box()) {
            if (key == VK_DOWN) {
                OpenList(which);
                SetFocus(list.list());
            } else {
                CloseList(which);
                if (key == VK_RETURN) StartTypedText(which);
            }
            return true;
        }
        if (target == list.list() && key != VK_DOWN) {
            CloseList(which);
            if (key == VK_RETURN) StartSelected(which);
            return true;
        }
    }
    return false;
}

}  // namespace tvx::win
