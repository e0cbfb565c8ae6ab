#include "data/win32/library.h"

#include "data/win32/file_io.h"
#include "data/win32/timing_log.h"

namespace tvx::win {

void Library::LoadItems(const char* timing, bool* whole) {
    ItemStore loaded;
    {
        TimedStep timed(timing);
        loaded = LoadItemFile(installation_.ItemFile(), whole);
    }
    store_ = std::move(loaded);
}

void Library::LoadCatalogs(std::string rootText, bool* whole) {
    ResetCatalogs(tree_, index_, std::move(rootText));
    LoadCatalogFile(installation_.CatalogFile(), index_, whole);
}

}  // namespace tvx::win
