// The exchange archive's naming rules, apart from any file system: the
// names built from the archive path the user chose, which entry names an
// archive may hold, which stored clipboard files an entry carries along, and
// how an imported entry's data-file paths are pointed at this installation.
//
// An archive "X.trn" holds one top folder X with X.clg (the catalogs), X.dat
// (the items) and X/Data/ (the clipboard data files, possibly none). Inside
// the zip the separators are "/", which is what every zip tool expects;
// archives whose names use "\" load as well.
#pragma once
#include "data/item_model.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace tvx {

// The folder of the archive (up to its last "\", without it) and its title
// (the file name without the part from its last ".").
struct ArchiveName {
    std::string folder;
    std::string title;
};
ArchiveName ArchiveNameOf(std::string_view path);

// What is wrong with an archive path before writing it: the MessageTexts key
// "ConfigFilePathEmpty" or "ConfigFileNameError", or null when it will do.
// The name rules need a three-letter extension after a "." and a title.
const char* ArchivePathProblem(std::string_view trimmedPath);

// The file name of a path: the part after its last "\" or "/", found by
// characters (the second byte of a double-byte character never counts).
std::string FileNameOf(std::string_view path);

// Whether an entry name stays inside the folder it is unpacked into: not
// empty, no leading "\" or "/", no drive or stream (":"), no ".." part, no
// control characters. Double-byte characters are whole characters: a second
// byte 0x5C is not a separator.
// Windows device names (CON, NUL, COM1, LPT1, ..., with or without an
// extension) are refused in any part.
bool IsSafeEntryName(std::string_view name);

// What an archive's directory says of each entry: its bytes in the archive
// and unpacked. An archive is refused before anything is written when it
// would unpack to more than 4 GiB, or when an entry of more than 1 MiB
// claims more than 1000 bytes unpacked per byte packed (a zip bomb).
struct EntrySize {
    unsigned long long packed = 0, unpacked = 0;
};
constexpr unsigned long long kMaxUnpackedTotal = 4ULL << 30;
constexpr unsigned long long kRatioCheckedFrom = 1ULL << 20;
constexpr unsigned long long kMaxRatio = 1000;
bool ArchiveSizesSafe(const std::vector<EntrySize>& entries);
// The entry name with "/" separators turned into "\" (by characters), for
// the file system; a trailing separator marks a folder entry.
std::string NativeEntryPath(std::string_view name);
bool IsFolderEntry(std::string_view name);
// The top folder an entry lies in ("T" for "T/T.dat"), or empty for a file
// at the top.
std::string TopFolderOf(std::string_view name);

// The stored clipboard files an item's command names: the part after the
// first "^^^" when there is one (the member commands of a composed item),
// trimmed, split at CR LF, each command trimmed; those longer than four
// characters whose last four are ".stx" in any case.
std::vector<std::string> ClipboardDataCommands(std::string_view exePath);

// The stored clipboard files that travel with the live entries of a table
// (only those at `only`, when given): each file once, by file name compared
// without case, the first command naming it wins. Taken when the files are
// written, so that entries taken out again carry nothing.
std::vector<std::string> DataCommandsOf(const ItemStore& store, const std::unordered_set<size_t>* only = nullptr);

// Points the clipboard-data commands of an imported item at this
// installation's data folder: every command (the whole command, or each
// member command of a composed item) whose file name is one the archive
// carries (`carried`, lower case) becomes `dataFolder` + "\" + that name.
// Other commands and the composed item's member names stay as they are.
// Returns whether anything changed.
bool PointDataFilesAt(LaunchItem& item, std::string_view dataFolder, const std::unordered_set<std::string>& carried);
// The general form: every clipboard-data command of the item (trimmed) for
// which `target` gives a new command is replaced by it; line breaks and
// member names stay. Returns whether anything changed.
bool RewriteDataCommands(LaunchItem& item, const std::function<std::optional<std::string>(const std::string&)>& target);


}  // namespace tvx
