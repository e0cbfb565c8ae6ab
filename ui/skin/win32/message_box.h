// Every message box of the main program goes through here: the text comes
// from the caller, the caption is MessageTexts "ShortDlgTitle".
#pragma once
#include "ui/skin/win32/win_handles.h"

#include <string>

namespace tvx::win {

// type: MB_OK (0), MB_OKCANCEL (1) or MB_YESNO (4). Returns IDOK, IDCANCEL,
// IDYES or IDNO.
int ShowMessage(HWND owner, const std::string& text, UINT type);

}  // namespace tvx::win
