#include "data/win32/mailbox_destination.h"

#include <cstdio>

namespace tvx::win {

void PublishMailboxDestination(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(reinterpret_cast<INT_PTR>(window)));
    WriteProfileStringA(kMailboxSection, "Dest", text);
}

}  // namespace tvx::win
