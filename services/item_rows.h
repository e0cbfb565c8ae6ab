// The configuration dialog's lists as values: the item list (the records of
// the selected catalog) and the candidate list (things that can become
// items), and every operation that moves rows between them, edits them or
// turns them back into records. The dialog's list views only show these
// rows; all the rules live here.
#pragma once
#include "data/ansi_text.h"
#include "data/item_model.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace tvx {

// One row of the item list: the shown fields of a record, its index in the
// working item table and its own copy of the command.
struct ItemRow {
    std::string name, shortName, hotkey1, hotkey2, description, guid;
    size_t index = 0;
    std::string command;
    // A multi-line custom command and a composed item (of any number of
    // members) show image 3, every other row image 2.
    int Image() const {
        return command.find("\r\n") != std::string::npos || FindComposedMarker(command) != std::string::npos ? 3 : 2;
    }
    // The text of a list column: name, short name, the two hot-key parts,
    // description, GUID, then the record's index.
    std::string Cell(int column) const {
        switch (column) {
        case 0: return name;
        case 1: return shortName;
        case 2: return hotkey1;
        case 3: return hotkey2;
        case 4: return description;
        case 5: return guid;
        default: return std::to_string(index);
        }
    }
};

// One row of the candidate list: a display name and what it would start.
struct CandidateRow {
    std::string name, target;
};

using GuidSource = std::function<std::string()>;

ItemRow RowOfRecord(const LaunchItem& item, size_t index);
// Writes the row's fields into a record; Status and Reserved stay.
void WriteRowInto(LaunchItem& item, const ItemRow& row);
// The same into the row's own record in the store.
void UpdateRecordFromRow(ItemStore& store, const ItemRow& row);
// A new entry: a fresh live record at the end of the store made from `row`,
// which takes the record's index and is listed at the end of `rows`.
void AppendRowAsRecord(std::vector<ItemRow>& rows, ItemStore& store, ItemRow row);

// The rows shown for a tree selection: every live record of the table for
// the root; the members for a catalog, skipping negative, removed and
// unnamed ones (the catalog's NodeData without "|" lists nothing).
std::vector<ItemRow> RowsForSelection(const ItemStore& store, std::string_view nodeData, bool isRoot);

// The catalog's NodeData rewritten from the rows: its NodeID, "|" and the
// rows' indices top to bottom; with no rows, the NodeID alone.
std::string NodeDataFromRows(std::string_view nodeData, const std::vector<ItemRow>& rows);

// Whether a name marks a composed item ("+ " first): such rows never move
// between the lists.
bool IsComposedName(std::string_view name);

// Lower-cased names, for the "a row of that name exists" rules of both lists
// (case-insensitive, whole text), so that no rule scans a list per row.
class NameSet {
public:
    NameSet() = default;
    template <typename Rows>
    explicit NameSet(const Rows& rows) {
        names_.reserve(rows.size());
        for (const auto& row : rows) Insert(row.name);
    }
    bool Contains(std::string_view name) const;
    void Insert(std::string_view name);
    void Erase(std::string_view name);

private:
    std::unordered_multiset<std::string> names_;
};

// Candidates to items ("<", "<<", a double-click): the chosen candidates, in
// the order given, leave the candidate list; each whose name no item row has
// yet is appended to the item list and as a new record to the table (its
// description the trimmed name, a fresh GUID, the upper-case reset short
// name, no hot key, status "0"). Composed names stay where they are.
// Returns how many rows were appended.
size_t AddCandidates(std::vector<CandidateRow>& candidates, const std::vector<size_t>& chosen,
                     std::vector<ItemRow>& rows, ItemStore& store, const GuidSource& newGuid);

// Removing items (">", ">>", Delete): their records become tombstones, the
// rows leave the item list, and each row whose name is not yet a candidate
// becomes one again (composed rows only leave). Removal is global: every
// catalog that names a removed record skips it from now on.
void RemoveRows(std::vector<ItemRow>& rows, const std::vector<size_t>& chosen, ItemStore& store,
                std::vector<CandidateRow>& candidates);

// Linking rows to a catalog: their indices joined by "," in the order given;
// the rows leave the item list.
std::string TakeRowsForLink(std::vector<ItemRow>& rows, const std::vector<size_t>& chosen);

// "Set": the short name is stored at once; then the hot-key pair, unless it
// is a valid combination that another live record already has. "No Hotkey"
// stores both hot-key texts empty.
enum class SetOutcome { Stored, HotkeyTaken };
SetOutcome SetItemInfo(std::vector<ItemRow>& rows, size_t row, ItemStore& store, std::string_view shortName,
                       std::string_view hotkey1, std::string_view hotkey2, std::string_view description);

// Whether a live record other than `except` has the hot key of this pair;
// pairs compare as the keys they register (the modifier word in any case).
bool HotkeyTaken(const ItemStore& store, std::string_view hotkey1, std::string_view hotkey2, size_t except);

// "Reset" (the chosen rows: new short name, no hot key, no description) and
// "Reset All" (every row: new short name, no hot key, description kept).
void ResetRows(std::vector<ItemRow>& rows, const std::vector<size_t>& chosen, ItemStore& store);
void ResetAllRows(std::vector<ItemRow>& rows, ItemStore& store);

// A file to make an item of: its title, the path the item starts (a short
// form when the code page cannot write the name) and the full path as the
// code page can show it (empty: the same as the command).
struct FileToAdd {
    std::string title;
    std::string command;
    std::string name;
};
// A file made an item (dropped, "Files ...", "Foder ..."): its full path as
// name and command, its title as description, the untrimmed short name of
// the title, a fresh GUID; appended to the rows and the table. An empty path
// adds nothing.
bool AddFileRow(const FileToAdd& file, std::vector<ItemRow>& rows, ItemStore& store,
                const GuidSource& newGuid);

// The find boxes. By name: the first row from `start` on (wrapping) whose
// name begins with the text, case-insensitive. By short name: the first row
// whose short name contains the text anywhere, case-insensitive. -1: none.
template <typename Row>
long FindByNamePrefix(const std::vector<Row>& rows, std::string_view text, size_t start);
long FindByShortNameContaining(const std::vector<ItemRow>& rows, std::string_view text);

// Sorting by a column: item rows by Name (0) or ShortName (1), candidates by
// Name; stable, byte order of the double-byte code page.
void SortItemRows(std::vector<ItemRow>& rows, int column, bool ascending);
void SortCandidates(std::vector<CandidateRow>& rows, bool ascending);

}  // namespace tvx
