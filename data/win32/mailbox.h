// The add-item mailbox: section "sdfggsadf" carries one new item and the
// handle of the receiving window ("Dest"); message 1044 tells that window to
// take the item. Section "ghyjtytsadf" with message 1054 asks the launcher to
// open its add-item dialog pre-filled.
//
// The sections live in the installation's own profile file "\Mailbox.ini"
// (Installation::MailboxFile), which the program and the extension of one installation
// both find beside themselves and which the user can write wherever the
// program can keep its data. WIN.INI, where they were first kept, is not
// writable for a standard user on Windows; the program still publishes
// "Dest" there and reads pre-fill requests from there as well, so that
// other programs that talk to it through WIN.INI are still heard.
#pragma once
#include "data/mailbox.h"
#include "base/win32/win_handles.h"

namespace tvx::win {

constexpr const char* kMailboxSection = "sdfggsadf";
constexpr const char* kPrefillSection = "ghyjtytsadf";
constexpr UINT kItemReadyMessage = WM_USER + 20;       // 1044
constexpr UINT kPrefillRequestMessage = WM_USER + 30;  // 1054
// How long a sender waits for the receiver before it leaves the entry waiting.
constexpr UINT kHandOverTimeoutMs = 5000;

// Publishes `window` as the receiver ("Dest" = its handle, "%d"), marking it
// so that senders can tell it from a stale handle; null writes "0". Lets
// message 1044 through from a sender of lower integrity (Explorer, when the
// program runs elevated). Returns whether the mailbox file took it.
bool PublishMailboxDestination(const std::string& mailboxFile, HWND window);
// Removes the mark when the window goes away.
void WithdrawMailboxDestination(HWND window);
// Lets a message through to the window from a sender of lower integrity
// (Windows 7 and later: a program running elevated hears nothing from
// Explorer otherwise).
void LetThroughFromLowerIntegrity(HWND window, UINT message);
// Whether the handle names a live window that published itself as receiver.
bool IsMailboxWindow(HWND window);

// What became of a hand-over.
enum class HandOver {
    Filed,       // the receiver took it
    Pending,     // written, but no receiver answered in time: it is filed at its next look
    Busy,        // an earlier hand-over is still waiting to be taken: nothing was written
    Unwritable,  // the mailbox file could not be written: nothing was handed over
};
// Writes the fields in the mailbox's order, reads them back, and announces
// them to "Dest", waiting at most kHandOverTimeoutMs for a receiver that
// does not answer (a hung one is given up on at once).
HandOver SendToMailbox(const std::string& mailboxFile, const MailboxFields& fields);

// The fields as the receiver reads them, each cut to its buffer, and taken
// out of the mailbox. Keys that are not the hand-over's (lines an older
// sender left behind) are removed.
MailboxFields ReceiveFromMailbox(const std::string& mailboxFile);
void RemoveStrayMailboxKeys(const std::string& mailboxFile);

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

// The pre-fill request: Name, ShortName, Description and ExePath, from the
// mailbox file, or from WIN.INI when the mailbox file holds none.
MailboxFields ReadPrefillRequest(const std::string& mailboxFile);

}  // namespace tvx::win
