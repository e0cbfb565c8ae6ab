// The rows of the launcher's two result lists, kept in memory: filling from
// the whole store or a catalog's member list, sorting, and the prefix search
// of find-as-you-type.
#pragma once
#include "data/item_model.h"

#include <string>
#include <string_view>
#include <vector>

namespace tvx {

// One row of a result list: column 0 is the key the list is sorted and
// searched by (ShortName in the short-name list, Name in the name list).
struct ResultRow {
    std::string key;
    std::string second;       // Name in the short-name list, ShortName in the name list
    std::string description;
    long long position = -1;  // the item's index in the store ("IndexInAll")
};

struct ResultLists {
    std::vector<ResultRow> byShortName;  // list under the short-name box
    std::vector<ResultRow> byName;       // list under the name box
};

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
void SortRows(std::vector<ResultRow>& rows);
// Whether `a` sorts before `b`.
bool KeyLess(std::string_view a, std::string_view b);

// The first row whose key begins with `typed`, compared without regard to
// case (single-byte letters only); -1 when none does.
long FindFirstPrefix(const std::vector<ResultRow>& rows, std::string_view typed);

}  // namespace tvx
