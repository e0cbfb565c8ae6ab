#include "launcher/win32/item_hotkeys.h"

#include "services/hotkey_table.h"
#include "base/win32/win_handles.h"

#include <algorithm>
#include <string>

namespace tvx::win {

bool RegisterHotkeyOnce(int id, unsigned modifiers, unsigned keyCode) {
    constexpr unsigned kNoRepeat = 0x4000;  // MOD_NOREPEAT, Windows 7 and later
    if (RegisterHotKey(nullptr, id, modifiers | kNoRepeat, keyCode)) return true;
    return RegisterHotKey(nullptr, id, modifiers, keyCode) != FALSE;
}

std::vector<std::string> ItemHotkeyTable::Register(const ItemStore& store) {
    Unregister();
    std::vector<std::string> heldElsewhere;
    std::vector<HotkeyCombination> ours;
    for (const PlannedHotkey& p : PlanItemHotkeys(store)) {
        const auto same = [&p](const HotkeyCombination& k) {
            return k.modifier == p.keys.modifier && k.keyCode == p.keys.keyCode;
        };
        if (RegisterHotkeyOnce(p.id, p.keys.modifier, p.keys.keyCode))
            ours.push_back(p.keys);
        else if (std::none_of(ours.begin(), ours.end(), same))  // an earlier item's keys: silent, as ever
            heldElsewhere.push_back(std::string(store[p.position].Hotkey1.view()) + " + " +
                                    std::string(store[p.position].Hotkey2.view()) + ": " +
                                    std::string(store[p.position].Name.view()));
        entries_.push_back({p.id, p.position});
    }
    return heldElsewhere;
}

void ItemHotkeyTable::RegisterAdded(const ItemStore& store, size_t position) {
    if (position >= store.size() || store[position].Name.empty() || store[position].IsRemoved()) return;
    const HotkeyCombination keys = ParseHotkey(store[position].Hotkey1, store[position].Hotkey2);
    if (!keys.valid()) return;
    int id = kFirstItemHotkeyId;
    for (const Entry& e : entries_) id = std::max(id, e.id + 1);
    if (id > kLastHotkeyId) return;
    // Taken by an earlier item (or another program): refused, silently.
    RegisterHotkeyOnce(id, keys.modifier, keys.keyCode);
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
