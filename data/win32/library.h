// The user's entries as the program holds them while it runs: every item
// (the store), the catalog tree and its index, loaded from the
// installation's item and catalog files. The launcher loads it; the windows
// that show or edit catalogs start from a copy of its tree instead of
// reading the catalog file again, and write the files themselves when the
// user saves (the launcher loads it again afterwards). A load that finds a
// file held by another program keeps what the library had and leaves it
// stale: the launcher loads again before a window starts from it, and
// opens no window that could save from a stale library.
#pragma once
#include "data/catalog_tree.h"
#include "data/installation.h"
#include "data/item_model.h"
#include "data/win32/file_io.h"

#include <string>

namespace tvx::win {

class Library {
public:
    explicit Library(Installation installation) : installation_(std::move(installation)) {}
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // The item file into the store. The load alone is timed under `timing`
    // in the timings log; freeing the store it replaces comes after.
    // `whole` (when given) is false for a file that could not be read to its end.
    // A file that is there but could not be read (held by another program
    // past a short wait) leaves the store as it was and returns false; the
    // file is then kept from this program's writes until it is read (see
    // ReadDataFile), and the library is stale.
    bool LoadItems(const char* timing, bool* whole = nullptr);
    // The catalog file into the tree; the root shows `rootText`. Whoever
    // shows the tree lets go of its nodes first. An unreadable file leaves
    // the tree as it was and returns false, as above.
    bool LoadCatalogs(std::string rootText, bool* whole = nullptr);
    // Whether the last load of either file could not read it: what the
    // library holds may be older than the files, and is no base for a write.
    bool stale() const { return itemsStale_ || catalogsStale_; }
    bool itemsStale() const { return itemsStale_; }
    bool catalogsStale() const { return catalogsStale_; }
    // After a load that found a file damaged: a dated copy of it is kept and
    // it is written again with what could be read (see RecoverDamagedFiles).
    DamageRecovery RecoverDamaged(bool itemsWhole, bool catalogsWhole) {
        return RecoverDamagedFiles(installation_.ItemFile(), store_, itemsWhole, installation_.CatalogFile(), tree_,
                                   catalogsWhole);
    }
    // A window's own copy of the tree and its index, to edit and maybe drop.
    void CopyCatalogsTo(CatalogTree& tree, CatalogIndex& index) const { CopyCatalogs(tree_, index_, tree, index); }

    ItemStore& store() { return store_; }
    const ItemStore& store() const { return store_; }
    CatalogTree& tree() { return tree_; }
    const CatalogTree& tree() const { return tree_; }
    CatalogIndex& index() { return index_; }

private:
    Installation installation_;
    ItemStore store_;
    CatalogTree tree_;
    CatalogIndex index_;
    bool itemsStale_ = false;
    bool catalogsStale_ = false;
};

}  // namespace tvx::win
