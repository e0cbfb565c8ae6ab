#include "launcher/win32/progress_window.h"

#include "resources/resource_ids.h"

namespace tvx::win {

std::atomic<int> ProgressDone{0};

namespace {
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerPeriodMs = 1000;
}  // namespace

ProgressWindow::ProgressWindow(std::string installDir, std::string text)
    : Dialog(IDD_PROGRESS), installDir_(std::move(installDir)), text_(std::move(text)) {}

bool ProgressWindow::OnInitDialog() {
    SetBackground(installDir_ + "\\Images\\DealProgress.png");
    SetTransparentLabels(true);
    SetDlgItemTextA(hwnd(), IDC_PROGRESS_TEXT, text_.c_str());
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetTimer(hwnd(), kTimerId, kTimerPeriodMs, nullptr);
    return true;
}

bool ProgressWindow::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg == WM_TIMER && wp == kTimerId) {
        if (ProgressDone.load() == 1) {
            KillTimer(hwnd(), kTimerId);
            End(1);
        }
        result = 0;
        return true;
    }
    return false;
}

}  // namespace tvx::win
