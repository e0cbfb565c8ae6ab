// The module dialogs, icons and strings are taken from: the loaded language
// module, or the program's own image when none is loaded. One value per process.
#pragma once
#include "ui/skin/win32/win_handles.h"

#include <string>

namespace tvx::win {

HINSTANCE ResourceModule();
void SetResourceModule(HINSTANCE module);

std::string LoadResourceString(UINT id);

// The folder of a module's file, without a trailing backslash.
std::string ModuleFolder(HMODULE module);

// The module this code is linked into: the program, or the shell extension
// inside Explorer. Its folder is the installation folder, whichever language
// module the resources come from.
HMODULE CodeModule();

}  // namespace tvx::win
