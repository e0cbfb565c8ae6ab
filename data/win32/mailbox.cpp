#include "data/win32/mailbox.h"

#include "data/ansi_text.h"

#include <cstdio>
#include <vector>

namespace tvx::win {

namespace {
constexpr const char* kReceiverMark = "TavrolinexMailboxWindow";

// Reads with room to spare, then cuts to the buffer the value is defined
// with, so that a double-byte character is never split.
std::string ReadValue(const char* section, const char* key, size_t bufferSize) {
    std::vector<char> buffer(bufferSize * 2 + 2, '\0');
    GetProfileStringA(section, key, "", buffer.data(), static_cast<DWORD>(buffer.size()));
    return CutToBuffer(buffer.data(), bufferSize);
}
}  // namespace

void PublishMailboxDestination(HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(reinterpret_cast<INT_PTR>(window)));
    if (window) SetPropA(window, kReceiverMark, reinterpret_cast<HANDLE>(1));
    WriteProfileStringA(kMailboxSection, "Dest", text);
}

void WithdrawMailboxDestination(HWND window) {
    if (window) RemovePropA(window, kReceiverMark);
}

bool IsMailboxWindow(HWND window) {
    return window && IsWindow(window) && GetPropA(window, kReceiverMark) != nullptr;
}

bool SendToMailbox(const MailboxFields& f) {
    WriteProfileStringA(kMailboxSection, "Name", f.Name.c_str());
    WriteProfileStringA(kMailboxSection, "ShortName", f.ShortName.c_str());
    WriteProfileStringA(kMailboxSection, "Hotkey1", f.Hotkey1.c_str());
    WriteProfileStringA(kMailboxSection, "Hotkey2", f.Hotkey2.c_str());
    WriteProfileStringA(kMailboxSection, "Description", f.Description.c_str());
    WriteProfileStringA(kMailboxSection, "ExePath", f.ExePath.c_str());
    WriteProfileStringA(kMailboxSection, "NodeID", f.NodeID.c_str());
    const std::string dest = ReadValue(kMailboxSection, "Dest", kMailboxDestBuffer);
    if (dest.empty()) return false;
    // After an abnormal end "Dest" can name a window of another program by now.
    HWND target = reinterpret_cast<HWND>(static_cast<INT_PTR>(ParseDecimal(dest)));
    if (!IsMailboxWindow(target)) return false;
    SendMessageA(target, kItemReadyMessage, 0, 0);
    return true;
}

MailboxFields ReceiveFromMailbox() {
    MailboxFields f;
    f.Name = ReadValue(kMailboxSection, "Name", kMailboxNameBuffer);
    if (f.Name.empty()) return f;
    f.ShortName = ReadValue(kMailboxSection, "ShortName", kMailboxNameBuffer);
    f.Hotkey1 = ReadValue(kMailboxSection, "Hotkey1", kMailboxHotkeyBuffer);
    f.Hotkey2 = ReadValue(kMailboxSection, "Hotkey2", kMailboxHotkeyBuffer);
    f.Description = ReadValue(kMailboxSection, "Description", kMailboxTextBuffer);
    f.ExePath = ReadValue(kMailboxSection, "ExePath", kMailboxTextBuffer);
    f.NodeID = ReadValue(kMailboxSection, "NodeID", kMailboxNodeIdBuffer);
    return f;
}

MailboxFields ReadPrefillRequest() {
    MailboxFields f;
    f.Name = ReadValue(kPrefillSection, "Name", kMailboxNameBuffer);
    if (f.Name.empty()) return f;
    f.ShortName = ReadValue(kPrefillSection, "ShortName", kMailboxNameBuffer);
    f.Description = ReadValue(kPrefillSection, "Description", kMailboxTextBuffer);
    f.ExePath = ReadValue(kPrefillSection, "ExePath", kMailboxTextBuffer);
    return f;
}

}  // namespace tvx::win
