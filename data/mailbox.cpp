#include "data/mailbox.h"

#include "data/ansi_text.h"

namespace tvx {

std::string CutToBuffer(std::string_view value, size_t bufferSize) {
    if (bufferSize == 0) return {};
    return std::string(CutAtCharacterBoundary(value, bufferSize - 1));
}

MailboxFields CutToReceiverBuffers(const MailboxFields& sent) {
    MailboxFields r;
    r.Name = CutToBuffer(sent.Name, kMailboxNameBuffer);
    r.ShortName = CutToBuffer(sent.ShortName, kMailboxNameBuffer);
    r.Hotkey1 = CutToBuffer(sent.Hotkey1, kMailboxHotkeyBuffer);
    r.Hotkey2 = CutToBuffer(sent.Hotkey2, kMailboxHotkeyBuffer);
    r.Description = CutToBuffer(sent.Description, kMailboxTextBuffer);
    r.ExePath = CutToBuffer(sent.ExePath, kMailboxTextBuffer);
    r.NodeID = CutToBuffer(sent.NodeID, kMailboxNodeIdBuffer);
    return r;
}

namespace {
// A WIN.INI line is bytes up to CR or LF, whatever came before them: a lead
// byte pairs only with a byte that can follow it in GBK (0x40 to 0xFE but
// 0x7F), never with a line break.
bool PairsAt(std::string_view text, size_t i) { return StrictCharWidthAt(text, i) == 2; }

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

std::string EscapeMailboxText(std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (PairsAt(text, i)) {
            out += c;
            out += text[++i];
        } else if (IsLeadByte(static_cast<unsigned char>(c))) {
            // A lead byte with nothing it can pair with: written as "\xHH", so
            // that the receiver cannot take it together with the next escape.
            out += "\\x";
            out += kHex[(static_cast<unsigned char>(c) >> 4) & 0xF];
            out += kHex[static_cast<unsigned char>(c) & 0xF];
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

std::string UnescapeMailboxText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (PairsAt(text, i)) {
            out += c;
            out += text[++i];
            continue;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (i + 1 >= text.size()) break;  // cut in the middle of an escape
        const char next = text[++i];
        if (next == '\\') out += '\\';
        else if (next == 'r') out += '\r';
        else if (next == 'n') out += '\n';
        else if (next == 'x' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += c;
            --i;  // not an escape of ours: keep both characters as they are
        }
    }
    return out;
}

std::string SingleLine(std::string_view text) {
    std::string out(text);
    for (size_t i = 0; i < out.size(); ++i) {
        if (PairsAt(out, i)) {
            ++i;
            continue;
        }
        if (out[i] == '\r' || out[i] == '\n') out[i] = ' ';
    }
    return out;
}

bool IsMailboxKey(std::string_view key) {
    for (const char* known : {"Name", "ShortName", "Hotkey1", "Hotkey2", "Description", "ExePath", "NodeID", "Dest"})
        if (EqualsNoCase(key, known)) return true;
    return false;
}

std::optional<LaunchItem> ItemFromMailbox(const MailboxFields& received, std::string guid) {
    if (received.Name.empty()) return std::nullopt;
    LaunchItem item;
    item.Name = received.Name;
    item.ShortName = received.ShortName;
    item.Hotkey1 = received.Hotkey1;
    item.Hotkey2 = received.Hotkey2;
    item.Description = received.Description;
    item.Status = "0";
    item.ItemGuid = std::move(guid);
    item.ExePath = received.ExePath;
    return item;
}

std::string NodeIdForSelection(const CatalogIndex& index, const CatalogNode* selected) {
    for (size_t i = 0; i < index.size(); ++i)
        if (index.NodeAt(i) == selected) return index.IdAt(i);
    return std::string(kRootCatalogId);
}

}  // namespace tvx
