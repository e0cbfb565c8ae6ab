#include "data/win32/library.h"

#include "data/catalog_file.h"
#include "data/win32/file_io.h"
#include "data/win32/timing_log.h"

namespace tvx::win {

bool Library::LoadItems(const char* timing, bool* whole) {
    ItemStore loaded;
    FileRead read;
    {
        TimedStep timed(timing);
        loaded = LoadItemFile(installation_.ItemFile(), whole, &read);
    }
    itemsStale_ = read == FileRead::Unreadable;
    if (itemsStale_) {
        LogCount("item_file_unread", 1);  // the timings log: a load that kept the old store
        return false;
    }
    store_ = std::move(loaded);
    return true;
}

bool Library::LoadCatalogs(std::string rootText, bool* whole) {
    std::string bytes;
    if (whole) *whole = true;
    const FileRead read = ReadDataFile(installation_.CatalogFile(), bytes);
    catalogsStale_ = read == FileRead::Unreadable;
    if (catalogsStale_) {
        LogCount("catalog_file_unread", 1);
        if (index_.size() == 0) ResetCatalogs(tree_, index_, std::move(rootText));  // at the start: the root alone
        return false;
    }
    ResetCatalogs(tree_, index_, std::move(rootText));
    if (read == FileRead::Read) DecodeCatalogFile(bytes, index_, NodeDataMode::Full, whole);
    return true;
}

}  // namespace tvx::win
