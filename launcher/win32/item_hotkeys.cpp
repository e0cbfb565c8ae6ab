#include "launcher/win32/item_hotkeys.h"

#include "services/hotkey_table.h"
#include "base/win32/win_handles.h"

#include <algorithm>

namespace tvx::win {

void ItemHotkeyTable::Register(const ItemStore& store) {
    Unregister();
    for (const PlannedHotkey& p : PlanItemHotkeys(store)) {
        RegisterHotKey(nullptr, p.id, p.keys.modifier, p.keys.keyCode);  // a refusal stays silent
        entries_.push_back({p.id, p.position});
    }
}

void ItemHotkeyTable::RegisterAdded(const ItemStore& store, size_t position) {
    if (position >= store.size() || store[position].Name.empty() || store[position].IsRemoved()) return;
    const HotkeyCombination keys = ParseHotkey(store[position].Hotkey1, store[position].Hotkey2);
    if (!keys.valid()) return;
    int id = kFirstItemHotkeyId;
    for (const Entry& e : entries_) id = std::max(id, e.id + 1);
    if (id > kLastHotkeyId) return;
    // Taken by an earlier item (or another program): refused, silently.
    RegisterHotKey(nullptr, id, keys.modifier, keys.keyCode);
    entries_.push_back({id, position});
}

void ItemHotkeyTable::Unregister() {
    for (const Entry& e : entries_) UnregisterHotKey(nullptr, e.id);
    entries_.clear();
}

long long ItemHotkeyTable::PositionOf(int id) const {
    for (const Entry& e : entries_)
        if (e.id == id) return static_cast<long long>(e.position);
    return -1;
}

}  // namespace tvx::win
