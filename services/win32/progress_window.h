// The small top-most window that shows a progress text while work runs.
#pragma once
#include "data/installation.h"
#include "ui/skin/win32/skinned_dialog.h"

#include <atomic>
#include <string>

namespace tvx::win {

// Set to 1 by whoever finished the work; the progress window checks it once a
// second and closes itself.
extern std::atomic<int> ProgressDone;

// The window closes as soon as its work calls Finish (a posted message), so
// that what follows is usable at once; the one-second check of ProgressDone
// stays as the fallback.
class ProgressWindow : public SkinnedDialog {
public:
    ProgressWindow(Installation installation, std::string text);

    // The work is done: from any thread, before or after the window shows.
    void Finish();

private:
    bool OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnOk() override {}
    void OnCancel() override {}

    void Close();

    Installation installation_;
    std::string text_;
    std::atomic<bool> finished_{false};
    std::atomic<HWND> shown_{nullptr};  // the window while it is there to be told
};

}  // namespace tvx::win
