// What happens on disk when the exchange dialog loads or saves: the staging
// folders, the archive's two files and its clipboard data files, packing and
// unpacking, and the installation's files after an import.
//
// Nothing of the user's is touched on the way: archives are staged and
// unpacked only inside folders this program creates for the purpose (under
// the system's temporary folder), and only those folders are ever deleted. A
// new archive is written under a temporary name beside the chosen path and
// moved onto it only when it is complete. An import never changes a data
// file an existing entry uses: an imported file whose name is taken by other
// contents comes in under a new name, and the entries that bring it are
// pointed at that name when the item file is saved.
#pragma once
#include "data/catalog_tree.h"
#include "data/installation.h"
#include "data/item_model.h"
#include "exchange/exchange_rules.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tvx::win {

// A folder made by this program ("Tavrolinex-<process>-<unique>" in the
// temporary folder, with a marker file inside) and removed with everything
// in it when it is no longer needed.
class StagingFolder {
public:
    StagingFolder() = default;
    ~StagingFolder() { Remove(); }
    StagingFolder(const StagingFolder&) = delete;
    StagingFolder& operator=(const StagingFolder&) = delete;

    bool Create();
    void Remove();
    bool exists() const { return !path_.empty(); }
    const std::string& path() const { return path_; }
    // Notes a file beside the user's archive that is being written, so that
    // the next start can remove it when this process dies first.
    void NotePartialFile(const std::string& path) const;
    // Notes a data file an import is about to make in an installation (whose
    // item file is given), before the item file names it, so that the next
    // start removes it if this run dies first; Forget... once it is named.
    void NoteImportedDataFile(const std::string& itemFile, const std::string& dataFile);
    void ForgetImportedDataFiles();

private:
    std::string path_;
    std::string importNote_;  // the item file's path, then each noted data file, a line each
};

// Deletes a folder with everything in it (read-only entries included),
// depth first; with `keep`, everything but that file at its top, and the
// folder itself stays. Only ever used on a staging folder.
bool RemoveFolderTree(const std::string& folder, const char* keep = nullptr);

// What a killed or crashed run of this program left behind: its staging
// folders (they may hold unpacked clipboard contents) and the partial
// archive each noted. Only folders with this program's name pattern and
// marker whose process no longer runs are touched. Returns the folders removed.
size_t RemoveLeftoverStagingFolders();

enum class LoadOutcome {
    NoFile,          // no path, or no file there: nothing happens
    Loaded,
    Unreadable,      // not a zip archive, or a damaged one
    UnsafeName,      // an entry would land outside the staging folder, or a bomb
    ContentMissing,  // no whole T.dat and T.clg inside
    StagingFailed,   // no staging folder, or it could not take the files
};

// The MessageTexts key that tells the user about an outcome, or null.
const char* MessageKeyOf(LoadOutcome outcome);

enum class ImportSave {
    Saved,
    NothingChanged,   // failed; the installation's files are as they were
    EntriesOnly,      // the item file is written, the catalog file could not be
};

class ExchangePipeline {
public:
    ExchangePipeline(Installation installation, bool pack);

    bool packs() const { return pack_; }

    // ---- import ----
    // Unpacks the archive into a fresh staging folder and reads its item
    // table and its catalogs (into `index`, which holds the import root). The
    // imported clipboard commands are pointed at this installation's data
    // folder where the archive carries the file. The folders of archives
    // loaded before stay until the dialog closes: entries moved in from them
    // still bring their data files.
    LoadOutcome Load(const std::string& archivePath, ItemStore& table, CatalogIndex& index);
    // Worker step of an import: the clipboard data files of the entries at
    // `received` (the live ones) come from the staged archives into the
    // installation's "Data" folder, then the item file and the catalog file
    // are saved. A file whose name holds other contents there comes in under
    // a new name and `table`'s entries are pointed at it. On failure what was
    // copied is taken back (and the old item file put back when the catalog
    // file fails), so that the files agree and the outcome says what is on disk.
    ImportSave SaveImport(ItemStore& table, const std::unordered_set<size_t>& received, const CatalogTree& tree);

    // ---- export ----
    // Writes T.clg and T.dat into a fresh staging folder "T" and takes the
    // data files of the table's live entries.
    bool StageExport(const std::string& archivePath, const CatalogTree& tree, const ItemStore& table);
    // Worker step of an export: the clipboard data files into the staged
    // "Data" folder, then the archive packed under a temporary name beside
    // the chosen path and moved onto it. False when anything failed; the
    // chosen path is then as it was.
    bool CopyAndPack();

    // Removes every staging folder (Cancel, the end of a save, closing).
    void Discard();

private:
    std::string DataFolder() const { return installation_.DataFolder(); }
    std::string ItemFilePath() const { return installation_.ItemFile(); }
    std::string CatalogFilePath() const { return installation_.CatalogFile(); }
    bool BringDataFiles(ItemStore& table, const std::unordered_set<size_t>& received);
    void TakeBackDataFiles();

    Installation installation_;
    bool pack_;
    // Import: every loaded archive's staging folder, and where each data file
    // an archive carries lies (lower-case file name -> staged file; the
    // archive loaded first wins).
    std::vector<std::unique_ptr<StagingFolder>> loaded_;
    std::unordered_map<std::string, std::string> carried_;
    // What the last import save copied, so that it can be taken back.
    std::vector<std::string> createdFiles_;
    bool createdDataFolder_ = false;
    // Export.
    StagingFolder exportStaging_;
    std::string archivePath_;
    std::string title_;  // the top folder inside the archive
    std::vector<std::string> exportCommands_;
};

}  // namespace tvx::win
