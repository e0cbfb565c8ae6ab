// The launcher: the program's main window, run modally for the whole life of
// the process. Its pre-translation sees every message of every modal loop.
#pragma once
#include "ui/skin/win32/dialog.h"

#include <string>

namespace tvx::win {

constexpr int kHotkeyShowHide = 40961;      // Ctrl+Shift+J
constexpr int kHotkeyCaptureC = 40976;      // Ctrl+Shift+C
constexpr int kHotkeyCaptureA = 40977;      // Ctrl+Shift+A

class LauncherWindow : public Dialog {
public:
    explicit LauncherWindow(std::string installDir);

    bool PreTranslateMessage(MSG& msg) override;

    void Show();
    void Hide();
    void Toggle();

private:
    bool OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnCommand(int id, int code, HWND control) override;
    void OnOk() override {}      // Enter never closes the launcher
    void OnCancel() override {}  // nor does Esc
    void OnDestroy() override;

    void OnExit();
    void OnHotkey(int id);

    std::string installDir_;
    UniqueIcon bigIcon_, smallIcon_;
};

}  // namespace tvx::win
