// First-run choice of the program's language.
#pragma once
#include "data/installation.h"
#include "ui/skin/win32/skinned_dialog.h"

#include <string>

namespace tvx::win {

class LanguageDialog : public SkinnedDialog {
public:
    explicit LanguageDialog(Installation installation);
    int selectedRow() const { return selected_; }

private:
    bool OnInitDialog() override;
    void OnOk() override;
    void OnCancel() override;

    Installation installation_;
    int selected_ = 0;
};

}  // namespace tvx::win
