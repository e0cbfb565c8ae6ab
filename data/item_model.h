// The records every part of the program works on: launchable items in one
// ordered store, and catalogs that name items by their index in that store.
#pragma once
#include "data/field_text.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <memory>
#include <vector>

namespace tvx {

// Parent NodeID of the top-level catalogs; the tree root is not a catalog.
inline constexpr std::string_view kRootCatalogId = "885D48E4-F5A7-4DF9-BB33-5C86DEDDE3AF";

struct LaunchItem {
    static constexpr int kFieldCount = 9;

    FieldText Name;
    FieldText ShortName;
    FieldText Hotkey1;      // modifier word: "Ctrl", "Alt" or "Shift"
    FieldText Hotkey2;      // key name of the key-name table
    FieldText Reserved;     // carries nothing; written empty
    FieldText Description;
    FieldText Status;       // "0" live, "-1" removed
    FieldText ItemGuid;
    FieldText ExePath;      // the command text

    // The fields in their fixed order (the order of the item file).
    FieldText& Field(int i);
    const FieldText& Field(int i) const;

    bool IsRemoved() const;
    bool operator==(const LaunchItem& o) const;
};

// The fields in the order of the item file.
inline constexpr FieldText LaunchItem::*kItemFieldOrder[LaunchItem::kFieldCount] = {
    &LaunchItem::Name,        &LaunchItem::ShortName, &LaunchItem::Hotkey1,  &LaunchItem::Hotkey2, &LaunchItem::Reserved,
    &LaunchItem::Description, &LaunchItem::Status,    &LaunchItem::ItemGuid, &LaunchItem::ExePath};
inline const FieldText& LaunchItem::Field(int i) const {
    return this->*kItemFieldOrder[i >= 0 && i < kFieldCount ? i : kFieldCount - 1];
}
inline FieldText& LaunchItem::Field(int i) { return this->*kItemFieldOrder[i >= 0 && i < kFieldCount ? i : kFieldCount - 1]; }

enum class ItemKind { Composed, Clipboard, Program, Other };
ItemKind KindOf(const LaunchItem& item);

// Removal never shrinks the table: a removed item stays as a tombstone, so
// the index of every other item, kept in catalog member lists, stays valid.
class ItemStore {
public:
    ItemStore() = default;
    // A copy shares the texts the store was read with (no text is copied).
    ItemStore(const ItemStore& other);
    ItemStore& operator=(const ItemStore& other);
    ItemStore(ItemStore&&) noexcept = default;
    ItemStore& operator=(ItemStore&&) noexcept = default;

    size_t size() const { return items_.size(); }
    bool empty() const { return items_.empty(); }
    const LaunchItem& operator[](size_t i) const { return items_[i]; }
    LaunchItem& operator[](size_t i) { return items_[i]; }
    const std::vector<LaunchItem>& items() const { return items_; }

    // Appends and returns the new index (the size before the append). An
    // item whose texts view another store's buffer gets texts of its own.
    size_t Append(LaunchItem item);
    // A new empty record at the end, for a reading that fills its fields
    // with views into the buffer of AdoptTexts.
    LaunchItem& EmplaceRead() { return items_.emplace_back(); }
    // Keeps the buffer the fields of records read into this store view.
    void AdoptTexts(std::shared_ptr<const std::string> texts) { texts_ = std::move(texts); }
    // Takes back the last Append, for a record its file could not take:
    // never used to remove an item the files already name.
    void DropLast() {
        if (!items_.empty()) items_.pop_back();
    }
    // Turns the item into a tombstone: Status "-1", texts emptied (Reserved kept).
    void Remove(size_t index);
    // Whether `index` names a live item of this store.
    bool IsLive(long long index) const;
    void Clear() {
        items_.clear();
        texts_.reset();
    }
    void Reserve(size_t count) { items_.reserve(count); }

private:
    std::vector<LaunchItem> items_;
    std::shared_ptr<const std::string> texts_;  // what the read records' fields view
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
