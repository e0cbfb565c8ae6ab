// The text form of an item's hot key and the table of key names.
#pragma once
#include "data/item_model.h"

#include <string_view>
#include <vector>

namespace tvx {

constexpr unsigned kModAlt = 1, kModControl = 2, kModShift = 4;  // as RegisterHotKey takes them

struct KeyName {
    std::string_view name;
    unsigned virtualKey;
};
// 48 names in the order the key lists show them: "A".."Z", "0".."9", "F1".."F12".
extern const KeyName kKeyNameTable[48];

// "Ctrl", "Alt" or "Shift" in any letter case; 0 for anything else.
unsigned ModifierOf(std::string_view hotkey1);
// The virtual-key code of a key name (exact text), 0 when it is none.
unsigned KeyCodeOf(std::string_view hotkey2);

struct HotkeyCombination {
    unsigned modifier = 0;
    unsigned keyCode = 0;
    bool valid() const { return modifier != 0 && keyCode != 0; }
};
HotkeyCombination ParseHotkey(std::string_view hotkey1, std::string_view hotkey2);

// Shift or Alt alone with a letter or digit: while Tavrolinex runs, such a
// key takes that character (Shift) or that menu key (Alt) from every other
// program. Allowed, but worth a word.
constexpr bool TakesKeyFromOtherPrograms(const HotkeyCombination& keys) {
    const bool character = (keys.keyCode >= 'A' && keys.keyCode <= 'Z') || (keys.keyCode >= '0' && keys.keyCode <= '9');
    return character && (keys.modifier == kModShift || keys.modifier == kModAlt);
}

// Ids of the program's own hot keys; item hot keys take the ids after them.
constexpr int kShowHideHotkeyId = 40961;      // Ctrl+Shift+J
constexpr int kCaptureCHotkeyId = 40976;      // Ctrl+Shift+C
constexpr int kCaptureAHotkeyId = 40977;      // Ctrl+Shift+A
constexpr int kConfigSaveHotkeyId = 40978;    // Ctrl+S of the configuration dialog
constexpr int kFirstItemHotkeyId = 40979;
constexpr int kLastHotkeyId = 0xBFFF;         // the last id an application may use

struct PlannedHotkey {
    int id;
    size_t position;  // the item's index in the store
    HotkeyCombination keys;
};

// One registration per item that has a name and a hot key, in store order.
// Every pass numbers its ids afresh from kFirstItemHotkeyId (all item hot
// keys are unregistered before the next pass), so they never reach the fixed
// ids or beyond 0xBFFF; items past that range get no hot key.
std::vector<PlannedHotkey> PlanItemHotkeys(const ItemStore& store);

}  // namespace tvx
