#include "launcher/result_rows.h"

#include "data/ansi_text.h"

#include <algorithm>
#include <cstring>

namespace tvx {

namespace {
const std::string& KeyOf(const LaunchItem& item, KeyField key) {
    return key == KeyField::ShortName ? item.ShortName : item.Name;
}

void AddRow(ResultLists& lists, size_t position) {
    lists.byShortName.positions.push_back(static_cast<uint32_t>(position));
    lists.byName.positions.push_back(static_cast<uint32_t>(position));
}

void SortBoth(const ItemStore& store, ResultLists& lists) {
    SortRows(store, lists.byShortName);
    SortRows(store, lists.byName);
}
}  // namespace

const std::string& RowKey(const ItemStore& store, const ResultList& list, size_t row) {
    return KeyOf(store[list.positions[row]], list.key);
}

const std::string& RowSecond(const ItemStore& store, const ResultList& list, size_t row) {
    return KeyOf(store[list.positions[row]], list.key == KeyField::ShortName ? KeyField::Name : KeyField::ShortName);
}

const std::string& RowDescription(const ItemStore& store, const ResultList& list, size_t row) {
    return store[list.positions[row]].Description;
}

ResultLists FillAtStartup(const ItemStore& store) {
    ResultLists lists;
    lists.byShortName.positions.reserve(store.size());
    lists.byName.positions.reserve(store.size());
    for (size_t i = 0; i < store.size(); ++i) {
        const std::string& name = store[i].Name;
        if (name.empty() || Trim(name).empty()) continue;
        AddRow(lists, i);
    }
    SortBoth(store, lists);
    return lists;
}

ResultLists FillFromCatalog(std::string_view nodeData, bool isRoot, const ItemStore& store) {
    ResultLists lists;
    auto consider = [&](size_t position) {
        const LaunchItem& item = store[position];
        if (!item.Name.empty() && !item.ShortName.empty()) AddRow(lists, position);
    };
    if (isRoot) {
        lists.byShortName.positions.reserve(store.size());
        lists.byName.positions.reserve(store.size());
        for (size_t i = 0; i < store.size(); ++i) consider(i);
    } else {
        for (size_t position : ReadMemberList(nodeData, store)) consider(position);
    }
    SortBoth(store, lists);
    return lists;
}

bool KeyLess(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    int c = n ? std::memcmp(a.data(), b.data(), n) : 0;  // memcmp compares unsigned bytes
    return c < 0 || (c == 0 && a.size() < b.size());
}

void SortRows(const ItemStore& store, ResultList& list) {
    // Sort (key, position) pairs side by side rather than reaching into the
    // store for every comparison.
    std::vector<std::pair<std::string_view, uint32_t>> keyed;
    keyed.reserve(list.positions.size());
    for (uint32_t p : list.positions) keyed.emplace_back(KeyOf(store[p], list.key), p);
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const auto& x, const auto& y) { return KeyLess(x.first, y.first); });
    for (size_t i = 0; i < keyed.size(); ++i) list.positions[i] = keyed[i].second;
}

long FindFirstPrefix(const ItemStore& store, const ResultList& list, std::string_view typed) {
    for (size_t i = 0; i < list.positions.size(); ++i) {
        const std::string& key = KeyOf(store[list.positions[i]], list.key);
        if (key.size() >= typed.size() && EqualsNoCase(std::string_view(key).substr(0, typed.size()), typed))
            return static_cast<long>(i);
    }
    return -1;
}

}  // namespace tvx
