// One way for every test to make entries and stores: a live entry with its
// name, and only the fields a test cares about set on top.
//
//   ItemStore store = StoreOf({Entry("a").Keys("Ctrl", "F12"), Entry("b").Command("c:\\b.exe")});
#pragma once
#include "data/item_model.h"

#include <initializer_list>
#include <string>
#include <utility>

namespace tvx::test {

class Entry {
public:
    explicit Entry(std::string name) {
        item_.Name = std::move(name);
        item_.Status = "0";
    }
    Entry& Short(std::string shortName) { item_.ShortName = std::move(shortName); return *this; }
    Entry& Keys(std::string hotkey1, std::string hotkey2) {
        item_.Hotkey1 = std::move(hotkey1);
        item_.Hotkey2 = std::move(hotkey2);
        return *this;
    }
    Entry& Description(std::string text) { item_.Description = std::move(text); return *this; }
    Entry& Guid(std::string guid) { item_.ItemGuid = std::move(guid); return *this; }
    Entry& Command(std::string command) { item_.ExePath = std::move(command); return *this; }
    operator LaunchItem() const { return item_; }  // NOLINT: used where a record is wanted

private:
    LaunchItem item_;
};

inline ItemStore StoreOf(std::initializer_list<LaunchItem> items) {
    ItemStore store;
    for (const LaunchItem& item : items) store.Append(item);
    return store;
}

}  // namespace tvx::test
