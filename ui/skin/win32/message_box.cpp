#include "ui/skin/win32/message_box.h"

#include "data/win32/profile.h"

namespace tvx::win {

int ShowMessage(HWND owner, const std::string& text, UINT type) {
    const std::string title = MessageText("ShortDlgTitle");
    return MessageBoxA(owner, text.c_str(), title.c_str(), type & 0x0F);
}

}  // namespace tvx::win
