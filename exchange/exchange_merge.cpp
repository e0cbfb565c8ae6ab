#include "exchange/exchange_merge.h"

#include <algorithm>
#include <unordered_set>

namespace tvx {

ExchangeTable::ExchangeTable(ItemStore& store) : store_(&store) { Reindex(); }

void ExchangeTable::Reindex() {
    byGuid_.clear();
    received_.clear();  // a table filled from outside has received nothing here
    byGuid_.reserve(store_->size());
    for (size_t i = 0; i < store_->size(); ++i) {
        const LaunchItem& item = (*store_)[i];
        if (!item.IsRemoved() && !item.ItemGuid.empty()) byGuid_[item.ItemGuid.str()].push_back(i);
    }
}

long long ExchangeTable::Find(std::string_view guid) const {
    if (guid.empty()) return -1;
    auto it = byGuid_.find(std::string(guid));
    if (it == byGuid_.end() || it->second.empty()) return -1;
    return static_cast<long long>(it->second.front());
}

size_t ExchangeTable::Merge(const LaunchItem& item) {
    const long long found = Find(item.ItemGuid);
    if (found >= 0) {
        LaunchItem& entry = (*store_)[static_cast<size_t>(found)];
        const std::string reserved = entry.Reserved.str();
        const std::string status = entry.Status.str();
        entry = item;
        entry.Reserved = reserved;
        entry.Status = status;
        received_.insert(static_cast<size_t>(found));
        return static_cast<size_t>(found);
    }
    const size_t index = store_->Append(item);
    received_.insert(index);
    if (!item.IsRemoved() && !item.ItemGuid.empty()) byGuid_[item.ItemGuid.str()].push_back(index);
    return index;
}

void ExchangeTable::Remove(size_t index) {
    if (index >= store_->size()) return;
    const std::string guid = (*store_)[index].ItemGuid.str();
    store_->Remove(index);
    auto it = byGuid_.find(guid);
    if (it == byGuid_.end()) return;
    auto& list = it->second;
    list.erase(std::remove(list.begin(), list.end(), index), list.end());
    if (list.empty()) byGuid_.erase(it);
}

LaunchItem ItemOfRow(const ItemRow& row) {
    LaunchItem item;
    item.Status = "0";
    WriteRowInto(item, row);
    return item;
}

std::vector<ItemRow> RowsOfCatalog(const ItemStore& store, const CatalogNode& node, bool isRoot) {
    return RowsForSelection(store, node.nodeData, isRoot);
}

size_t MoveRows(std::vector<ItemRow>& from, const std::vector<size_t>& chosen, ExchangeTable& giving,
                bool tombstoneGiving, std::vector<ItemRow>& to, ExchangeTable& receiving) {
    std::vector<bool> taken(from.size(), false);
    std::vector<size_t> order;
    order.reserve(chosen.size());
    for (size_t r : chosen)
        if (r < from.size() && !taken[r]) {
            taken[r] = true;
            order.push_back(r);
        }
    if (order.empty()) return 0;
    if (tombstoneGiving)
        for (size_t r : order) giving.Remove(from[r].index);
    std::unordered_set<size_t> shown;
    shown.reserve(to.size() + order.size());
    for (const ItemRow& row : to) shown.insert(row.index);
    for (size_t r : order) {
        ItemRow row = from[r];
        row.index = receiving.Merge(ItemOfRow(row));
        if (shown.insert(row.index).second) to.push_back(std::move(row));
    }
    size_t kept = 0;
    for (size_t r = 0; r < from.size(); ++r) {
        if (taken[r]) continue;
        if (kept != r) from[kept] = std::move(from[r]);  // never onto itself: that would empty the row
        ++kept;
    }
    from.resize(kept);
    return order.size();
}

std::vector<size_t> AllRowsFromLast(const std::vector<ItemRow>& from) {
    std::vector<size_t> rows(from.size());
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = rows.size() - 1 - i;
    return rows;
}

namespace {

CatalogNode* CopyInto(const CatalogNode& source, const ItemStore& sourceStore, CatalogNode& destination,
                      CatalogIndex& index, ExchangeTable* receiving, const GuidSource& newNodeId) {
    std::string nodeData = newNodeId();
    const std::string id = nodeData;
    if (receiving) {
        bool first = true;
        for (size_t member : ReadMemberList(source.nodeData, sourceStore)) {
            const LaunchItem& item = sourceStore[member];
            LaunchItem copy = item;
            copy.Reserved.clear();
            copy.Status = "0";
            const size_t at = receiving->Merge(copy);
            nodeData += first ? '|' : ',';
            nodeData += std::to_string(at);
            first = false;
        }
    }
    CatalogNode* copy = destination.AddChild(source.text, std::move(nodeData));
    index.Add(id, copy);
    for (const auto& child : source.children)
        CopyInto(*child, sourceStore, *copy, index, receiving, newNodeId);
    return copy;
}

}  // namespace

CatalogNode* CopyCatalog(const CatalogNode& source, const ItemStore& sourceStore, CatalogNode& destination,
                         CatalogIndex& destinationIndex, ExchangeTable* receiving, const GuidSource& newNodeId) {
    // A copy into its own subtree would keep finding new children to copy.
    if (IsWithin(&destination, &source)) return nullptr;
    return CopyInto(source, sourceStore, destination, destinationIndex, receiving, newNodeId);
}

CatalogNode* AddCatalog(CatalogNode& parent, CatalogIndex& index, std::string name, const GuidSource& newNodeId) {
    std::string id = newNodeId();
    CatalogNode* node = parent.AddChild(SanitizeCatalogName(name), id);
    index.Add(std::move(id), node);
    return node;
}

bool DeleteCatalogWithItems(CatalogIndex& index, CatalogNode* node, ExchangeTable& table) {
    if (!node || !node->parent) return false;
    for (const CatalogNode* n : SubtreeOf(node))
        for (size_t member : ReadMemberList(n->nodeData, table.store())) table.Remove(member);
    return RemoveCatalog(index, node);
}

size_t PointImportedDataFiles(ItemStore& store, std::string_view dataFolder,
                              const std::unordered_set<std::string>& carried) {
    size_t changed = 0;
    if (carried.empty()) return 0;
    for (size_t i = 0; i < store.size(); ++i)
        if (!store[i].IsRemoved() && PointDataFilesAt(store[i], dataFolder, carried)) ++changed;
    return changed;
}

}  // namespace tvx
