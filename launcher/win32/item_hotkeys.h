// The item hot keys, registered for the user-interface thread.
#pragma once
#include "data/item_model.h"

#include <string>
#include <vector>

namespace tvx::win {

// RegisterHotKey without the keyboard's repeat: a key held down starts its
// entry once (MOD_NOREPEAT; a system that does not know it is asked again
// without it).
bool RegisterHotkeyOnce(int id, unsigned modifiers, unsigned keyCode);

class ItemHotkeyTable {
public:
    ~ItemHotkeyTable() { Unregister(); }
    // Registers every item with a name and a hot key. A failed registration
    // (the keys are taken by another program or an earlier item) stays in
    // the table without effect: the first item with a combination keeps it.
    // Returns the keys another program holds, "Ctrl + F5: <item name>" each.
    std::vector<std::string> Register(const ItemStore& store);
    // One item added since (an entry handed over from Explorer): registered
    // by the same rule, under the next free id.
    void RegisterAdded(const ItemStore& store, size_t position);
    void Unregister();
    // The item a hot-key id starts, or -1.
    long long PositionOf(int id) const;

private:
    struct Entry { int id; size_t position; };
    std::vector<Entry> entries_;
};

}  // namespace tvx::win
