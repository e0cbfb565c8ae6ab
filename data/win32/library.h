// The user's entries as the program holds them while it runs: every item
// (the store), the catalog tree and its index, loaded from the
// installation's item and catalog files. The launcher loads it and shows it;
// the configuration dialog edits its store, the exchange dialog copies it;
// they write the files themselves when the user saves, and the launcher
// loads it again afterwards. The dialogs read their own catalog trees from
// the file: a tree the launcher could not read (a file another program held
// for a moment) must never be what a dialog saves.
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
    void LoadItems(const char* timing, bool* whole = nullptr);
    // The catalog file into the tree; the root shows `rootText`. Whoever
    // shows the tree lets go of its nodes first.
    void LoadCatalogs(std::string rootText, bool* whole = nullptr);
    // After a load that found a file damaged: a dated copy of it is kept and
    // it is written again with what could be read (see RecoverDamagedFiles).
    DamageRecovery RecoverDamaged(bool itemsWhole, bool catalogsWhole) {
        return RecoverDamagedFiles(installation_.ItemFile(), store_, itemsWhole, installation_.CatalogFile(), tree_,
                                   catalogsWhole);
    }

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
};

}  // namespace tvx::win
