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
    DestroyNow();
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

std::string Dialog::BoxText(int id) const { return WindowText(Item(id)); }

int Dialog::ShowKey(const char* key, UINT type) const { return ShowMessage(hwnd(), MessageText(key), type); }

void Dialog::OnCommand(int id, int, HWND) {
    if (id == IDOK) OnOk();
    else if (id == IDCANCEL) OnCancel();
}

bool Dialog::OnMessage(UINT, WPARAM, LPARAM, LRESULT&) { return false; }

INT_PTR Dialog::FrameMessage(UINT, WPARAM, LPARAM) { return FALSE; }

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
        FrameMessage(msg, wp, lp);
        return FALSE;
    default:
        return FrameMessage(msg, wp, lp);
    }
}

void Dialog::DestroyNow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

}  // namespace tvx::win
