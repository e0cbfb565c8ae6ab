#include "services/item_rows.h"

#include "data/ansi_text.h"
#include "services/hotkey_table.h"
#include "services/short_name.h"

#include <algorithm>

namespace tvx {

ItemRow RowOfRecord(const LaunchItem& item, size_t index) {
    ItemRow row;
    row.name = item.Name;
    row.shortName = item.ShortName;
    row.hotkey1 = item.Hotkey1;
    row.hotkey2 = item.Hotkey2;
    row.description = item.Description;
    row.guid = item.ItemGuid;
    row.index = index;
    row.command = item.ExePath;
    return row;
}

void UpdateRecordFromRow(ItemStore& store, const ItemRow& row) {
    if (row.index < store.size()) WriteRowInto(store[row.index], row);
}

void WriteRowInto(LaunchItem& item, const ItemRow& row) {
    item.Name = row.name;
    item.ShortName = row.shortName;
    item.Hotkey1 = row.hotkey1;
    item.Hotkey2 = row.hotkey2;
    item.Description = row.description;
    item.ItemGuid = row.guid;
    item.ExePath = row.command;
}

void AppendRowAsRecord(std::vector<ItemRow>& rows, ItemStore& store, ItemRow row) {
    LaunchItem item;
    item.Status = "0";
    WriteRowInto(item, row);
    row.index = store.Append(std::move(item));
    rows.push_back(std::move(row));
}

std::vector<ItemRow> RowsForSelection(const ItemStore& store, std::string_view nodeData, bool isRoot) {
    std::vector<ItemRow> rows;
    if (isRoot) {
        rows.reserve(store.size());
        for (size_t i = 0; i < store.size(); ++i)
            if (!store[i].IsRemoved()) rows.push_back(RowOfRecord(store[i], i));
        return rows;
    }
    for (size_t i : ReadMemberList(nodeData, store))
        if (!store[i].Name.empty()) rows.push_back(RowOfRecord(store[i], i));
    return rows;
}

std::string NodeDataFromRows(std::string_view nodeData, const std::vector<ItemRow>& rows) {
    std::string out(nodeData.substr(0, nodeData.find('|')));
    if (rows.empty()) return out;
    out.reserve(out.size() + rows.size() * 7);
    out += '|';
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i) out += ',';
        out += std::to_string(rows[i].index);
    }
    return out;
}

bool IsComposedName(std::string_view name) { return name.size() >= 2 && name[0] == '+' && name[1] == ' '; }

bool NameSet::Contains(std::string_view name) const { return names_.count(ToLowerAnsi(name)) != 0; }
void NameSet::Insert(std::string_view name) { names_.insert(ToLowerAnsi(name)); }
void NameSet::Erase(std::string_view name) {
    auto it = names_.find(ToLowerAnsi(name));
    if (it != names_.end()) names_.erase(it);
}

namespace {

// Removes the rows at the given positions in one pass, keeping the others' order.
template <typename Row>
void EraseAt(std::vector<Row>& rows, std::vector<size_t> positions) {
    std::sort(positions.begin(), positions.end());
    positions.erase(std::unique(positions.begin(), positions.end()), positions.end());
    size_t next = 0, out = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (next < positions.size() && positions[next] == i) {
            ++next;
            continue;
        }
        if (out != i) rows[out] = std::move(rows[i]);
        ++out;
    }
    rows.resize(out);
}

std::vector<size_t> InRange(const std::vector<size_t>& chosen, size_t size) {
    std::vector<size_t> valid;
    valid.reserve(chosen.size());
    for (size_t p : chosen)
        if (p < size) valid.push_back(p);
    return valid;
}

}  // namespace

size_t AddCandidates(std::vector<CandidateRow>& candidates, const std::vector<size_t>& chosen,
                     std::vector<ItemRow>& rows, ItemStore& store, const GuidSource& newGuid) {
    const std::vector<size_t> valid = InRange(chosen, candidates.size());
    // A few candidates (the usual "<") are looked for in the rows one by one;
    // a set of the rows' names pays off only for many, and costs a lowered
    // copy of every name of a list of 100,000.
    const bool few = valid.size() <= 8;
    NameSet listed = few ? NameSet() : NameSet(rows);
    auto isListed = [&](std::string_view name) {
        if (!few) return listed.Contains(name);
        for (const ItemRow& row : rows)
            if (EqualsNoCase(row.name, name)) return true;
        return false;
    };
    std::vector<size_t> leaving;
    size_t added = 0;
    for (size_t p : valid) {
        CandidateRow& candidate = candidates[p];
        if (IsComposedName(candidate.name)) continue;
        leaving.push_back(p);
        if (isListed(candidate.name)) continue;
        if (!few) listed.Insert(candidate.name);
        ItemRow row;
        row.name = candidate.name;
        row.command = candidate.target;
        row.description = Trim(row.name);
        row.guid = newGuid();
        row.shortName = MakeResetShortName(row.name);
        AppendRowAsRecord(rows, store, std::move(row));
        ++added;
    }
    EraseAt(candidates, leaving);
    return added;
}

void RemoveRows(std::vector<ItemRow>& rows, const std::vector<size_t>& chosen, ItemStore& store,
                std::vector<CandidateRow>& candidates) {
    const std::vector<size_t> valid = InRange(chosen, rows.size());
    NameSet offered(candidates);
    for (size_t p : valid) {
        const ItemRow& row = rows[p];
        store.Remove(row.index);
        if (IsComposedName(row.name) || offered.Contains(row.name)) continue;
        offered.Insert(row.name);
        candidates.push_back(CandidateRow{row.name, row.command});
    }
    EraseAt(rows, valid);
}

std::string TakeRowsForLink(std::vector<ItemRow>& rows, const std::vector<size_t>& chosen) {
    const std::vector<size_t> valid = InRange(chosen, rows.size());
    std::string list;
    for (size_t p : valid) {
        if (!list.empty()) list += ',';
        list += std::to_string(rows[p].index);
    }
    EraseAt(rows, valid);
    return list;
}

bool HotkeyTaken(const ItemStore& store, std::string_view hotkey1, std::string_view hotkey2, size_t except) {
    const HotkeyCombination wanted = ParseHotkey(hotkey1, hotkey2);
    if (!wanted.valid()) return false;  // no hot key at all: nothing to collide with
    for (size_t i = 0; i < store.size(); ++i) {
        if (i == except) continue;
        const LaunchItem& item = store[i];
        if (item.Name.empty() || item.IsRemoved()) continue;
        const HotkeyCombination other = ParseHotkey(item.Hotkey1, item.Hotkey2);
        if (other.modifier == wanted.modifier && other.keyCode == wanted.keyCode) return true;
    }
    return false;
}

SetOutcome SetItemInfo(std::vector<ItemRow>& rows, size_t p, ItemStore& store, std::string_view shortName,
                       std::string_view hotkey1, std::string_view hotkey2, std::string_view description) {
    if (p >= rows.size()) return SetOutcome::Stored;
    ItemRow& row = rows[p];
    row.shortName = Trim(shortName);
    std::string h1(hotkey1), h2(hotkey2);
    if (!h1.empty() && !h2.empty() && HotkeyTaken(store, h1, h2, row.index)) return SetOutcome::HotkeyTaken;
    if (h1 == "No Hotkey") h1.clear(), h2.clear();
    row.hotkey1 = h1;
    row.hotkey2 = h2;
    row.description = std::string(description);
    UpdateRecordFromRow(store, row);
    return SetOutcome::Stored;
}

void ResetRows(std::vector<ItemRow>& rows, const std::vector<size_t>& chosen, ItemStore& store) {
    for (size_t p : InRange(chosen, rows.size())) {
        ItemRow& row = rows[p];
        row.shortName = MakeResetShortName(row.name);
        row.hotkey1.clear();
        row.hotkey2.clear();
        row.description.clear();
        UpdateRecordFromRow(store, row);
    }
}

void ResetAllRows(std::vector<ItemRow>& rows, ItemStore& store) {
    for (ItemRow& row : rows) {
        row.shortName = MakeResetShortName(row.name);
        row.hotkey1.clear();
        row.hotkey2.clear();
        UpdateRecordFromRow(store, row);
    }
}

bool AddFileRow(const FileToAdd& file, std::vector<ItemRow>& rows, ItemStore& store, const GuidSource& newGuid) {
    if (file.command.empty()) return false;
    ItemRow row;
    row.name = file.name.empty() ? file.command : file.name;
    row.command = file.command;
    row.shortName = MakeShortNameUntrimmed(file.title);
    row.description = file.title;
    row.guid = newGuid();
    AppendRowAsRecord(rows, store, std::move(row));
    return true;
}

namespace {
bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}
}  // namespace

template <typename Row>
long FindByNamePrefix(const std::vector<Row>& rows, std::string_view text, size_t start) {
    if (rows.empty()) return -1;
    if (start >= rows.size()) start = 0;
    for (size_t n = 0; n < rows.size(); ++n) {
        const size_t i = (start + n) % rows.size();
        if (StartsWithNoCase(rows[i].name, text)) return static_cast<long>(i);
    }
    return -1;
}
template long FindByNamePrefix<ItemRow>(const std::vector<ItemRow>&, std::string_view, size_t);
template long FindByNamePrefix<CandidateRow>(const std::vector<CandidateRow>&, std::string_view, size_t);

long FindByShortNameContaining(const std::vector<ItemRow>& rows, std::string_view text) {
    const std::string wanted = ToLowerAnsi(text);
    for (size_t i = 0; i < rows.size(); ++i)
        if (ToLowerAnsi(rows[i].shortName).find(wanted) != std::string::npos) return static_cast<long>(i);
    return -1;
}

namespace {
template <typename Row, typename Key>
void SortBy(std::vector<Row>& rows, bool ascending, Key key) {
    // Without regard to case first, then byte for byte, so equal names keep
    // a fixed order; stable for rows that are equal in both.
    std::vector<std::pair<std::string, size_t>> keys;
    keys.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) keys.emplace_back(ToLowerAnsi(key(rows[i])), i);
    std::stable_sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
        int c = a.first.compare(b.first);
        if (c == 0) c = key(rows[a.second]).compare(key(rows[b.second]));
        return ascending ? c < 0 : c > 0;
    });
    std::vector<Row> sorted;
    sorted.reserve(rows.size());
    for (const auto& k : keys) sorted.push_back(std::move(rows[k.second]));
    rows = std::move(sorted);
}
}  // namespace

void SortItemRows(std::vector<ItemRow>& rows, int column, bool ascending) {
    if (column == 1) SortBy(rows, ascending, [](const ItemRow& r) -> const std::string& { return r.shortName; });
    else SortBy(rows, ascending, [](const ItemRow& r) -> const std::string& { return r.name; });
}

void SortCandidates(std::vector<CandidateRow>& rows, bool ascending) {
    SortBy(rows, ascending, [](const CandidateRow& r) -> const std::string& { return r.name; });
}

}  // namespace tvx
