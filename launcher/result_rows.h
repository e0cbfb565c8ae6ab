// The rows of the launcher's two result lists, kept in memory as item
// positions: filling from the whole store or a catalog's member list,
// sorting, and the prefix search of find-as-you-type. The texts of a row are
// read from the store when the list shows it, so a refill copies no text.
#pragma once
#include "data/item_model.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tvx {

// Column 0 of a list is its key: the list is sorted and searched by it.
enum class KeyField { ShortName, Name };

struct ResultList {
    KeyField key = KeyField::ShortName;
    std::vector<uint32_t> positions;  // the items' indices in the store ("IndexInAll")

    size_t size() const { return positions.size(); }
};

struct ResultLists {
    ResultList byShortName{KeyField::ShortName, {}};  // list under the short-name box
    ResultList byName{KeyField::Name, {}};            // list under the name box
};

// The texts of a row: column 0 the key, column 1 the other name, column 2
// the description. `row` must be inside the list and the list must have been
// filled from this store.
const FieldText& RowKey(const ItemStore& store, const ResultList& list, size_t row);
const FieldText& RowSecond(const ItemStore& store, const ResultList& list, size_t row);
const FieldText& RowDescription(const ItemStore& store, const ResultList& list, size_t row);

// Start-up filling: every item whose Name is not empty after trimming,
// an empty ShortName included.
ResultLists FillAtStartup(const ItemStore& store);
// Filling from a catalog's NodeData (the root lists every position), in
// member-list order before sorting. Items with an empty Name or ShortName
// (every tombstone among them) are skipped, as are positions outside the
// store and empty pieces; a catalog without "|" lists nothing.
ResultLists FillFromCatalog(std::string_view nodeData, bool isRoot, const ItemStore& store);

// Ascending by key, comparing bytes as unsigned values, which is the
// multi-byte string order of the code page (upper case before lower case,
// double-byte characters as units after single bytes). Equal keys keep their
// item order.
void SortRows(const ItemStore& store, ResultList& list);
// Whether `a` sorts before `b`.
bool KeyLess(std::string_view a, std::string_view b);

// The first row whose key begins with `typed`, compared without regard to
// case (single-byte letters only); -1 when none does.
long FindFirstPrefix(const ItemStore& store, const ResultList& list, std::string_view typed);

}  // namespace tvx
