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

bool TrayIcon::Add(HWND owner, HICON icon) {
    owner_ = owner;
    icon_ = icon;
    return AddAgain();
}

bool TrayIcon::AddAgain() {
    if (!owner_) return false;
    NOTIFYICONDATAA data = TrayIconRecord(owner_, icon_);
    shown_ = Shell_NotifyIconA(NIM_ADD, &data) != FALSE;
    // Still there from before (the taskbar did not restart after all): as good as added.
    if (!shown_) shown_ = Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
    return shown_;
}

void TrayIcon::Remove() {
    if (!owner_) return;
    NOTIFYICONDATAA data = TrayIconRecord(owner_, nullptr);
    data.uFlags = 0;
    Shell_NotifyIconA(NIM_DELETE, &data);
    owner_ = nullptr;
    shown_ = false;
}

}  // namespace tvx::win
