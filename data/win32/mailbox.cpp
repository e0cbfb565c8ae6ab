#include "data/win32/mailbox.h"

#include "data/ansi_text.h"
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

// A profile value reads back without the blanks around it and without one
// pair of quotes around it: the written value as a reader gets it.
std::string AsReadBack(std::string value) {
    const size_t first = value.find_first_not_of(" \t");
    const size_t last = value.find_last_not_of(" \t");
    value = first == std::string::npos ? std::string() : value.substr(first, last - first + 1);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

// Lets a message through to the window from a sender of lower integrity
// (Windows 7 and later; looked up, as older systems lack it).
void LetThroughFromLowerIntegrity(HWND window, UINT message) {
    using ChangeFilter = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto change = reinterpret_cast<ChangeFilter>(
        reinterpret_cast<void*>(user32 ? GetProcAddress(user32, "ChangeWindowMessageFilterEx") : nullptr));
    constexpr DWORD kAllow = 1;  // MSGFLT_ALLOW
    if (change && window) change(window, message, kAllow, nullptr);
}
}  // namespace

std::string MailboxFile(const std::string& installDir) { return installDir + "\\Mailbox.ini"; }

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
    for (const auto& [key, value] : values) {
        const std::string back = ReadWhole(file, kMailboxSection, key, value.size() + 1);
        written = written && (back == value || back == AsReadBack(value));
    }
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
    MailboxFields f;
    f.Name = ReadValue(file, kMailboxSection, "Name", kMailboxNameBuffer);
    if (f.Name.empty()) return f;
    f.ShortName = ReadValue(file, kMailboxSection, "ShortName", kMailboxNameBuffer);
    f.Hotkey1 = ReadValue(file, kMailboxSection, "Hotkey1", kMailboxHotkeyBuffer);
    f.Hotkey2 = ReadValue(file, kMailboxSection, "Hotkey2", kMailboxHotkeyBuffer);
    // The escaped Description takes up to twice its bytes: read it whole,
    // undo the escape, then cut it to its buffer.
    f.Description = CutToBuffer(
        UnescapeMailboxText(ReadValue(file, kMailboxSection, "Description", 2 * kMailboxTextBuffer)), kMailboxTextBuffer);
    f.ExePath = ReadValue(file, kMailboxSection, "ExePath", kMailboxTextBuffer);
    f.NodeID = ReadValue(file, kMailboxSection, "NodeID", kMailboxNodeIdBuffer);
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
    // The installation's mailbox first, then WIN.INI, where other programs
    // that can write it may still ask.
    for (const std::string& file : {mailboxFile, std::string()}) {
        MailboxFields f;
        f.Name = ReadValue(file, kPrefillSection, "Name", kMailboxNameBuffer);
        if (f.Name.empty()) continue;
        f.ShortName = ReadValue(file, kPrefillSection, "ShortName", kMailboxNameBuffer);
        f.Description = ReadValue(file, kPrefillSection, "Description", kMailboxTextBuffer);
        f.ExePath = ReadValue(file, kPrefillSection, "ExePath", kMailboxTextBuffer);
        return f;
    }
    return MailboxFields{};
}

}  // namespace tvx::win
