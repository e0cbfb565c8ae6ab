// The exchange dialog's transfers as values: each side is a catalog tree and
// an item table, and items and catalogs move between the two sides by these
// rules. An entry that both sides know (the same GUID) is one entry: it is
// updated where it stands, so every catalog that lists it keeps listing it.
#pragma once
#include "services/item_rows.h"
#include "data/catalog_tree.h"
#include "exchange/exchange_rules.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tvx {

// One side's item table with a GUID lookup, so that merging many entries
// never scans the table per entry.
class ExchangeTable {
public:
    explicit ExchangeTable(ItemStore& store);
    ItemStore& store() { return *store_; }
    const ItemStore& store() const { return *store_; }

    // After the store was replaced or filled from outside (or saved).
    void Reindex();
    // The first live entry with this GUID, or -1. An empty GUID names none:
    // entries without one are never taken for each other.
    long long Find(std::string_view guid) const;
    // A live entry with the item's GUID takes the item's fields and keeps its
    // index; otherwise the item is appended. Returns the entry's index.
    size_t Merge(const LaunchItem& item);
    // The entries that took an item by Merge: their clipboard data files are
    // the ones a save brings along (those still live when it saves).
    const std::unordered_set<size_t>& received() const { return received_; }
    // Makes the entry a tombstone.
    void Remove(size_t index);

private:
    ItemStore* store_;
    std::unordered_map<std::string, std::vector<size_t>> byGuid_;  // live entries, ascending
    std::unordered_set<size_t> received_;
};

// A transferred row as an entry: its texts from the row, Reserved empty,
// Status "0", the command from the row's data.
LaunchItem ItemOfRow(const ItemRow& row);

// The rows a list shows for a catalog: its live members in list order. The
// root stands for every live entry of the side.
std::vector<ItemRow> RowsOfCatalog(const ItemStore& store, const CatalogNode& node, bool isRoot);

// Moving rows from one side's list to the other's. `chosen` are row
// positions in `from`, in the order they are moved. In order: the giving
// entries become tombstones when `tombstoneGiving` is set; each row enters
// the receiving table (merged by GUID) and is appended to `to` with that
// index (unless `to` already shows that entry); the row leaves `from`. The caller then rewrites the receiving
// catalog's member list from `to` (NodeDataFromRows). Returns rows moved.
size_t MoveRows(std::vector<ItemRow>& from, const std::vector<size_t>& chosen, ExchangeTable& giving,
                bool tombstoneGiving, std::vector<ItemRow>& to, ExchangeTable& receiving);
// All rows of `from`, from the last row up.
std::vector<size_t> AllRowsFromLast(const std::vector<ItemRow>& from);

// Copies `source` with everything below it as the last child of
// `destination`, each copy with a fresh NodeID from `newNodeId` entered in
// `destinationIndex`. With `receiving` set, the members come along (merged
// by GUID) and each copy lists the
// receiving indices in the source order; without it the copies list nothing.
// Returns the new top copy.
CatalogNode* CopyCatalog(const CatalogNode& source, const ItemStore& sourceStore, CatalogNode& destination,
                         CatalogIndex& destinationIndex, ExchangeTable* receiving, const GuidSource& newNodeId);

// Adds a catalog named `name` as the last child of `parent` with a fresh
// NodeID and enters it in the index.
CatalogNode* AddCatalog(CatalogNode& parent, CatalogIndex& index, std::string name, const GuidSource& newNodeId);

// Deletes a catalog with everything below it; the entries they list become
// tombstones in the side's table. The root is never deleted.
bool DeleteCatalogWithItems(CatalogIndex& index, CatalogNode* node, ExchangeTable& table);

// An imported archive's table with its data-file commands pointed at this
// installation's data folder where the archive carries the file.
size_t PointImportedDataFiles(ItemStore& store, std::string_view dataFolder,
                              const std::unordered_set<std::string>& carried);

}  // namespace tvx
