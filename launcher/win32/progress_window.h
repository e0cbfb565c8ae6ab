// The small top-most window that shows a progress text while work runs.
#pragma once
#include "ui/skin/win32/dialog.h"

#include <atomic>
#include <string>

namespace tvx::win {

// Set to 1 by whoever finished the work; the progress window checks it once a
// second and closes itself.
extern std::atomic<int> ProgressDone;

class ProgressWindow : public Dialog {
public:
    ProgressWindow(std::string installDir, std::string text);

private:
    bool OnInitDialog() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void OnOk() override {}
    void OnCancel() override {}

    std::string installDir_;
    std::string text_;
};

}  // namespace tvx::win
