// The item and catalog files on disk. Every full rewrite goes through a
// temporary file in the same folder that is flushed before it replaces the
// old file, so a crash, a power cut or a full disk never leaves the user with
// an empty or half-written file: the old file stays until the new one is whole.
#pragma once
#include "data/catalog_tree.h"
#include "data/installation.h"
#include "data/item_model.h"

#include <cstdint>
#include <functional>
#include <string>

namespace tvx::win {

// Whether a folder, or a file that is no folder, is at `path`.
bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);
// A path with ":" after its second character (a web address) counts as
// existing without a look; otherwise the file system decides.
bool PathExists(const std::string& path);
// 0 for a missing file.
uint64_t FileSizeOf(const std::string& path);

// What a read of a file found. A file another program holds open without
// sharing (a backup tool, a scanner, a synchronising client) is waited for a
// little; one still held after that is Unreadable, never taken for missing.
enum class FileRead { Read, Missing, Unreadable };
FileRead ReadStoredFile(const std::string& path, std::string& bytes);
inline bool ReadWholeFile(const std::string& path, std::string& bytes) {
    return ReadStoredFile(path, bytes) == FileRead::Read;
}
// ReadStoredFile for the item and catalog files: a file that could not be
// read is kept from every write of this process (replace, append, delete,
// the editing mark) until a later read of it succeeds, since whatever this
// process holds of it may be older than what the file has.
FileRead ReadDataFile(const std::string& path, std::string& bytes);

// Writes the bytes to a temporary file beside `path`, flushes it and then
// replaces `path` with it. On any failure the old file is left as it was,
// the temporary file is removed and false is returned; a read-only `path`
// is never replaced.
bool WriteFileReplacing(const std::string& path, const std::string& bytes);
// The same, with the bytes written as `produce` hands them to its argument
// (which says false when a write failed); `produce` says whether all went.
bool WriteFileReplacingWith(const std::string& path,
                            const std::function<bool(const std::function<bool(std::string_view)>&)>& produce);

// Full save of the item file; `cutFields` counts fields cut to 9999 bytes.
bool SaveItemFile(const std::string& path, const ItemStore& store, size_t* cutFields = nullptr);
// Appends the record of item `index` at the end of the file, header
// unchanged; a missing file or one shorter than the header gets a full save.
// A write that fails half way is cut off again, so the file ends as before.
bool AppendItemRecord(const std::string& path, const ItemStore& store, size_t index);
// `whole` (when given) is false for a file that could not be read to its
// end (see DecodeItemFile); a missing file is an empty, whole one. `read`
// (when given) tells a file that is there but could not be read (see
// ReadDataFile) from a missing one: both give an empty store.
ItemStore LoadItemFile(const std::string& path, bool* whole = nullptr, FileRead* read = nullptr);
// The one byte at offset 0 (0x01 while the configuration dialog edits,
// 0x00 after a save); creates a one-byte file when there is none.
bool WriteEditingMark(const std::string& path, unsigned char mark);

// Both files of an installation, in the order that keeps them agreeing: the
// item file first (an old catalog file still fits a new item file, since
// indices never move; a new catalog file beside an old item file would name
// records it lacks), then the catalog file. `afterItems` runs as soon as the
// item file is in place.
enum class BothFiles { Saved, ItemFileFailed, CatalogFileFailed };
BothFiles SaveItemAndCatalogFiles(const std::string& itemPath, const ItemStore& store, const std::string& catalogPath,
                                  const CatalogTree& tree, const std::function<void()>& afterItems = {});

// What a start does with files that could not be read whole: a dated copy of
// each is kept (or, when none can be made, the file is guarded, see
// KeepDamagedCopyOrGuard), then it is written again with what could be read;
// members past the records that were lost leave the catalogs (only once the
// item file was written again).
struct DamageRecovery {
    std::string uncopied;          // the damaged files without a copy, one a line
    bool catalogsChanged = false;  // members were dropped and the catalog file written
};
DamageRecovery RecoverDamagedFiles(const std::string& itemPath, const ItemStore& store, bool itemsWhole,
                                   const std::string& catalogPath, CatalogTree& tree, bool catalogsWhole);

// Saves the tree; a tree without catalogs leaves no catalog file behind.
bool SaveCatalogFile(const std::string& path, const CatalogTree& tree);
// Leaves the index as it was for a missing or unreadable file.
FileRead LoadCatalogFile(const std::string& path, CatalogIndex& index, bool* whole = nullptr);

// Keeps a copy of a file that could not be read whole, beside it, before
// anything overwrites it: "Shortcut2 (damaged 2026-12-07 13.15.00).dat".
// Returns the copy's path, or empty when it could not be made.
std::string KeepDamagedCopy(const std::string& path);
// The same, and when no copy can be made the file is guarded: no write of
// this process replaces, appends to or deletes it (the rest of the user's
// entries may be in it) until a later attempt makes the copy. Returns the
// copy's path, or empty when the file is now guarded.
std::string KeepDamagedCopyOrGuard(const std::string& path);

// A save cut short (the program killed while writing) leaves its temporary
// file "<file>.tmp~<process id>" behind. Removes those of the program's own
// files (the item and catalog files, the settings files, the clipboard data
// files) in the installation folder and its Data folder, and nothing else;
// returns how many went.
size_t RemoveStaleTemporaries(const Installation& installation);

}  // namespace tvx::win
