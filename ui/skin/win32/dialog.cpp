#include "ui/skin/win32/dialog.h"

#include "data/win32/profile.h"
#include "ui/skin/win32/message_box.h"
#include "ui/skin/win32/resource_module.h"
#include "base/win32/window_text.h"

#include <windowsx.h>
#include <oleacc.h>

#include <algorithm>
#include <new>

namespace tvx::win {

namespace {
Dialog* g_mainWindow = nullptr;
constexpr UINT kShowMessageLater = WM_APP + 1;  // wParam: the key, a literal
}

RECT RectInParent(HWND parent, HWND child) {
    RECT rc{};
    GetWindowRect(child, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

Dialog::Dialog(UINT templateId) : templateId_(templateId) {}

Dialog::~Dialog() {
    if (g_mainWindow == this) g_mainWindow = nullptr;
    if (hwnd_) DestroyWindow(hwnd_);
}

void Dialog::SetMainWindow(Dialog* main) { g_mainWindow = main; }

HWND Dialog::Item(int id) const {
    auto found = items_.find(id);
    if (found != items_.end() && IsWindow(found->second) && GetDlgCtrlID(found->second) == id &&
        GetParent(found->second) == hwnd_)
        return found->second;
    HWND item = GetDlgItem(hwnd_, id);
    if (item) items_[id] = item;
    else items_.erase(id);
    return item;
}
Dialog* Dialog::MainWindow() { return g_mainWindow; }

bool Dialog::Create(HWND owner) {
    ended_ = false;
    failure_ = S_OK;
    HWND h = CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(templateId_), owner, StaticProc,
                                reinterpret_cast<LPARAM>(this));
    return h != nullptr;
}

INT_PTR Dialog::RunModal(HWND owner) {
    if (!Create(owner)) return -1;
    modal_ = true;
    const bool disableOwner = owner != nullptr && IsWindowEnabled(owner);
    if (disableOwner) EnableWindow(owner, FALSE);
    if (!ended_) ShowWindow(hwnd_, SW_SHOW);

    MSG msg;
    while (!ended_) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {  // WM_QUIT: leave this loop and let the outer one see it too
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        if (g_mainWindow && g_mainWindow->PreTranslateMessage(msg)) continue;
        if (g_mainWindow != this && PreTranslateMessage(msg)) continue;
        if (hwnd_ && IsDialogMessageA(hwnd_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (disableOwner) EnableWindow(owner, TRUE);
    if (hwnd_) {
        ShowWindow(hwnd_, SW_HIDE);
        DestroyWindow(hwnd_);
    }
    modal_ = false;
    return result_;
}

void Dialog::End(INT_PTR result) {
    result_ = result;
    ended_ = true;
    if (modal_) {
        PostMessageA(hwnd_, WM_NULL, 0, 0);  // wake the loop
    } else if (hwnd_) {
        ShowWindow(hwnd_, SW_HIDE);
        DestroyWindow(hwnd_);
    }
}

bool Dialog::PreTranslateMessage(MSG&) { return false; }

void Dialog::NameForScreenReaders(int id, const std::string& name) {
    HWND control = Item(id);
    if (!control || name.empty()) return;
    ComPtr<IAccPropServices> services;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                reinterpret_cast<void**>(services.put()))))
        return;
    std::wstring wide(name.size() + 1, L'\0');
    wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, name.c_str(), static_cast<int>(name.size()), &wide[0],
                                                        static_cast<int>(wide.size()))));
    services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME, wide.c_str());
}

void Dialog::ShowMessageLater(const char* key, std::string detail) {
    if (!hwnd_) return;
    laterDetails_.push_back(std::move(detail));
    if (!PostMessageA(hwnd_, kShowMessageLater, reinterpret_cast<WPARAM>(key), 0)) laterDetails_.pop_back();
}

void Dialog::AddTooltip(int id, const std::string& text) {
    HWND control = Item(id);
    if (!control) return;
    if (!tooltips_) {
        tooltips_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, nullptr, nullptr);
        if (!tooltips_) return;
        SendMessageA(tooltips_, TTM_ACTIVATE, TRUE, 0);
    }
    TOOLINFOA ti = {};
    ti.cbSize = TTTOOLINFOA_V2_SIZE;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = const_cast<char*>(text.c_str());
    SendMessageA(tooltips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void Dialog::SetBackground(const std::string& path) {
    background_.Load(path);
    picture_.reset();
    backgroundBrush_.reset();
}

HBITMAP Dialog::Picture() {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    if (!picture_ || pictureSize_.cx != rc.right || pictureSize_.cy != rc.bottom) {
        WindowDC screen(hwnd_);
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

void Dialog::Paint() {
    PaintDC paint(hwnd_);
    RECT rc;
    GetClientRect(hwnd_, &rc);
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

void Dialog::PaintOver(HDC dc) { PaintControlFrames(dc); }

HBRUSH Dialog::BackgroundBrushFor(HDC dc, HWND child) {
    // Without its picture the dialog shows the face colour, and so do the labels.
    HBITMAP picture = Picture();  // resets the brush when the size changed
    if (!backgroundBrush_) backgroundBrush_.reset(CreatePatternBrush(picture));
    POINT origin{0, 0};
    MapWindowPoints(child, hwnd_, &origin, 1);
    SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
    return backgroundBrush_.get();
}

ImageButton* Dialog::SetButtonImages(int id, const std::string& normal, const std::string& pressed,
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

void Dialog::ApplyFrame(const Installation& installation, const SkinFrame& frame) {
    SetBackground(installation.Image(frame.background));
    SetTransparentLabels(true);
    SetDragByBody(frame.dragByBody);
    for (const FrameButton& button : frame.buttons) ApplyButton(installation, button);
}

ImageButton* Dialog::ApplyButton(const Installation& installation, const FrameButton& button) {
    return SetButtonImages(button.id, installation.Image(button.normal), installation.Image(button.pressed), button.tip);
}

ImageButton* Dialog::Button(int id) {
    auto it = buttons_.find(id);
    return it == buttons_.end() ? nullptr : it->second.get();
}

void Dialog::PaintBackground(HDC dc, HWND child, const RECT& childRect) {
    if (background_.empty()) {
        FillRect(dc, &childRect, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    RECT parentRc;
    GetClientRect(hwnd_, &parentRc);
    POINT origin{0, 0};
    MapWindowPoints(child, hwnd_, &origin, 1);
    int saved = SaveDC(dc);
    IntersectClipRect(dc, childRect.left, childRect.top, childRect.right, childRect.bottom);
    SetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
    background_.Draw(dc, parentRc);
    RestoreDC(dc, saved);
}

std::string Dialog::BoxText(int id) const { return WindowText(Item(id)); }

int Dialog::ShowKey(const char* key, UINT type) const { return ShowMessage(hwnd(), MessageText(key), type); }

SkinListCtrl* Dialog::SkinList(int id, const Installation& installation) {
    auto list = std::make_unique<SkinListCtrl>();
    if (!list->Attach(Item(id), installation)) return nullptr;
    skinned_.push_back(std::move(list));
    return static_cast<SkinListCtrl*>(skinned_.back().get());
}

SkinTreeCtrl* Dialog::SkinTree(int id, const Installation& installation) {
    auto tree = std::make_unique<SkinTreeCtrl>();
    if (!tree->Attach(Item(id), installation)) return nullptr;
    skinned_.push_back(std::move(tree));
    return static_cast<SkinTreeCtrl*>(skinned_.back().get());
}

void Dialog::PaintControlFrames(HDC dc) const {
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

void Dialog::OutlineTextBoxes(HDC dc, const std::vector<int>& ids, int widenTo) const {
    UniqueGdi<HPEN> outline(CreatePen(PS_SOLID, 1, RGB(161, 220, 255)));
    SelectGuard pen(dc, outline.get());
    SelectGuard brush(dc, GetStockObject(WHITE_BRUSH));
    for (int id : ids) {
        HWND box = Item(id);
        if (!IsWindowVisible(box)) continue;
        RECT rc{};
        GetWindowRect(box, &rc);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rc), 2);
        if (widenTo) {
            RECT extra{};
            GetWindowRect(Item(widenTo), &extra);
            MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&extra), 2);
            rc.right = extra.right;
        }
        RoundRect(dc, rc.left - 2, rc.top - 2, rc.right + 2, rc.bottom + 2, 1, 1);
    }
}

void Dialog::OnCommand(int id, int, HWND) {
    if (id == IDOK) OnOk();
    else if (id == IDCANCEL) OnCancel();
}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

bool Dialog::DrawButton(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) return false;
    ImageButton* button = Button(static_cast<int>(item.CtlID));
    if (!button) return false;
    // Let the dialog's picture show through the image's transparent parts.
    PaintBackground(item.hDC, item.hwndItem, item.rcItem);
    button->Draw(item);
    return true;
}

INT_PTR CALLBACK Dialog::StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Dialog* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lp);
        self->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }
    if (!self) return FALSE;
    INT_PTR r = FALSE;
    try {
        r = self->Proc(msg, wp, lp);
    } catch (const std::bad_alloc&) {
        self->failure_ = E_OUTOFMEMORY;
        self->End(IDABORT);
    } catch (...) {
        self->failure_ = E_UNEXPECTED;
        self->End(IDABORT);
    }
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        self->items_.clear();
    }
    return r;
}

INT_PTR Dialog::Proc(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    if (msg == WM_INITDIALOG) return OnInitDialog() ? TRUE : FALSE;
    if (OnMessage(msg, wp, lp, result)) {
        switch (msg) {
        case WM_CTLCOLORSTATIC: case WM_CTLCOLOREDIT: case WM_CTLCOLORBTN: case WM_CTLCOLORDLG:
        case WM_CTLCOLORLISTBOX: case WM_CTLCOLORSCROLLBAR:
            return static_cast<INT_PTR>(result);
        default:
            SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result);
            return TRUE;
        }
    }
    switch (msg) {
    case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp));
        return TRUE;
    case WM_ERASEBKGND:
        // The picture is drawn with the rest in WM_PAINT, off screen.
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, 1);
        return TRUE;
    case WM_NCHITTEST:
        if (dragByBody_) {
            POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            RECT rc;
            GetClientRect(hwnd_, &rc);
            ScreenToClient(hwnd_, &pt);
            if (PtInRect(&rc, pt)) {
                SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, HTCAPTION);
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
            SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, TRUE);
            return TRUE;
        }
        return FALSE;
    case WM_PAINT:
        Paint();
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, 0);
        return TRUE;
    case kShowMessageLater: {
        std::string text = MessageText(reinterpret_cast<const char*>(wp));
        if (!laterDetails_.empty()) {
            if (!laterDetails_.front().empty()) text += "\r\n\r\n" + laterDetails_.front();
            laterDetails_.erase(laterDetails_.begin());
        }
        ShowMessage(hwnd_, text, MB_OK);
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, 0);
        return TRUE;
    }
    case WM_DESTROY:
        OnDestroy();
        tooltips_ = nullptr;  // gone with the dialog
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace tvx::win
