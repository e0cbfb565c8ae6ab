#include "ui/skin/win32/skin_controls.h"

#include "ui/skin/win32/skin_image.h"
#include "ui/skin/win32/subclass.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace tvx::win {

namespace {

struct ComboState {
    SkinImage arrow;
};

LRESULT CALLBACK ComboProc(HWND combo, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* state = reinterpret_cast<ComboState*>(data);
    if (msg == WM_NCDESTROY) {
        RemoveSubclass(combo, ComboProc, 1);
        std::unique_ptr<ComboState> owned(state);  // freed with the window
        return CallNextSubclass(combo, msg, wp, lp);
    }
    LRESULT r = CallNextSubclass(combo, msg, wp, lp);
    if ((msg == WM_PAINT || msg == WM_SETFOCUS || msg == WM_KILLFOCUS) && !state->arrow.empty()) {
        // The arrow image over the system's arrow button at the right end.
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        if (GetComboBoxInfo(combo, &info) && info.rcButton.right > info.rcButton.left) {
            WindowDC dc(combo);
            FillRect(dc.get(), &info.rcButton, reinterpret_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
            state->arrow.Draw(dc.get(), info.rcButton);
        }
    }
    return r;
}

struct EditState {
    bool hover = false;
};

void DrawFlatBorder(HWND edit) {
    WindowDC dc(edit, WindowDC::Whole);
    RECT rc;
    GetWindowRect(edit, &rc);
    OffsetRect(&rc, -rc.left, -rc.top);
    HBRUSH brush = GetSysColorBrush(COLOR_BTNHIGHLIGHT);  // a system brush: never deleted
    FrameRect(dc.get(), &rc, brush);
    InflateRect(&rc, -1, -1);
    FrameRect(dc.get(), &rc, brush);
}

LRESULT CALLBACK EditProc(HWND edit, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* state = reinterpret_cast<EditState*>(data);
    switch (msg) {
    case WM_NCDESTROY: {
        RemoveSubclass(edit, EditProc, 1);
        std::unique_ptr<EditState> owned(state);  // freed with the window
        return CallNextSubclass(edit, msg, wp, lp);
    }
    case WM_NCPAINT: {
        LRESULT r = CallNextSubclass(edit, msg, wp, lp);
        DrawFlatBorder(edit);
        return r;
    }
    case WM_MOUSEMOVE:
        if (!state->hover) {
            state->hover = true;
            TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, edit, 0};
            _TrackMouseEvent(&tme);
            DrawFlatBorder(edit);
        }
        break;
    case WM_MOUSELEAVE:
        state->hover = false;
        DrawFlatBorder(edit);
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
        LRESULT r = CallNextSubclass(edit, msg, wp, lp);
        DrawFlatBorder(edit);
        return r;
    }
    case WM_STYLECHANGED:
        SetWindowPos(edit, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        break;
    default:
        break;
    }
    return CallNextSubclass(edit, msg, wp, lp);
}

}  // namespace

void SkinComboBox::Attach(HWND combo, const std::string& arrowImage, int extraDropHeight) {
    if (!combo) return;
    auto state = std::make_unique<ComboState>();
    state->arrow.Load(arrowImage);
    // The window owns its state from here on and frees it when it goes.
    if (!AddSubclass(combo, ComboProc, 1, reinterpret_cast<DWORD_PTR>(state.get()))) return;
    state.release();
    RECT rc;
    GetWindowRect(combo, &rc);
    SetWindowPos(combo, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top + extraDropHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT SkinComboBox::HandleOwnerDraw(UINT msg, LPARAM lp) {
    if (msg == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = 14;
        return TRUE;
    }
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    const bool selected = (item->itemState & ODS_SELECTED) != 0 && !(item->itemState & ODS_COMBOBOXEDIT);
    FillRect(item->hDC, &item->rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item->itemID != static_cast<UINT>(-1)) {
        const std::string text = ItemText(item->hwndItem, static_cast<int>(item->itemID));
        SetBkMode(item->hDC, TRANSPARENT);
        ::SetTextColor(item->hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT rc = item->rcItem;
        rc.left += 2;
        DrawTextA(item->hDC, text.c_str(), static_cast<int>(text.size()), &rc,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    return TRUE;
}

// Read in the row's wide form and turned into the ANSI code page here: the
// system's own ANSI form of CB_GETLBTEXT goes through a buffer of its own,
// which Wine 10 overruns for a row of some thousand characters. Wine 8 in turn
// cuts the wide form of a row stored by an ANSI box, so where the wide read
// comes back shorter than the ANSI length, the ANSI form is read as well, into
// a buffer with room to spare, and the longer of the two is the row.
std::string SkinComboBox::ItemText(HWND combo, int index) {
    std::string text;
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length > 0) {
        std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
        const LRESULT got = SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&wide[0]));
        const int chars = got > 0 ? static_cast<int>(std::min<LRESULT>(got, length)) : 0;
        const int bytes = chars > 0 ? WideCharToMultiByte(CP_ACP, 0, wide.data(), chars, nullptr, 0, nullptr, nullptr) : 0;
        if (bytes > 0) {
            text.assign(static_cast<size_t>(bytes), '\0');
            WideCharToMultiByte(CP_ACP, 0, wide.data(), chars, &text[0], bytes, nullptr, nullptr);
        }
    }
    const LRESULT ansiLength = SendMessageA(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (ansiLength > 0 && static_cast<size_t>(ansiLength) > text.size()) {
        std::string ansi(static_cast<size_t>(ansiLength) * 2 + 16, '\0');
        const LRESULT got = SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ansi[0]));
        if (got > 0) {
            ansi.resize(std::min(static_cast<size_t>(got), std::strlen(ansi.c_str())));
            if (ansi.size() > text.size()) text = std::move(ansi);
        }
    }
    return text;
}

void FlatEdit::Attach(HWND edit) {
    if (!edit) return;
    auto state = std::make_unique<EditState>();
    if (AddSubclass(edit, EditProc, 1, reinterpret_cast<DWORD_PTR>(state.get()))) state.release();
}

}  // namespace tvx::win
