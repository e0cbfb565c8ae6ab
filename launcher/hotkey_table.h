// The text form of an item's hot key and the table of key names.
#pragma once
#include <string_view>

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

}  // namespace tvx
