// The launcher's icon in the notification area while it is hidden.
#pragma once
#include "ui/skin/win32/win_handles.h"

namespace tvx::win {

constexpr UINT kTrayIconId = 143;
constexpr UINT kTrayCallbackMessage = WM_USER + 5;  // 1029

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
