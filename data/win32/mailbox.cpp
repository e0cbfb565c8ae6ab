#include "data/win32/mailbox.h"

#include "data/ansi_text.h"
#include "data/ini_text.h"
#include "data/win32/file_io.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace tvx::win {

namespace {
constexpr const char* kReceiverMark = "TavrolinexMailboxWindow";

// Reads with room to spare, then cuts to the buffer the value is defined
// with, so that a double-byte character is never split. An empty file name
// reads WIN.INI.
std::string ReadWhole(const std::string& file, const char* section, const char* key, size_t bufferSize) {
    std::vector<char> buffer(bufferSize * 2 + 2, '\0');
    if (file.empty())
        GetProfileStringA(section, key, "", buffer.data(), static_cast<DWORD>(buffer.size()));
    else
        GetPrivateProfileStringA(section, key, "", buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    return buffer.data();
}
std::string ReadValue(const std::string& file, const char* section, const char* key, size_t bufferSize) {
    return CutToBuffer(ReadWhole(file, section, key, bufferSize), bufferSize);
}

bool WriteValue(const std::string& file, const char* section, const char* key, const char* value) {
    return WritePrivateProfileStringA(section, key, value, file.c_str()) != FALSE;
}

// The fields of one section through `value(key, bufferSize)`, which reads a
// key cut to its buffer (a hand-over is read from the file's text, whose
// reader takes any size); nothing when Name is empty. A hand-over has every
// field, its Description escaped; a pre-fill request has four, as written.
template <class ValueOf>
MailboxFields ReadFields(ValueOf value, bool handOver) {
    MailboxFields f;
    f.Name = value("Name", kMailboxNameBuffer);
    if (f.Name.empty()) return f;
    f.ShortName = value("ShortName", kMailboxNameBuffer);
    if (handOver) {
        f.Hotkey1 = value("Hotkey1", kMailboxHotkeyBuffer);
        f.Hotkey2 = value("Hotkey2", kMailboxHotkeyBuffer);
        // The escape undone first, then cut to its buffer.
        f.Description = CutToBuffer(UnescapeMailboxText(value("Description", std::string::npos)), kMailboxTextBuffer);
    } else {
        f.Description = value("Description", kMailboxTextBuffer);
    }
    f.ExePath = value("ExePath", kMailboxTextBuffer);
    if (handOver) f.NodeID = value("NodeID", kMailboxNodeIdBuffer);
    return f;
}

}  // namespace

// Looked up: older systems lack it.
void LetThroughFromLowerIntegrity(HWND window, UINT message) {
    using ChangeFilter = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto change = reinterpret_cast<ChangeFilter>(
        reinterpret_cast<void*>(user32 ? GetProcAddress(user32, "ChangeWindowMessageFilterEx") : nullptr));
    constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW
    if (change && window) change(window, message, kAllow, nullptr);
}


bool PublishMailboxDestination(const std::string& mailboxFile, HWND window) {
    char text[32];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(reinterpret_cast<INT_PTR>(window)));
    if (window) {
        SetPropA(window, kReceiverMark, reinterpret_cast<HANDLE>(1));
        LetThroughFromLowerIntegrity(window, kItemReadyMessage);
    }
    // Where other programs have always looked for the receiver; a standard
    // user may not be able to write it, and nothing here depends on it.
    WriteProfileStringA(kMailboxSection, "Dest", text);
    return WriteValue(mailboxFile, kMailboxSection, "Dest", text);
}

void WithdrawMailboxDestination(HWND window) {
    if (window) RemovePropA(window, kReceiverMark);
}

bool IsMailboxWindow(HWND window) {
    return window && IsWindow(window) && GetPropA(window, kReceiverMark) != nullptr;
}

HandOver SendToMailbox(const std::string& file, const MailboxFields& f) {
    // One entry at a time: one that waits to be taken is not written over.
    if (!ReadValue(file, kMailboxSection, "Name", kMailboxNameBuffer).empty()) return HandOver::Busy;
    // Name last: a receiver that looks meanwhile finds no entry until it is whole.
    const std::pair<const char*, std::string> values[] = {
        {"ShortName", SingleLine(f.ShortName)}, {"Hotkey1", SingleLine(f.Hotkey1)},
        {"Hotkey2", SingleLine(f.Hotkey2)},     {"Description", EscapeMailboxText(f.Description)},
        {"ExePath", SingleLine(f.ExePath)},     {"NodeID", SingleLine(f.NodeID)},
        {"Name", SingleLine(f.Name)}};
    bool written = true;
    for (const auto& [key, value] : values) written = WriteValue(file, kMailboxSection, key, value.c_str()) && written;
    std::string text;
    written = written && ReadWholeFile(file, text);
    for (const auto& [key, value] : values) written = written && IniValue(text, kMailboxSection, key) == ValueAsRead(value);
    if (!written) {
        WriteValue(file, kMailboxSection, "Name", nullptr);  // no part of an entry stays to be filed
        return HandOver::Unwritable;
    }
    // After an abnormal end "Dest" can name a window of another program by now.
    const std::string dest = ReadValue(file, kMailboxSection, "Dest", kMailboxDestBuffer);
    HWND target = reinterpret_cast<HWND>(static_cast<INT_PTR>(ParseDecimal(dest)));
    if (dest.empty() || !IsMailboxWindow(target)) return HandOver::Pending;
    // Explorer's window waits meanwhile: a receiver that is busy gets a few
    // seconds, a hung one none. What it did not take is filed at its next look.
    DWORD_PTR answer = 0;
    if (!SendMessageTimeoutA(target, kItemReadyMessage, 0, 0, SMTO_ABORTIFHUNG, kHandOverTimeoutMs, &answer))
        return HandOver::Pending;
    return ReadValue(file, kMailboxSection, "Name", kMailboxNameBuffer).empty() ? HandOver::Filed : HandOver::Pending;
}

MailboxFields ReceiveFromMailbox(const std::string& file) {
    // The file's own bytes: values that are no text of the code page (another
    // program may write anything) arrive as they were written, where the
    // profile functions would turn them into "?".
    std::string text;
    ReadWholeFile(file, text);
    const MailboxFields f = ReadFields(
        [&text](const char* key, size_t bufferSize) { return CutToBuffer(IniValue(text, kMailboxSection, key), bufferSize); },
        true);
    if (f.Name.empty()) return f;
    // Taken: a repeated message without a new hand-over finds nothing, so a
    // flood of 1044 files each hand-over once.
    WriteValue(file, kMailboxSection, "Name", nullptr);
    RemoveStrayMailboxKeys(file);
    return f;
}

void RemoveStrayMailboxKeys(const std::string& file) {
    // With no key, the call lists the section's keys, each ended by a NUL.
    std::vector<char> keys(32768, '\0');
    const DWORD n =
        GetPrivateProfileStringA(kMailboxSection, nullptr, "", keys.data(), static_cast<DWORD>(keys.size()), file.c_str());
    std::vector<std::string> stray;
    for (size_t at = 0; at < n && keys[at] != '\0';) {
        const std::string key(keys.data() + at);
        if (!IsMailboxKey(key)) stray.push_back(key);
        at += key.size() + 1;
    }
    for (const std::string& key : stray) WriteValue(file, kMailboxSection, key.c_str(), nullptr);
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

MailboxFields ReadPrefillRequest(const std::string& mailboxFile) {
    // The installation's mailbox first (its own bytes), then WIN.INI, where
    // other programs that can write it may still ask.
    std::string text;
    ReadWholeFile(mailboxFile, text);
    MailboxFields f = ReadFields(
        [&text](const char* key, size_t bufferSize) { return CutToBuffer(IniValue(text, kPrefillSection, key), bufferSize); },
        false);
    if (!f.Name.empty()) return f;
    return ReadFields(
        [](const char* key, size_t bufferSize) { return ReadValue(std::string(), kPrefillSection, key, bufferSize); },
        false);
}

}  // namespace tvx::win
