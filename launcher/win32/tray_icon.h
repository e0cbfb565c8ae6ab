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

class TrayIcon {
public:
    ~TrayIcon() { Remove(); }
    void Add(HWND owner, HICON icon);
    void Remove();
    bool shown() const { return owner_ != nullptr; }

private:
    HWND owner_ = nullptr;
};

}  // namespace tvx::win
