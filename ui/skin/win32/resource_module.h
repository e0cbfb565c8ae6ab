// The module dialogs, icons and strings are taken from: the loaded language
// module, or the program's own image when none is loaded. One value per process.
#pragma once
#include "base/win32/win_handles.h"

#include <string>

namespace tvx::win {

HINSTANCE ResourceModule();
void SetResourceModule(HINSTANCE module);

std::string LoadResourceString(UINT id);

// The folder of a module's file, without a trailing backslash, in the ANSI
// code page (its short form when the code page cannot write its name).
// When it has no form the code page can write, `outsideCodePage` gets the
// folder as it can be shown (else it is emptied).
std::string ModuleFolder(HMODULE module, std::string* outsideCodePage = nullptr);
// The module's file name as Windows has it.
std::wstring ModulePathWide(HMODULE module);

// The module this code is linked into: the program, or the shell extension
// inside Explorer. Its folder is the installation folder, whichever language
// module the resources come from.
HMODULE CodeModule();

}  // namespace tvx::win
