// What happens on disk when the exchange dialog loads or saves: the staging
// folder, the archive's two files and its clipboard data files, packing and
// unpacking, and the installation's files after an import.
//
// Nothing of the user's is touched on the way: archives are staged and
// unpacked only inside a folder this program creates for the purpose (under
// the system's temporary folder), and only that folder is ever deleted. A new
// archive is written under a temporary name beside the chosen path and moved
// onto it only when it is complete.
#pragma once
#include "data/catalog_tree.h"
#include "data/item_model.h"
#include "exchange/exchange_rules.h"

#include <string>
#include <utility>
#include <vector>

namespace tvx::win {

// A folder made by this program ("Tavrolinex-<unique>" in the temporary
// folder) and removed with everything in it when it is no longer needed.
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

private:
    std::string path_;
};

// Deletes a folder with everything in it (read-only entries included),
// depth first. Only ever used on a staging folder.
bool RemoveFolderTree(const std::string& folder);

enum class LoadOutcome {
    NoFile,          // no path, or no file there: nothing happens
    Loaded,
    Unreadable,      // not a zip archive, or a damaged one
    UnsafeName,      // an entry would land outside the staging folder
    ContentMissing,  // no whole T.dat and T.clg inside
    StagingFailed,   // no staging folder, or it could not take the files
};

// The MessageTexts key that tells the user about an outcome, or null.
const char* MessageKeyOf(LoadOutcome outcome);

class ExchangePipeline {
public:
    ExchangePipeline(std::string installDir, bool pack);

    bool packs() const { return pack_; }
    DataFileList& dataFiles() { return dataFiles_; }
    const std::string& stagingPath() const { return staging_.path(); }

    // ---- import ----
    // Unpacks the archive into a fresh staging folder (the one of an earlier
    // load is removed first) and reads its item table and its catalogs
    // (into `index`, which holds the import root). The imported clipboard
    // commands are pointed at this installation's data folder where the
    // archive carries the file.
    LoadOutcome Load(const std::string& archivePath, ItemStore& table, CatalogIndex& index);
    // Worker step of an import: the clipboard data files of the transferred
    // items, from the unpacked archive into the installation's "Data"
    // folder. An existing file with other contents is kept under another name
    // first. False when a file could not be copied; what was copied is taken
    // back.
    bool CopyImportedDataFiles();
    // The installation's files after the data files: the item file first,
    // then the catalog file, each through the safe save. When the item file
    // cannot be written, the data files of this save are taken back.
    bool SaveInstallation(const ItemStore& table, const CatalogTree& tree);

    // ---- export ----
    // Writes T.clg and T.dat into a fresh staging folder "T".
    bool StageExport(const std::string& archivePath, const CatalogTree& tree, const ItemStore& table);
    // Worker step of an export: the clipboard data files into the staged
    // "Data" folder, then the archive packed under a temporary name beside
    // the chosen path and moved onto it. False when anything failed; the
    // chosen path is then as it was.
    bool CopyAndPack();

    // Removes the staging folder (Cancel, the end of an export, a new load).
    void Discard();

private:
    std::string DataFolder() const { return installDir_ + "\\Data"; }
    std::string StagedTop() const { return staging_.path() + "\\" + title_; }
    void TakeBackDataFiles();

    std::string installDir_;
    bool pack_;
    std::string archivePath_;
    std::string title_;  // the top folder inside the archive
    StagingFolder staging_;
    DataFileList dataFiles_;
    // What the last import copy did, so that it can be taken back.
    std::vector<std::string> createdFiles_;
    std::vector<std::pair<std::string, std::string>> keptFiles_;  // (original name, kept under)
    bool createdDataFolder_ = false;
};

}  // namespace tvx::win
