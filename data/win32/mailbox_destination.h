// The window that receives new items from other processes publishes its
// handle under "Dest" in the WIN.INI section "sdfggsadf".
#pragma once
#include "ui/skin/win32/win_handles.h"

namespace tvx::win {

constexpr const char* kMailboxSection = "sdfggsadf";
constexpr const char* kPrefillSection = "ghyjtytsadf";

void PublishMailboxDestination(HWND window);  // window null writes "0"

}  // namespace tvx::win
