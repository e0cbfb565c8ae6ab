// The registry keys that make Explorer offer "Add To Tavrolinex" on every file.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

namespace tvx::ext {

constexpr const char* kClsidText = "{9B55AFD3-A2C6-41B8-93BF-937E4E5FF01B}";
constexpr const char* kLibidText = "{B387C6A0-E4C8-4506-87E1-62FC74D8748B}";
constexpr const char* kProgId = "ZevuvIviVov.WinShellExt.1";
constexpr const char* kProgIdIndependent = "ZevuvIviVov.WinShellExt";
constexpr const char* kClassDescription = "WinShellExt Class";

// Writes every key under HKEY_CLASSES_ROOT for the module at `modulePath`.
HRESULT RegisterKeys(const std::string& modulePath);
// Removes the keys this module owns; the shared parents stay.
HRESULT UnregisterKeys();

}  // namespace tvx::ext
