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

// Where the class keys were written.
enum class KeysWritten {
    None,
    ClassesRoot,  // HKEY_CLASSES_ROOT, for every user of the machine
    UserClasses,  // HKEY_CURRENT_USER\Software\Classes, for this user: Explorer reads both
};

// Writes every key for the module at `modulePath` under `preferred`
// (HKEY_CLASSES_ROOT; a test passes a root that refuses). When that root
// refuses (a standard user on a current Windows), what was written there is
// taken back and the keys go under HKEY_CURRENT_USER\Software\Classes.
// Fails only when both refuse; `written` tells where they went.
HRESULT RegisterKeys(const std::string& modulePath, KeysWritten* written = nullptr, HKEY preferred = HKEY_CLASSES_ROOT);
// Removes the keys this module owns from both places (and from `preferred`);
// the shared parents stay.
HRESULT UnregisterKeys(HKEY preferred = HKEY_CLASSES_ROOT);

}  // namespace tvx::ext
