// The records every part of the program works on: launchable items in one
// ordered store, and catalogs that name items by their index in that store.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tvx {

// Parent NodeID of the top-level catalogs; the tree root is not a catalog.
inline constexpr std::string_view kRootCatalogId = "885D48E4-F5A7-4DF9-BB33-5C86DEDDE3AF";

struct LaunchItem {
    static constexpr int kFieldCount = 9;

    std::string Name;
    std::string ShortName;
    std::string Hotkey1;      // modifier word: "Ctrl", "Alt" or "Shift"
    std::string Hotkey2;      // key name of the key-name table
    std::string Reserved;     // carries nothing; written empty
    std::string Description;
    std::string Status;       // "0" live, "-1" removed
    std::string ItemGuid;
    std::string ExePath;      // the command text

    // The fields in their fixed order (the order of the item file).
    std::string& Field(int i);
    const std::string& Field(int i) const;

    bool IsRemoved() const;
    bool operator==(const LaunchItem& o) const;
};

enum class ItemKind { Composed, Clipboard, Program, Other };
ItemKind KindOf(const LaunchItem& item);

// Removal never shrinks the table: a removed item stays as a tombstone, so
// the index of every other item, kept in catalog member lists, stays valid.
class ItemStore {
public:
    size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    const LaunchItem& operator[](size_t i) const { return items_[i]; }
    LaunchItem& operator[](size_t i) { return items_[i]; }
    const std::vector<LaunchItem>& items() const { return items_; }

    // Appends and returns the new index (the size before the append).
    size_t Append(LaunchItem item);
    // Takes back the last Append, for a record its file could not take:
    // never used to remove an item the files already name.
    void DropLast() {
        if (!items_.empty()) items_.pop_back();
    }
    // Turns the item into a tombstone: Status "-1", texts emptied (Reserved kept).
    void Remove(size_t index);
    // Whether `index` names a live item of this store.
    bool IsLive(long long index) const;
    void Clear() { items_.clear(); }
    void Reserve(size_t count) { items_.reserve(count); }

private:
    std::vector<LaunchItem> items_;
};

// NodeData of a catalog: its NodeID, then "|" and the member indices joined
// by ",", when it has members.
std::string AppendMember(std::string_view nodeData, size_t index);
// The live members named by a NodeData text, in list order: empty pieces,
// out-of-range indices and tombstones are skipped; a piece converts like
// atoi, so "x" names item 0.
std::vector<size_t> ReadMemberList(std::string_view nodeData, const ItemStore& store);
// The NodeID part of a NodeData text: its first 36 characters, or less when a
// "|" comes first.
std::string_view NodeIdOf(std::string_view nodeData);

// GUID text: 36 upper-case hexadecimal characters with dashes, no braces.
struct GuidBytes {
    uint32_t data1 = 0;
    uint16_t data2 = 0;
    uint16_t data3 = 0;
    std::array<uint8_t, 8> data4{};
};
std::string FormatGuidText(const GuidBytes& guid);
// The shape every GUID text has: 8-4-4-4-12 hexadecimal digits (any case).
bool IsGuidText(std::string_view text);

// Makes GUIDs; returns false when the system could not make one. The Win32
// side uses CoCreateGuid; tests pass a deterministic generator.
using GuidGenerator = std::function<bool(GuidBytes&)>;

// Fresh GUID texts. When the system cannot make a GUID, the text comes from
// a random fallback instead of repeating the previous one: two items with one
// GUID would share one clipboard data file, and saving one would overwrite
// the other's stored contents.
class GuidTextSource {
public:
    explicit GuidTextSource(GuidGenerator generator);
    std::string NewGuidText();

private:
    GuidGenerator generator_;
    uint64_t fallbackState_;
};

}  // namespace tvx
