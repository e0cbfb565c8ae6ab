// Every message box of the main program goes through here: the text comes
// from the caller, the caption is MessageTexts "ShortDlgTitle".
#pragma once
#include "base/win32/win_handles.h"

#include <string>

namespace tvx::win {

// type: MB_OK (0), MB_OKCANCEL (1) or MB_YESNO (4). Returns IDOK, IDCANCEL,
// IDYES or IDNO.
int ShowMessage(HWND owner, const std::string& text, UINT type);

// When the module's folder has no name the ANSI code page can write (not
// even a short one), says so in a plain system box with the folder's real
// name (neither the skin's images nor the settings file can be reached by
// an ANSI path then) and returns true.
bool RefuseFolderOutsideCodePage(HMODULE module);

}  // namespace tvx::win
