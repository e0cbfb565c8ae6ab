// The launcher's icon in the notification area while it is hidden.
#pragma once
#include "base/win32/win_handles.h"

#include <shellapi.h>

namespace tvx::win {

constexpr UINT kTrayIconId = 143;
constexpr UINT kTrayCallbackMessage = WM_USER + 5;  // 1029

// The notification-icon record of the launcher: the classic record of 488
// bytes on 32-bit Windows (NOTIFYICONDATAA_V2_SIZE; larger on 64-bit).
NOTIFYICONDATAA TrayIconRecord(HWND owner, HICON icon);

// The icon is wanted from Add until Remove; whether the taskbar has it is
// another matter: a taskbar not yet ready at logon refuses it, and one that
// restarts (Explorer ends) loses it. AddAgain puts a wanted icon back.
class TrayIcon {
public:
    ~TrayIcon() { Remove(); }
    bool Add(HWND owner, HICON icon);  // whether the taskbar took it
    bool AddAgain();
    void Remove();
    bool wanted() const { return owner_ != nullptr; }
    bool shown() const { return shown_; }

private:
    HWND owner_ = nullptr;
    HICON icon_ = nullptr;
    bool shown_ = false;
};

}  // namespace tvx::win
