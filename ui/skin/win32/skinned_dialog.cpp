#include "ui/skin/win32/skinned_dialog.h"

#include <windowsx.h>

#include <algorithm>

namespace tvx::win {

SkinnedDialog::~SkinnedDialog() {
    // The window goes first, before the skinned controls and image buttons
    // that subclass its children.
    DestroyNow();
}

void SkinnedDialog::AddTooltip(int id, const std::string& text) {
    HWND control = Item(id);
    if (!control) return;
    if (!tooltips_) {
        tooltips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, nullptr, nullptr);
        if (!tooltips_) return;
        SendMessageA(tooltips_, TTM_ACTIVATE, TRUE, 0);
    }
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd();
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<char*>(text.c_str());
    SendMessageA(tooltips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void SkinnedDialog::SetBackground(const std::string& path) {
    background_.Load(path);
    picture_.reset();
    backgroundBrush_.reset();
}

HBITMAP SkinnedDialog::Picture() {
    RECT rc;
    GetClientRect(hwnd(), &rc);
    if (!picture_ || pictureSize_.cx != rc.right || pictureSize_.cy != rc.bottom) {
        WindowDC screen(hwnd());
        MemoryDC mem(screen.get());
        picture_.reset(CreateCompatibleBitmap(screen.get(), std::max<LONG>(rc.right, 1), std::max<LONG>(rc.bottom, 1)));
        SelectGuard select(mem.get(), picture_.get());
        if (background_.empty()) FillRect(mem.get(), &rc, GetSysColorBrush(COLOR_BTNFACE));
        else background_.Draw(mem.get(), rc);
        pictureSize_ = SIZE{rc.right, rc.bottom};
        backgroundBrush_.reset();
    }
    return picture_.get();
}

void SkinnedDialog::Paint() {
    PaintDC paint(hwnd());
    RECT rc;
    GetClientRect(hwnd(), &rc);
    const int width = std::max<LONG>(rc.right, 1), height = std::max<LONG>(rc.bottom, 1);
    HBITMAP picture = Picture();
    MemoryDC frame(paint.get()), source(paint.get());
    UniqueGdi<HBITMAP> bitmap(CreateCompatibleBitmap(paint.get(), width, height));
    SelectGuard selectFrame(frame.get(), bitmap.get());
    {
        SelectGuard selectSource(source.get(), picture);
        BitBlt(frame.get(), 0, 0, width, height, source.get(), 0, 0, SRCCOPY);
    }
    PaintOver(frame.get());
    const RECT& dirty = paint.info().rcPaint;
    BitBlt(paint.get(), dirty.left, dirty.top, dirty.right - dirty.left, dirty.bottom - dirty.top, frame.get(),
           dirty.left, dirty.top, SRCCOPY);
}

void SkinnedDialog::PaintOver(HDC dc) { PaintControlFrames(dc); }

HBRUSH SkinnedDialog::BackgroundBrushFor(HDC dc, HWND child) {
    // Without its picture the dialog shows the face colour, and so do the labels.
    HBITMAP picture = Picture();  // resets the brush when the size changed
    if (!backgroundBrush_) backgroundBrush_.reset(CreatePatternBrush(picture));
    POINT origin{0, 0};
    MapWindowPoints(child, hwnd(), &origin, 1);
    SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
    return backgroundBrush_.get();
}

ImageButton* SkinnedDialog::SetButtonImages(int id, const std::string& normal, const std::string& pressed,
                                     const std::string& tooltip) {
    std::unique_ptr<ImageButton>& slot = buttons_[id];
    if (!slot) {
        slot = std::make_unique<ImageButton>();
        slot->Attach(Item(id));
    }
    slot->SetImages(normal, pressed, pressed);
    if (!tooltip.empty()) slot->SetTooltip(tooltip);
    return slot.get();
}

void SkinnedDialog::ApplyFrame(const Installation& installation, const SkinFrame& frame) {
    SetBackground(installation.Image(frame.background));
    SetTransparentLabels(true);
    SetDragByBody(frame.dragByBody);
    for (const FrameButton& button : frame.buttons) ApplyButton(installation, button);
}

ImageButton* SkinnedDialog::ApplyButton(const Installation& installation, const FrameButton& button) {
    return SetButtonImages(button.id, installation.Image(button.normal), installation.Image(button.pressed), button.tip);
}

ImageButton* SkinnedDialog::Button(int id) {
    auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second.get();
}

void SkinnedDialog::PaintBackground(HDC dc, HWND child, const RECT& childRect) {
    if (background_.empty()) {
        FillRect(dc, &childRect, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    RECT parentRc;
    GetClientRect(hwnd(), &parentRc);
    POINT origin{0, 0};
    MapWindowPoints(child, hwnd(), &origin, 1);
    int saved = SaveDC(dc);
    IntersectClipRect(dc, childRect.left, childRect.top, childRect.right, childRect.bottom);
    SetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
    background_.Draw(dc, parentRc);
    RestoreDC(dc, saved);
}

SkinListCtrl* SkinnedDialog::SkinList(int id, const Installation& installation) {
    auto list = std::make_unique<SkinListCtrl>();
    if (!list->Attach(Item(id), installation)) return nullptr;
    skinned_.push_back(std::move(list));
    return static_cast<SkinListCtrl*>(skinned_.back().get());
}

SkinTreeCtrl* SkinnedDialog::SkinTree(int id, const Installation& installation) {
    auto tree = std::make_unique<SkinTreeCtrl>();
    if (!tree->Attach(Item(id), installation)) return nullptr;
    skinned_.push_back(std::move(tree));
    return static_cast<SkinTreeCtrl*>(skinned_.back().get());
}

void SkinnedDialog::PaintControlFrames(HDC dc) const {
    if (skinned_.empty()) return;
    UniqueGdi<HBRUSH> fill(CreateSolidBrush(RGB(161, 222, 255)));
    UniqueGdi<HPEN> outline(CreatePen(PS_SOLID, 1, RGB(212, 208, 200)));
    SelectGuard brush(dc, fill.get());
    SelectGuard pen(dc, outline.get());
    for (const auto& control : skinned_) {
        if (!control->Visible()) continue;
        const RECT rc = control->FrameRect();
        RoundRect(dc, rc.left, rc.top, rc.right, rc.bottom, 1, 1);
    }
}

void SkinnedDialog::OutlineTextBoxes(HDC dc, const std::vector<int>& ids, int widenTo) const {
    UniqueGdi<HPEN> outline(CreatePen(PS_SOLID, 1, RGB(161, 220, 255)));
    SelectGuard pen(dc, outline.get());
    SelectGuard brush(dc, GetStockObject(WHITE_BRUSH));
    for (int id : ids) {
        HWND box = Item(id);
        if (!IsWindowVisible(box)) continue;
        RECT rc{};
        GetWindowRect(box, &rc);
        MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&rc), 2);
        if (widenTo) {
            RECT extra{};
            GetWindowRect(Item(widenTo), &extra);
            MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&extra), 2);
            rc.right = extra.right;
        }
        RoundRect(dc, rc.left - 2, rc.top - 2, rc.right + 2, rc.bottom + 2, 1, 1);
    }
}

bool SkinnedDialog::DrawButton(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) return false;
    ImageButton* button = Button(static_cast<int>(item.CtlID));
    if (!button) return false;
    // Let the dialog's picture show through the image's transparent parts.
    PaintBackground(item.hDC, item.hwndItem, item.rcItem);
    button->Draw(item);
    return true;
}

INT_PTR SkinnedDialog::FrameMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_ERASEBKGND:
        // The picture is drawn with the rest in WM_PAINT, off screen.
        SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, 1);
        return TRUE;
    case WM_NCHITTEST:
        if (dragByBody_) {
            POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            RECT rc;
            GetClientRect(hwnd(), &rc);
            ScreenToClient(hwnd(), &pt);
            if (PtInRect(&rc, pt)) {
                SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, HTCAPTION);
                return TRUE;
            }
        }
        return FALSE;
    case WM_CTLCOLORSTATIC:
        if (transparentLabels_) {
            HDC dc = reinterpret_cast<HDC>(wp);
            SetBkMode(dc, TRANSPARENT);
            HBRUSH picture = BackgroundBrushFor(dc, reinterpret_cast<HWND>(lp));
            return reinterpret_cast<INT_PTR>(picture ? picture : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
        }
        return FALSE;
    case WM_DRAWITEM:
        if (DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) {
            SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_PAINT:
        Paint();
        SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, 0);
        return TRUE;
    case WM_DESTROY:
        tooltips_ = nullptr;  // gone with the dialog
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace tvx::win
