// First-run choice of the program's language.
#pragma once
#include "ui/skin/win32/dialog.h"

#include <string>

namespace tvx::win {

class LanguageDialog : public Dialog {
public:
    explicit LanguageDialog(std::string installDir);
    int selectedRow() const { return selected_; }

private:
    bool OnInitDialog() override;
    void OnOk() override;
    void OnCancel() override;

    std::string installDir_;
    int selected_ = 0;
};

}  // namespace tvx::win
