#include "launcher/win32/tray_icon.h"

#include <shellapi.h>

#include <cstring>

namespace tvx::win {

namespace {
NOTIFYICONDATAA Record(HWND owner) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;  // the classic record
    data.hWnd = owner;
    data.uID = kTrayIconId;
    return data;
}
}  // namespace

void TrayIcon::Add(HWND owner, HICON icon) {
    NOTIFYICONDATAA data = Record(owner);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = icon;
    std::strcpy(data.szTip, "Tavrolinex 3.0");
    Shell_NotifyIconA(NIM_ADD, &data);  // a failure changes nothing: the window is hidden all the same
    owner_ = owner;
}

void TrayIcon::Remove() {
    if (!owner_) return;
    NOTIFYICONDATAA data = Record(owner_);
    Shell_NotifyIconA(NIM_DELETE, &data);
    owner_ = nullptr;
}

}  // namespace tvx::win
