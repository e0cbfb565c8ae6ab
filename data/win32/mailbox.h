// The add-item mailbox in the user's WIN.INI: section "sdfggsadf" carries one
// new item and the handle of the receiving window ("Dest"); message 1044
// tells that window to take the item. Section "ghyjtytsadf" with message
// 1054 asks the launcher to open its add-item dialog pre-filled.
#pragma once
#include "data/mailbox.h"
#include "ui/skin/win32/win_handles.h"

namespace tvx::win {

constexpr const char* kMailboxSection = "sdfggsadf";
constexpr const char* kPrefillSection = "ghyjtytsadf";
constexpr UINT kItemReadyMessage = WM_USER + 20;       // 1044
constexpr UINT kPrefillRequestMessage = WM_USER + 30;  // 1054

// Publishes `window` as the receiver ("Dest" = its handle, "%d"), marking it
// so that senders can tell it from a stale handle; null writes "0".
void PublishMailboxDestination(HWND window);
// Removes the mark when the window goes away.
void WithdrawMailboxDestination(HWND window);
// Whether the handle names a live window that published itself as receiver.
bool IsMailboxWindow(HWND window);

// Writes the fields in the mailbox's order and announces them to "Dest",
// synchronously. A "Dest" that is empty, "0" or not a live receiver gets no
// message (the item is then not added anywhere). Returns whether it was sent.
bool SendToMailbox(const MailboxFields& fields);

// The fields as the receiver reads them, each cut to its buffer.
MailboxFields ReceiveFromMailbox();

// The pre-fill request: Name, ShortName, Description and ExePath.
MailboxFields ReadPrefillRequest();

}  // namespace tvx::win
