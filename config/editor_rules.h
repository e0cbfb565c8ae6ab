// The rules of the item editors, the composed box and batch replace, apart
// from any window: the stored form of a composed item both ways, which
// members it can hold, the name checks of the editors, and the replacement
// rule with its three kinds of targets.
#pragma once
#include "data/installation.h"
#include "services/item_rows.h"

#include <string>
#include <string_view>
#include <vector>

namespace tvx {

// ---- composed items ----------------------------------------------------------------

// One member of a composed item: a name and the command it runs.
struct ComposedMember {
    std::string name, command;
};

// The command a composed item stores: the member names joined by CR LF,
// "^^^", the member commands joined by CR LF, with trailing CR and LF
// trimmed off both joined parts.
std::string BuildComposedCommand(const std::vector<ComposedMember>& members);
// The members of a stored composed command, name and command paired by
// position (a missing counterpart is empty). A command without "^^^" has none.
std::vector<ComposedMember> ParseComposedCommand(std::string_view command);
bool IsComposedCommand(std::string_view command);

// The stored form separates members by line breaks and its two halves by
// "^^^": a member whose name or command holds either (or begins or ends with
// "^", which would run into the separator) would come back as other members. The composed box refuses such a member (a multi-line custom
// command cannot be one member of a composed item).
bool FitsComposedForm(const ComposedMember& member);

// The composed item's Name ("+ " and the composed name) and the composed
// name back from it.
std::string ComposedItemName(std::string_view composedName);
std::string ComposedNameOf(std::string_view itemName);

// ---- the editors' checks ----------------------------------------------------------------

enum class NameCheck { Ok, Empty, Reserved };
// A trimmed name that is empty, or that begins with "+" (reserved for
// composed items), is refused.
NameCheck CheckEditorName(std::string_view trimmedName);

// Whether a row other than `except` has exactly this name (case-sensitive,
// whole text): only a real duplicate is refused, "Word" beside "WordPad" is not.
bool NameTaken(const std::vector<ItemRow>& rows, std::string_view name, long except);

// The kind of command an editor is opened for.
bool IsClipboardCommand(std::string_view command);  // ends in ".stx"
bool IsControlPanelCommand(std::string_view command);  // ends in ".cpl": locked

// ---- clipboard data files ------------------------------------------------------------

// Whether a live record names the data file: as its command, or as a member
// command of a composed item (paths compared without regard to case).
bool DataFileReferenced(const ItemStore& store, std::string_view path);

// The data files the configuration dialog's clipboard editor made or
// replaced. Nothing is deleted while the dialog edits: the records on disk
// may still name an old file until the dialog saves. When it saves, every
// touched file that no saved record names goes; when it ends without saving,
// the captures made since the last save go (no saved record names them), so
// that exactly the data files named by the saved records remain.
// Whether a path is a data file the program made itself: the installation's
// "\Data\" folder, a GUID text and ".stx". Only such files are ever deleted;
// a ".stx" file of the user's elsewhere never is.
bool IsProgramDataFile(std::string_view path, const Installation& installation);

class DataFileLedger {
public:
    void Captured(std::string path) { captured_.push_back(std::move(path)); }
    void Replaced(std::string path) { replaced_.push_back(std::move(path)); }
    std::vector<std::string> DeletableAfterSave(const ItemStore& saved);
    std::vector<std::string> DeletableWithoutSave();

private:
    std::vector<std::string> captured_, replaced_;
};

// ---- batch replace ---------------------------------------------------------------------

// Every occurrence of `find` replaced by `replacement`: exact and
// case-sensitive, left to right, replaced text not scanned again; only whole
// characters match (never the second byte of one Chinese character with the
// first of the next). Returns
// whether anything was replaced (an empty `find` replaces nothing).
bool ReplaceAll(std::string& text, std::string_view find, std::string_view replacement);

struct BatchReplaceSettings {
    std::string nameFind, nameReplacement;
    std::string shortFind, shortReplacement;
    std::string pathFind, pathReplacement;
    bool allItems = false;  // the whole table rather than the item list
};

// The three rules on one record's fields (Name, ShortName, command); a field
// is written back only when something in it was replaced; the command only
// when both path texts are non-empty. Returns whether anything changed.
bool ApplyBatchReplace(std::string& name, std::string& shortName, std::string& command,
                       const BatchReplaceSettings& settings);

// The targets: the selected rows when some are selected, else every row of
// the list (both written back to their records); with `allItems` every
// record of the table, removed ones left alone. Returns the changed count.
size_t BatchReplaceRows(std::vector<ItemRow>& rows, const std::vector<size_t>& selected, ItemStore& store,
                        const BatchReplaceSettings& settings);
size_t BatchReplaceTable(ItemStore& store, const BatchReplaceSettings& settings);

}  // namespace tvx
