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
bool IsSafeEntryName(std::string_view name);
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

// The commands of every item sent across in one dialog: each command text
// once (exact comparison), in the order of their first transfer.
class DataFileList {
public:
    void Add(const std::string& exePath);
    const std::vector<std::string>& texts() const { return texts_; }
    bool empty() const { return texts_.empty(); }
    void Clear();
    // Every stored clipboard file named by the texts, by file name (the
    // first command naming a file wins; names compare without case).
    std::vector<std::string> DataCommands() const;

private:
    std::vector<std::string> texts_;
    std::unordered_set<std::string> seen_;
};

// Points the clipboard-data commands of an imported item at this
// installation's data folder: every command (the whole command, or each
// member command of a composed item) whose file name is one the archive
// carries (`carried`, lower case) becomes `dataFolder` + "\" + that name.
// Other commands and the composed item's member names stay as they are.
// Returns whether anything changed.
bool PointDataFilesAt(LaunchItem& item, std::string_view dataFolder, const std::unordered_set<std::string>& carried);

// The name an existing data file is kept under when an imported file of the
// same name but other contents takes its place: "<name>.before-import.bak",
// then "<name>.before-import-2.bak" and so on for `attempt` 1, 2, ...
std::string KeptDataFileName(std::string_view name, int attempt);

}  // namespace tvx
