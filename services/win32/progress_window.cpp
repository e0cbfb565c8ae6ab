#include "services/win32/progress_window.h"

#include "resources/resource_ids.h"

namespace tvx::win {

std::atomic<int> ProgressDone{0};

namespace {
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerPeriodMs = 1000;
constexpr UINT kFinished = WM_APP + 4;
}  // namespace

ProgressWindow::ProgressWindow(Installation installation, std::string text)
    : SkinnedDialog(IDD_PROGRESS), installation_(std::move(installation)), text_(std::move(text)) {}

bool ProgressWindow::OnInitDialog() {
    ApplyFrame(installation_, {"DealProgress.png", false, {}});
    SetDlgItemTextA(hwnd(), IDC_PROGRESS_TEXT, text_.c_str());
    SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetTimer(hwnd(), kTimerId, kTimerPeriodMs, nullptr);
    // Either this sees the work finished or Finish sees the window: one of
    // the two posts the message.
    shown_.store(hwnd());
    if (finished_.load()) PostMessageA(hwnd(), kFinished, 0, 0);
    return true;
}

void ProgressWindow::Finish() {
    ProgressDone = 1;
    finished_.store(true);
    if (HWND shown = shown_.load()) PostMessageA(shown, kFinished, 0, 0);
}

void ProgressWindow::Close() {
    if (!shown_.exchange(nullptr)) return;  // closed already (both may post)
    KillTimer(hwnd(), kTimerId);
    End(1);
}

bool ProgressWindow::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg == kFinished || (msg == WM_TIMER && wp == kTimerId)) {
        if (msg == kFinished || ProgressDone.load() == 1) Close();
        result = 0;
        return true;
    }
    return false;
}

}  // namespace tvx::win
