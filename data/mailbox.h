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

// The new item built from received fields, or nothing for an empty Name.
// `guid` becomes its ItemGuid.
std::optional<LaunchItem> ItemFromMailbox(const MailboxFields& received, std::string guid);

// The NodeID the sender writes for the selected catalog: the id the index
// pairs with that node, or the root id when the node is not in the index.
std::string NodeIdForSelection(const CatalogIndex& index, const CatalogNode* selected);

}  // namespace tvx
