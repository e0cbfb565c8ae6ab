#include "services/hotkey_table.h"

#include "data/ansi_text.h"

namespace tvx {

const KeyName kKeyNameTable[48] = {
    {"A", 65}, {"B", 66}, {"C", 67}, {"D", 68}, {"E", 69}, {"F", 70}, {"G", 71}, {"H", 72}, {"I", 73},
    {"J", 74}, {"K", 75}, {"L", 76}, {"M", 77}, {"N", 78}, {"O", 79}, {"P", 80}, {"Q", 81}, {"R", 82},
    {"S", 83}, {"T", 84}, {"U", 85}, {"V", 86}, {"W", 87}, {"X", 88}, {"Y", 89}, {"Z", 90},
    {"0", 48}, {"1", 49}, {"2", 50}, {"3", 51}, {"4", 52}, {"5", 53}, {"6", 54}, {"7", 55}, {"8", 56},
    {"9", 57}, {"F1", 112}, {"F2", 113}, {"F3", 114}, {"F4", 115}, {"F5", 116}, {"F6", 117},
    {"F7", 118}, {"F8", 119}, {"F9", 120}, {"F10", 121}, {"F11", 122}, {"F12", 123},
};

unsigned ModifierOf(std::string_view hotkey1) {
    const std::string lower = ToLowerAnsi(hotkey1);
    if (lower == "ctrl") return kModControl;
    if (lower == "shift") return kModShift;
    if (lower == "alt") return kModAlt;
    return 0;
}

unsigned KeyCodeOf(std::string_view hotkey2) {
    for (const KeyName& k : kKeyNameTable)
        if (k.name == hotkey2) return k.virtualKey;
    return 0;
}

HotkeyCombination ParseHotkey(std::string_view hotkey1, std::string_view hotkey2) {
    return {ModifierOf(hotkey1), KeyCodeOf(hotkey2)};
}

std::vector<PlannedHotkey> PlanItemHotkeys(const ItemStore& store) {
    std::vector<PlannedHotkey> plan;
    int id = kFirstItemHotkeyId;
    for (size_t i = 0; i < store.size() && id <= kLastHotkeyId; ++i) {
        const LaunchItem& item = store[i];
        if (item.Name.empty()) continue;
        const HotkeyCombination keys = ParseHotkey(item.Hotkey1, item.Hotkey2);
        if (!keys.valid()) continue;
        plan.push_back({id++, i, keys});
    }
    return plan;
}

}  // namespace tvx
