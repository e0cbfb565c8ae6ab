#include "app/win32/language_dialog.h"

#include "resources/resource_ids.h"
#include "app/language_table.h"

namespace tvx::win {

LanguageDialog::LanguageDialog(Installation installation) : SkinnedDialog(IDD_LANGUAGE), installation_(std::move(installation)) {}

bool LanguageDialog::OnInitDialog() {
    ApplyFrame(installation_, {"CommonDlg_01.png", true, {LabelButton(IDOK)}});
    HWND combo = Item(IDC_LANGUAGE_COMBO);
    for (const LanguageRow& row : kLanguageTable) {
        std::string text(row.comboText);
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageA(combo, CB_SETCURSEL, 0, 0);
    return true;
}

void LanguageDialog::OnOk() {
    LRESULT row = SendMessageA(Item(IDC_LANGUAGE_COMBO), CB_GETCURSEL, 0, 0);
    selected_ = row == CB_ERR ? 0 : static_cast<int>(row);
    End(IDOK);
}

// Esc or closing keeps the row shown, as Ok would.
void LanguageDialog::OnCancel() { OnOk(); }

}  // namespace tvx::win
