#include "data/mailbox.h"

#include "data/item_file.h"

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
