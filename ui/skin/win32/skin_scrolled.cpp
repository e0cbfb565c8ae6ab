#include "ui/skin/win32/skin_scrolled.h"

#include "ui/skin/win32/subclass.h"

#include <commctrl.h>

#include <cstdlib>

namespace tvx::win {

SkinScrolledControl::SkinScrolledControl() = default;

SkinScrolledControl::~SkinScrolledControl() {
    if (hwnd_) RemoveSubclass(hwnd_, Proc, 1);
}

bool SkinScrolledControl::Attach(HWND control, const Installation& installation) {
    if (!control || hwnd_) return false;
    hwnd_ = control;
    if (!AddSubclass(control, Proc, 1, reinterpret_cast<DWORD_PTR>(this))) {
        hwnd_ = nullptr;
        return false;
    }
    HideSystemBars();
    SetWindowPos(control, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    OnAttached();
    vbar_ = std::make_unique<SkinScrollBar>(*this, true);
    hbar_ = std::make_unique<SkinScrollBar>(*this, false);
    vbar_->Create(installation);
    hbar_->Create(installation);
    PlaceBars();
    return true;
}

LRESULT SkinScrolledControl::Default(UINT msg, WPARAM wp, LPARAM lp) { return CallNextSubclass(hwnd_, msg, wp, lp); }

void SkinScrolledControl::PlaceBars() {
    if (vbar_) vbar_->Place();
    if (hbar_) hbar_->Place();
    // The dialog paints the frame round a shown control: repaint where it
    // was and where it is now.
    const RECT now = Visible() ? FrameRect() : RECT{};
    if (!EqualRect(&now, &framed_) && hwnd_) {
        HWND parent = GetParent(hwnd_);
        for (const RECT* rc : {static_cast<const RECT*>(&framed_), &now}) {
            if (IsRectEmpty(rc)) continue;
            RECT area = *rc;
            InflateRect(&area, 1, 1);
            InvalidateRect(parent, &area, TRUE);
        }
        framed_ = now;
    }
}

void SkinScrolledControl::SyncBars() {
    // The bars ask the control for its position, which comes back through
    // this subclass: no second sync from inside the first.
    if (syncDepth_ > 0) return;
    ++syncDepth_;
    if (vbar_) vbar_->Sync();
    if (hbar_) hbar_->Sync();
    --syncDepth_;
}

RECT SkinScrolledControl::FrameRect() const {
    RECT rc{};
    if (!hwnd_) return rc;
    GetWindowRect(hwnd_, &rc);
    MapWindowPoints(nullptr, GetParent(hwnd_), reinterpret_cast<POINT*>(&rc), 2);
    return RECT{rc.left - 1, rc.top - 1, rc.right + SkinScrollBar::kThickness, rc.bottom + SkinScrollBar::kThickness};
}

// The control sets WS_VSCROLL and WS_HSCROLL again whenever its content
// outgrows it; they are taken off each time its frame is computed, so that
// the system never gives them room or paints them. The control itself is not
// told (it would lay itself out again and show them once more).
void SkinScrolledControl::HideSystemBars() {
    const LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    if (!(style & (WS_VSCROLL | WS_HSCROLL))) return;
    hidingBars_ = true;
    SetWindowLongPtrA(hwnd_, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VSCROLL | WS_HSCROLL));
    hidingBars_ = false;
}

void SkinScrolledControl::ScrollLines(bool vertical, int lines) {
    for (int i = 0; i < std::abs(lines); ++i) Step(vertical, lines < 0 ? SB_LINEUP : SB_LINEDOWN);
}

void SkinScrolledControl::OnWheel(WPARAM wp, bool horizontal) {
    wheelRest_ += GET_WHEEL_DELTA_WPARAM(wp);
    const int notches = wheelRest_ / WHEEL_DELTA;
    wheelRest_ -= notches * WHEEL_DELTA;
    if (notches == 0) return;
    // A turn away from the user scrolls up (or, sideways, to the right).
    const int direction = horizontal ? (notches > 0 ? 1 : -1) : (notches > 0 ? -1 : 1);
    const bool vertical = !horizontal;
    if (!Scrollable(Range(vertical))) return;
    UINT lines = 3;
    SystemParametersInfoA(horizontal ? 0x006C /*SPI_GETWHEELSCROLLCHARS*/ : SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    if (lines == WHEEL_PAGESCROLL) {
        for (int i = 0; i < std::abs(notches); ++i) Step(vertical, direction < 0 ? SB_PAGEUP : SB_PAGEDOWN);
    } else {
        ScrollLines(vertical, direction * std::abs(notches) * static_cast<int>(lines == 0 ? 3 : lines));
    }
}

LRESULT CALLBACK SkinScrolledControl::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
    auto* control = reinterpret_cast<SkinScrolledControl*>(self);
    if (msg == WM_NCDESTROY) {
        RemoveSubclass(hwnd, Proc, 1);
        control->hwnd_ = nullptr;
        return CallNextSubclass(hwnd, msg, wp, lp);
    }
    return control->Dispatch(msg, wp, lp);
}

LRESULT SkinScrolledControl::Dispatch(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCCALCSIZE:
        HideSystemBars();
        return Default(msg, wp, lp);
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
        if (hidingBars_) return 0;
        break;
    case WM_MOUSEWHEEL:
    case 0x020E:  // WM_MOUSEHWHEEL
        OnWheel(wp, msg != WM_MOUSEWHEEL);
        SyncBars();
        return 0;
    case WM_NCHITTEST:
    case WM_SETCURSOR:
    case WM_GETDLGCODE:
    case WM_NCMOUSEMOVE:
        return OnMessage(msg, wp, lp);  // never scroll
    case WM_SETREDRAW:
        // While the control is frozen for many changes (thousands of rows or
        // nodes going in), the bars wait for the end instead of asking the
        // control about its range after every one.
        frozen_ = wp == FALSE;
        break;
    default:
        break;
    }
    LRESULT result = OnMessage(msg, wp, lp);
    if (!hwnd_) return result;
    if (msg == WM_WINDOWPOSCHANGED) PlaceBars();  // moved, resized, shown or hidden
    if (frozen_) return result;
    if (msg != WM_MOUSEMOVE || (wp & (MK_LBUTTON | MK_RBUTTON))) SyncBars();
    return result;
}

}  // namespace tvx::win
