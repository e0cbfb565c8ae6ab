#include "launcher/win32/item_hotkeys.h"

#include "launcher/hotkey_table.h"
#include "ui/skin/win32/win_handles.h"

namespace tvx::win {

void ItemHotkeyTable::Register(const ItemStore& store) {
    Unregister();
    for (const PlannedHotkey& p : PlanItemHotkeys(store)) {
        RegisterHotKey(nullptr, p.id, p.keys.modifier, p.keys.keyCode);  // a refusal stays silent
        entries_.push_back({p.id, p.position});
    }
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
