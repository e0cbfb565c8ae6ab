// The add-item mailbox in the user's WIN.INI: section "sdfggsadf" carries one
// new item and the handle of the receiving window ("Dest"); message 1044
// tells that window to take the item. Section "ghyjtytsadf" with message
// 1054 asks the launcher to open its add-item dialog pre-filled.
#pragma once
#include "data/mailbox.h"
#include "base/win32/win_handles.h"

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

// The fields as the receiver reads them, each cut to its buffer. Keys that
// are not the hand-over's (lines an older sender left behind) are removed.
MailboxFields ReceiveFromMailbox();
void RemoveStrayMailboxKeys();

// What became of a received item.
enum class ReceivedItem {
    Nothing,            // an empty Name: there was nothing to add
    Added,              // in the store and the item file, and in its catalog when NodeID named one
    ItemFileFailed,     // the item file could not take it: nothing changed anywhere
    CatalogFileFailed,  // in the store and the item file, but the catalog file could not be
                        // rewritten: the entry is in no catalog, in memory as on disk
};
struct ReceiveResult {
    ReceivedItem outcome = ReceivedItem::Nothing;
    size_t index = 0;  // the new item's index when it was added
};

// The receiver's steps on one window's store and catalog tree. The record
// goes to the item file first and enters the store only when the file took
// it whole; the catalog gains the member only when its file was rewritten.
// So the item file and the catalog file always agree with each other.
ReceiveResult FileReceivedItem(const MailboxFields& fields, std::string guid, ItemStore& store, CatalogTree& tree,
                               CatalogIndex& index, const std::string& itemFile, const std::string& catalogFile);

// The pre-fill request: Name, ShortName, Description and ExePath.
MailboxFields ReadPrefillRequest();

}  // namespace tvx::win
