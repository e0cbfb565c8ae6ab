#include "launcher/result_rows.h"

#include "data/ansi_text.h"

#include <algorithm>
#include <cstring>

namespace tvx {

namespace {
const FieldText& KeyOf(const LaunchItem& item, KeyField key) {
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

const FieldText& RowKey(const ItemStore& store, const ResultList& list, size_t row) {
    return KeyOf(store[list.positions[row]], list.key);
}

const FieldText& RowSecond(const ItemStore& store, const ResultList& list, size_t row) {
    return KeyOf(store[list.positions[row]], list.key == KeyField::ShortName ? KeyField::Name : KeyField::ShortName);
}

const FieldText& RowDescription(const ItemStore& store, const ResultList& list, size_t row) {
    return store[list.positions[row]].Description;
}

ResultLists FillAtStartup(const ItemStore& store) {
    ResultLists lists;
    lists.byShortName.positions.reserve(store.size());
    lists.byName.positions.reserve(store.size());
    for (size_t i = 0; i < store.size(); ++i) {
        const FieldText& name = store[i].Name;
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

namespace {
// The rows are in byte order of their keys (KeyLess), and a typed letter
// matches either case: the rows that begin with one way of writing the
// typed text stand together. The search goes through the ways in byte
// order (capital first), narrowing the rows at each typed byte and leaving
// a way as soon as no row begins with it, so that the first way with rows
// gives the first matching row.
class PrefixSearch {
public:
    PrefixSearch(const ItemStore& store, const ResultList& list, std::string_view typed)
        : store_(store), list_(list), typed_(typed), exact_(typed.size(), false) {
        // A byte after a lead byte is the second half of a double-byte
        // character: it matches only itself, as EqualsNoCase compares it.
        for (size_t i = 0; i < typed.size(); ++i)
            if (IsLeadByte(static_cast<unsigned char>(typed[i])) && i + 1 < typed.size()) exact_[++i] = true;
    }

    long First() { return Search(0, 0, list_.positions.size()); }

private:
    // Byte `at` of a row's key; -1 when the key is shorter.
    int ByteOf(size_t row, size_t at) const {
        const FieldText& key = KeyOf(store_[list_.positions[row]], list_.key);
        return at < key.size() ? static_cast<unsigned char>(key[at]) : -1;
    }
    // The rows of [lo, hi), which agree on their first `at` bytes, whose
    // byte `at` is `c`.
    std::pair<size_t, size_t> Narrow(size_t lo, size_t hi, size_t at, int c) const {
        size_t a = lo, b = hi;
        while (a < b) {  // the first whose byte is c or more
            const size_t mid = a + (b - a) / 2;
            if (ByteOf(mid, at) < c) a = mid + 1;
            else b = mid;
        }
        size_t e = a, f = hi;
        while (e < f) {  // the first whose byte is more than c
            const size_t mid = e + (f - e) / 2;
            if (ByteOf(mid, at) <= c) e = mid + 1;
            else f = mid;
        }
        return {a, e};
    }
    long Search(size_t at, size_t lo, size_t hi) const {
        if (lo >= hi) return -1;
        if (at == typed_.size()) return static_cast<long>(lo);
        const unsigned char c = static_cast<unsigned char>(typed_[at]);
        int ways[2] = {c, -1};
        if (!exact_[at] && ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))) {
            ways[0] = c & ~0x20;  // the capital sorts first
            ways[1] = c | 0x20;
        }
        for (int way : ways) {
            if (way < 0) break;
            const auto [a, b] = Narrow(lo, hi, at, way);
            const long found = Search(at + 1, a, b);
            if (found >= 0) return found;
        }
        return -1;
    }

    const ItemStore& store_;
    const ResultList& list_;
    std::string_view typed_;
    std::vector<bool> exact_;
};
}  // namespace

long FindFirstPrefix(const ItemStore& store, const ResultList& list, std::string_view typed) {
    return PrefixSearch(store, list, typed).First();
}

}  // namespace tvx
