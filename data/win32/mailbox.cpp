#include "data/win32/mailbox.h"

#include "data/ansi_text.h"
#include "data/win32/file_io.h"

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
    auto write = [](const char* key, const std::string& value) {
        WriteProfileStringA(kMailboxSection, key, value.c_str());
    };
    write("Name", SingleLine(f.Name));
    write("ShortName", SingleLine(f.ShortName));
    write("Hotkey1", SingleLine(f.Hotkey1));
    write("Hotkey2", SingleLine(f.Hotkey2));
    write("Description", EscapeMailboxText(f.Description));
    write("ExePath", SingleLine(f.ExePath));
    write("NodeID", SingleLine(f.NodeID));
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
    // The escaped Description takes up to twice its bytes: read it whole,
    // undo the escape, then cut it to its buffer.
    f.Description = CutToBuffer(UnescapeMailboxText(ReadValue(kMailboxSection, "Description", 2 * kMailboxTextBuffer)),
                                kMailboxTextBuffer);
    f.ExePath = ReadValue(kMailboxSection, "ExePath", kMailboxTextBuffer);
    f.NodeID = ReadValue(kMailboxSection, "NodeID", kMailboxNodeIdBuffer);
    // Taken: a repeated message without a new hand-over finds nothing, so a
    // flood of 1044 files each hand-over once.
    WriteProfileStringA(kMailboxSection, "Name", nullptr);
    RemoveStrayMailboxKeys();
    return f;
}

void RemoveStrayMailboxKeys() {
    // With no key, the call lists the section's keys, each ended by a NUL.
    std::vector<char> keys(32768, '\0');
    const DWORD n = GetProfileStringA(kMailboxSection, nullptr, "", keys.data(), static_cast<DWORD>(keys.size()));
    std::vector<std::string> stray;
    for (size_t at = 0; at < n && keys[at] != '\0';) {
        const std::string key(keys.data() + at);
        if (!IsMailboxKey(key)) stray.push_back(key);
        at += key.size() + 1;
    }
    for (const std::string& key : stray) WriteProfileStringA(kMailboxSection, key.c_str(), nullptr);
}

ReceiveResult FileReceivedItem(const MailboxFields& fields, std::string guid, ItemStore& store, CatalogTree& tree,
                               CatalogIndex& index, const std::string& itemFile, const std::string& catalogFile) {
    ReceiveResult result;
    std::optional<LaunchItem> item = ItemFromMailbox(fields, std::move(guid));
    if (!item) return result;
    const size_t added = store.Append(std::move(*item));
    if (!AppendItemRecord(itemFile, store, added)) {
        store.DropLast();
        result.outcome = ReceivedItem::ItemFileFailed;
        return result;
    }
    result.index = added;
    result.outcome = ReceivedItem::Added;
    CatalogNode* node = index.NodeOf(fields.NodeID);
    if (!node) return result;  // no such catalog: the entry stays in none
    const std::string before = node->nodeData;
    node->nodeData = AppendMember(before, added);
    if (!SaveCatalogFile(catalogFile, tree)) {
        node->nodeData = before;
        result.outcome = ReceivedItem::CatalogFileFailed;
    }
    return result;
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
