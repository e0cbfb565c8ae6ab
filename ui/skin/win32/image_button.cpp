#include "ui/skin/win32/image_button.h"

#include "ui/skin/win32/subclass.h"

#include <commctrl.h>
#include <windowsx.h>

#include <vector>

namespace tvx::win {

HCURSOR HandCursor() {
    static HCURSOR cursor = [] {
        HCURSOR c = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // IDC_HAND
        if (c) return c;
        char windows[MAX_PATH] = {};
        GetWindowsDirectoryA(windows, MAX_PATH);
        std::string path = std::string(windows) + "\\winhlp32.exe";
        HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (!module) return static_cast<HCURSOR>(nullptr);
        HCURSOR fromFile = LoadCursorA(module, MAKEINTRESOURCEA(106));
        HCURSOR copy = fromFile ? static_cast<HCURSOR>(CopyImage(fromFile, IMAGE_CURSOR, 0, 0, 0)) : nullptr;
        FreeLibrary(module);
        return copy;
    }();
    return cursor;
}

ImageButton::~ImageButton() {
    if (hwnd_) RemoveSubclass(hwnd_, SubclassProc, 1);
    // The tooltip belongs to the dialog, which usually has destroyed it by
    // now; tooltip_ is cleared when that happens, so a stale handle is never used.
    if (tooltip_) {
        RemoveSubclass(tooltip_, TooltipProc, 1);
        DestroyWindow(tooltip_);
    }
}

LRESULT CALLBACK ImageButton::TooltipProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
    if (msg == WM_NCDESTROY) {
        RemoveSubclass(hwnd, TooltipProc, 1);
        reinterpret_cast<ImageButton*>(self)->tooltip_ = nullptr;
    }
    return CallNextSubclass(hwnd, msg, wp, lp);
}

bool ImageButton::Attach(HWND button) {
    if (!button || hwnd_) return false;
    hwnd_ = button;
    return AddSubclass(button, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this)) != FALSE;
}

void ImageButton::SetImages(const std::string& normal, const std::string& pressed, const std::string& hover) {
    SkinImage image;
    if (!normal.empty() && image.Load(normal)) normal_ = std::move(image);
    if (!pressed.empty() && image.Load(pressed)) pressed_ = std::move(image);
    if (!hover.empty() && image.Load(hover)) hover_image_ = std::move(image);
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void ImageButton::SetTooltip(const std::string& text) {
    if (!hwnd_) return;
    // A picture without a caption gets the tooltip's text as its name, which
    // a screen reader says instead of a bare "button".
    if (textIsNameOnly_ || GetWindowTextLengthA(hwnd_) == 0) {
        textIsNameOnly_ = true;
        SetWindowTextA(hwnd_, text.c_str());
    }
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = GetParent(hwnd_);
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd_);
    ti.lpszText = const_cast<char*>(text.c_str());
    if (!tooltip_) {
        tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, GetParent(hwnd_), nullptr, nullptr,
                                   nullptr);
        if (!tooltip_) return;
        AddSubclass(tooltip_, TooltipProc, 1, reinterpret_cast<DWORD_PTR>(this));
        SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
        SendMessageA(tooltip_, TTM_ACTIVATE, TRUE, 0);
    } else {
        SendMessageA(tooltip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
    }
}

void ImageButton::SetChecked(bool checked) {
    checked_ = checked;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void ImageButton::SetShape(HBITMAP shape) {
    if (!hwnd_ || !shape) return;
    BITMAP bm = {};
    if (!GetObjectA(shape, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return;
    WindowDC screen(nullptr);
    MemoryDC dc(screen.get());
    UniqueGdi<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    {
        SelectGuard select(dc.get(), shape);
        for (int y = 0; y < bm.bmHeight; ++y) {
            for (int x = 0; x < bm.bmWidth;) {
                while (x < bm.bmWidth && GetPixel(dc.get(), x, y) == RGB(255, 255, 255)) ++x;
                const int start = x;
                while (x < bm.bmWidth && GetPixel(dc.get(), x, y) != RGB(255, 255, 255)) ++x;
                if (x > start) {
                    UniqueGdi<HRGN> run(CreateRectRgn(start, y, x, y + 1));
                    CombineRgn(region.get(), region.get(), run.get(), RGN_OR);
                }
            }
        }
    }
    SetWindowPos(hwnd_, nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // The window owns the region once it has taken it.
    if (SetWindowRgn(hwnd_, region.get(), TRUE)) region.release();
}

namespace {
// A text button's face keeps its rounded ends at any width; a picture
// button's image is its picture, stretched whole.
void DrawFace(const SkinImage& image, HDC dc, const RECT& rc, bool hasText) {
    if (hasText) image.DrawKeepingEnds(dc, rc);
    else image.Draw(dc, rc);
}
}  // namespace

void ImageButton::Draw(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    const RECT& rc = item.rcItem;
    char text[256] = {};
    if (!textIsNameOnly_) GetWindowTextA(item.hwndItem, text, sizeof text);
    RECT textRc = rc;
    SetBkMode(dc, TRANSPARENT);
    const bool pressed = (item.itemState & ODS_SELECTED) != 0 || ((mode_ == Check || mode_ == Radio) && checked_);
    const bool focused = (item.itemState & ODS_FOCUS) != 0;

    if (item.itemState & ODS_DISABLED) {
        if (!normal_.empty()) DrawFace(normal_, dc, rc, text[0] != '\0');
        else FillRect(dc, &rc, GetSysColorBrush(COLOR_BTNFACE));
        RECT shadow = rc;
        OffsetRect(&shadow, 1, 1);
        ::SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHT));
        DrawTextA(dc, text, -1, &shadow, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        ::SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextA(dc, text, -1, &textRc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return;
    }
    const SkinImage* image;
    if (pressed && !pressed_.empty()) {
        image = &pressed_;
        OffsetRect(&textRc, 1, 1);
    } else if (hover_ && !hover_image_.empty()) {
        image = &hover_image_;
    } else if (focused && !pressed_.empty()) {
        image = &pressed_;
    } else {
        image = &normal_;
    }
    if (!image->empty()) {
        DrawFace(*image, dc, rc, text[0] != '\0');
    } else {
        UINT state = DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0);
        DrawFrameControl(dc, const_cast<RECT*>(&rc), DFC_BUTTON, state);
    }
    if (focused && focusInset_ > 0) {
        RECT focus = rc;
        InflateRect(&focus, -focusInset_, -focusInset_);
        DrawFocusRect(dc, &focus);
    }
    ::SetTextColor(dc, image->empty() ? GetSysColor(COLOR_BTNTEXT) : textColor_);
    DrawTextA(dc, text, -1, &textRc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT CALLBACK ImageButton::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
    ImageButton* button = reinterpret_cast<ImageButton*>(self);
    if (msg == WM_NCDESTROY) {
        RemoveSubclass(hwnd, SubclassProc, 1);
        button->hwnd_ = nullptr;
        return CallNextSubclass(hwnd, msg, wp, lp);
    }
    return button->OnMessage(msg, wp, lp);
}

LRESULT ImageButton::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_MOUSEMOVE:
        if (!tracking_) {
            TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd_, 0};
            tracking_ = _TrackMouseEvent(&tme) != FALSE;
        }
        if (!hover_) {
            hover_ = true;
            InvalidateRect(hwnd_, nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        tracking_ = false;
        hover_ = false;
        InvalidateRect(hwnd_, nullptr, FALSE);
        break;
    case WM_SETCURSOR:
        if (HCURSOR hand = HandCursor()) {
            SetCursor(hand);
            return TRUE;
        }
        break;
    case WM_LBUTTONUP:
        if (GetCapture() == hwnd_ && mode_ != Plain) {
            POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            RECT rc;
            GetClientRect(hwnd_, &rc);
            if (PtInRect(&rc, pt)) SetChecked(mode_ == Check ? !checked_ : true);
        }
        break;
    case WM_KEYUP:
        if (wp == VK_SPACE && mode_ != Plain) SetChecked(mode_ == Check ? !checked_ : true);
        break;
    default:
        break;
    }
    // The standard button does the rest: capture while pressed, the pushed
    // look following the pointer, and a click only when released over it.
    return CallNextSubclass(hwnd_, msg, wp, lp);
}

}  // namespace tvx::win
