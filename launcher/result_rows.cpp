#include "launcher/result_rows.h"

#include "data/ansi_text.h"

#include <algorithm>
#include <cstring>

namespace tvx {

namespace {
void AddRow(ResultLists& lists, const LaunchItem& item, size_t position) {
    lists.byShortName.push_back({item.ShortName, item.Name, item.Description, static_cast<long long>(position)});
    lists.byName.push_back({item.Name, item.ShortName, item.Description, static_cast<long long>(position)});
}

void SortBoth(ResultLists& lists) {
    SortRows(lists.byShortName);
    SortRows(lists.byName);
}
}  // namespace

ResultLists FillAtStartup(const ItemStore& store) {
    ResultLists lists;
    lists.byShortName.reserve(store.size());
    lists.byName.reserve(store.size());
    for (size_t i = 0; i < store.size(); ++i) {
        const LaunchItem& item = store[i];
        if (item.Name.empty() || Trim(item.Name).empty()) continue;
        AddRow(lists, item, i);
    }
    SortBoth(lists);
    return lists;
}

ResultLists FillFromCatalog(std::string_view nodeData, bool isRoot, const ItemStore& store) {
    ResultLists lists;
    auto consider = [&](long long position) {
        if (position < 0 || static_cast<unsigned long long>(position) >= store.size()) return;
        const LaunchItem& item = store[static_cast<size_t>(position)];
        if (item.Name.empty() || item.ShortName.empty()) return;
        AddRow(lists, item, static_cast<size_t>(position));
    };
    if (isRoot) {
        for (size_t i = 0; i < store.size(); ++i) consider(static_cast<long long>(i));
    } else {
        for (size_t position : ReadMemberList(nodeData, store)) consider(static_cast<long long>(position));
    }
    SortBoth(lists);
    return lists;
}

bool KeyLess(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    int c = n ? std::memcmp(a.data(), b.data(), n) : 0;  // memcmp compares unsigned bytes
    return c < 0 || (c == 0 && a.size() < b.size());
}

void SortRows(std::vector<ResultRow>& rows) {
    std::stable_sort(rows.begin(), rows.end(), [](const ResultRow& x, const ResultRow& y) { return KeyLess(x.key, y.key); });
}

long FindFirstPrefix(const std::vector<ResultRow>& rows, std::string_view typed) {
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::string& key = rows[i].key;
        if (key.size() >= typed.size() && EqualsNoCase(std::string_view(key).substr(0, typed.size()), typed))
            return static_cast<long>(i);
    }
    return -1;
}

}  // namespace tvx
