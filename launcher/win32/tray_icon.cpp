#include "launcher/win32/tray_icon.h"

#include <shellapi.h>

#include <cstring>

namespace tvx::win {

#ifndef _WIN64
static_assert(NOTIFYICONDATAA_V2_SIZE == 488, "the classic notification-icon record");
#endif

NOTIFYICONDATAA TrayIconRecord(HWND owner, HICON icon) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = owner;
    data.uID = kTrayIconId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kTrayCallbackMessage;
    data.hIcon = icon;
    std::strcpy(data.szTip, "Tavrolinex 3.0");
    return data;
}

void TrayIcon::Add(HWND owner, HICON icon) {
    NOTIFYICONDATAA data = TrayIconRecord(owner, icon);
    Shell_NotifyIconA(NIM_ADD, &data);  // a failure changes nothing: the window is hidden all the same
    owner_ = owner;
}

void TrayIcon::Remove() {
    if (!owner_) return;
    NOTIFYICONDATAA data = TrayIconRecord(owner_, nullptr);
    data.uFlags = 0;
    Shell_NotifyIconA(NIM_DELETE, &data);
    owner_ = nullptr;
}

}  // namespace tvx::win
