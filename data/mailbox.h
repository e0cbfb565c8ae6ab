// The add-item mailbox as values: what the sender writes into the WIN.INI
// section "sdfggsadf" and what the receiver makes of what it reads back.
#pragma once
#include "data/catalog_tree.h"
#include "data/item_model.h"

#include <optional>
#include <string>
#include <string_view>

namespace tvx {

// The receiver's buffer sizes; a value arrives cut to the size less one.
constexpr size_t kMailboxNameBuffer = 260;
constexpr size_t kMailboxHotkeyBuffer = 20;
constexpr size_t kMailboxTextBuffer = 1024;
constexpr size_t kMailboxNodeIdBuffer = 37;
constexpr size_t kMailboxDestBuffer = 260;

struct MailboxFields {
    std::string Name, ShortName, Hotkey1, Hotkey2, Description, ExePath, NodeID;
};

// A value as the receiver's buffer of `bufferSize` bytes holds it: at most
// bufferSize - 1 bytes, and never the first half of a double-byte character.
std::string CutToBuffer(std::string_view value, size_t bufferSize);

// The fields as the receiver takes them (each cut to its buffer).
MailboxFields CutToReceiverBuffers(const MailboxFields& sent);

// A WIN.INI value is one line. The Description may hold several (the
// add-item dialog's box takes Enter), so the sender writes it with "\"
// doubled and CR and LF as "\r" and "\n", scanning by characters so that a
// double-byte character whose second byte is 0x5C stays as it is; the
// receiver undoes it before cutting the text to its buffer. A lead byte that
// nothing can pair with (no GBK text) is written "\xHH", so that it never
// swallows a line break or the next escape. Any other "\" sequence is kept
// as it stands; a lone "\" at the very end is dropped.
std::string EscapeMailboxText(std::string_view text);
std::string UnescapeMailboxText(std::string_view text);
// The single-line values (names, hot keys, command, NodeID): a line break
// that reached one becomes a blank rather than a stray line of the section.
std::string SingleLine(std::string_view text);

// Whether a key of section "sdfggsadf" is one the hand-over uses (compared
// without regard to case, as profile keys are); the receiver removes the others.
bool IsMailboxKey(std::string_view key);

// The new item built from received fields, or nothing for an empty Name.
// `guid` becomes its ItemGuid.
std::optional<LaunchItem> ItemFromMailbox(const MailboxFields& received, std::string guid);

// The NodeID the sender writes for the selected catalog: the id the index
// pairs with that node, or the root id when the node is not in the index.
std::string NodeIdForSelection(const CatalogIndex& index, const CatalogNode* selected);

}  // namespace tvx
