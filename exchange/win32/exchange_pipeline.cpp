#include "exchange/win32/exchange_pipeline.h"

#include "data/ansi_text.h"
#include "data/catalog_file.h"
#include "data/item_file.h"
#include "data/win32/file_io.h"
#include "data/win32/guid.h"
#include "data/win32/wide_path.h"
#include "exchange/exchange_merge.h"
#include "exchange/win32/zip_archive.h"
#include "base/win32/win_handles.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unordered_set>

namespace tvx::win {

namespace {

bool IsFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool EnsureFolder(const std::string& path, bool* created = nullptr) {
    if (CreateDirectoryA(path.c_str(), nullptr)) {
        if (created) *created = true;
        return true;
    }
    return IsFolder(path);
}

bool SameContents(const std::string& a, const std::string& b) {
    UniqueHandle fa(CreateFileA(a.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    UniqueHandle fb(CreateFileA(b.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!fa || !fb) return false;
    LARGE_INTEGER sa{}, sb{};
    if (!GetFileSizeEx(fa.get(), &sa) || !GetFileSizeEx(fb.get(), &sb) || sa.QuadPart != sb.QuadPart) return false;
    std::string ba(65536, '\0'), bb(65536, '\0');
    for (;;) {
        DWORD ga = 0, gb = 0;
        if (!ReadFile(fa.get(), &ba[0], 65536, &ga, nullptr) || !ReadFile(fb.get(), &bb[0], 65536, &gb, nullptr))
            return false;
        if (ga != gb || ba.compare(0, ga, bb, 0, gb) != 0) return false;
        if (ga == 0) return true;
    }
}

// The lower-case names of the files directly in a folder.
std::unordered_set<std::string> FileNamesIn(const std::string& folder) {
    std::unordered_set<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(ToLowerAnsi(fd.cFileName));
    } while (FindNextFileA(find, &fd));
    FindClose(find);
    return names;
}

// The only top folder X of an unpacked archive that holds X\X.dat, or empty.
std::string SingleTopFolder(const std::string& root) {
    std::string found;
    int folders = 0;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((root + "\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return found;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == ".." || !(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
        ++folders;
        if (IsFile(root + "\\" + name + "\\" + name + ".dat")) found = name;
    } while (FindNextFileA(find, &fd));
    FindClose(find);
    return folders == 1 ? found : std::string();
}

bool FlushFile(const std::string& path) {
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    return file && FlushFileBuffers(file.get());
}

}  // namespace

namespace {
constexpr const char* kStagingPrefix = "Tavrolinex-";
constexpr const char* kStagingMarker = "\\tavrolinex.staging";
constexpr const char* kPartialNote = "\\partial-archive.txt";
constexpr const char* kImportNote = "\\imported-data.txt";

// The user's temporary folder, by its short form when the code page cannot
// write its name (it lies under the user's name); empty when neither works.
std::string TempFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH) return std::string();
    const FiledPath filed = FilePathFrom(std::wstring(temp, length));
    if (!filed.usable) return std::string();
    std::string base = filed.path;
    if (!EndsWithCharacter(base, '\\')) base += '\\';
    return base;
}

// The process a staging folder name "Tavrolinex-<pid hex>-<hex>-<digits>"
// belongs to, or 0 when the name is not one this program makes.
DWORD StagingOwner(const std::string& name) {
    const size_t prefix = std::strlen(kStagingPrefix);
    if (name.compare(0, prefix, kStagingPrefix) != 0) return 0;
    const std::string rest = name.substr(prefix);
    const size_t a = rest.find('-'), b = a == std::string::npos ? a : rest.find('-', a + 1);
    if (a == 0 || b == std::string::npos || b == a + 1 || b + 1 >= rest.size()) return 0;
    auto all = [&](size_t from, size_t to, const char* digits) {
        for (size_t i = from; i < to; ++i)
            if (!std::strchr(digits, rest[i])) return false;
        return true;
    };
    if (a > 8 || !all(0, a, "0123456789abcdef") || !all(a + 1, b, "0123456789abcdef") ||
        !all(b + 1, rest.size(), "0123456789"))
        return 0;
    return static_cast<DWORD>(std::strtoul(rest.substr(0, a).c_str(), nullptr, 16));
}

bool ProcessGone(DWORD pid) {
    if (pid == 0 || pid == GetCurrentProcessId()) return false;
    UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process; a denied one runs
    return WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
}

// "<anything>.tmp~<pid>": the partial archive a process of that id writes.
bool IsPartialArchiveOf(const std::string& path, DWORD pid) {
    const std::string tail = ".tmp~" + std::to_string(pid);
    return path.size() > tail.size() && path.compare(path.size() - tail.size(), tail.size(), tail) == 0;
}
}  // namespace

bool StagingFolder::Create() {
    Remove();
    const std::string base = TempFolder();
    if (base.empty()) return false;
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, "%s%lx-%llx-%u", kStagingPrefix, GetCurrentProcessId(),
                      static_cast<unsigned long long>(GetTickCount64()), attempt);
        const std::string path = base + name;
        // Creating it is what makes it ours: an existing folder of that name
        // is someone else's and is never used.
        if (CreateDirectoryA(path.c_str(), nullptr)) {
            path_ = path;
            UniqueHandle marker(CreateFileA((path + kStagingMarker).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
            return true;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}

void StagingFolder::Remove() {
    if (path_.empty()) return;
    // The marker goes last, and only once everything else is gone: a run
    // killed half way through, or a file another program still holds (a
    // stored clipboard content a scanner looks at), leaves a folder that the
    // next start still knows as this program's and removes.
    if (RemoveFolderTree(path_, kStagingMarker + 1) && DeleteFileA((path_ + kStagingMarker).c_str()))
        RemoveDirectoryA(path_.c_str());
    path_.clear();
}

void StagingFolder::NotePartialFile(const std::string& path) const {
    if (!path_.empty()) WriteFileReplacing(path_ + kPartialNote, path);
}

void StagingFolder::NoteImportedDataFile(const std::string& itemFile, const std::string& dataFile) {
    if (path_.empty()) return;
    if (importNote_.empty()) importNote_ = itemFile + "\r\n";
    importNote_ += dataFile + "\r\n";
    WriteFileReplacing(path_ + kImportNote, importNote_);
}

void StagingFolder::ForgetImportedDataFiles() {
    if (importNote_.empty()) return;
    importNote_.clear();
    if (!path_.empty()) DeleteFileA((path_ + kImportNote).c_str());
}

namespace {
// A killed import's data files that no entry of its installation names.
void RemoveUnnamedImportedFiles(const std::string& note) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < note.size();) {
        const size_t end = std::min(note.find("\r\n", at), note.size());
        if (end > at) lines.push_back(note.substr(at, end - at));
        at = end + 2;
    }
    if (lines.size() < 2) return;
    const std::vector<std::string> named = DataCommandsOf(LoadItemFile(lines[0]));
    for (size_t i = 1; i < lines.size(); ++i) {
        const bool isNamed = std::any_of(named.begin(), named.end(),
                                         [&](const std::string& command) { return EqualsNoCase(command, lines[i]); });
        if (!isNamed && EndsWithNoCase(lines[i], ".stx")) DeleteFileA(lines[i].c_str());
    }
}
}  // namespace

size_t RemoveLeftoverStagingFolders() {
    const std::string base = TempFolder();
    if (base.empty()) return 0;
    size_t removed = 0;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((base + kStagingPrefix + "*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            continue;
        const std::string folder = base + fd.cFileName;
        const DWORD owner = StagingOwner(fd.cFileName);
        if (!owner || !IsFile(folder + kStagingMarker) || !ProcessGone(owner)) continue;
        std::string partial;
        if (ReadWholeFile(folder + kPartialNote, partial) && IsPartialArchiveOf(partial, owner))
            DeleteFileA(partial.c_str());
        std::string imported;
        if (ReadWholeFile(folder + kImportNote, imported)) RemoveUnnamedImportedFiles(imported);
        if (RemoveFolderTree(folder, kStagingMarker + 1) && DeleteFileA((folder + kStagingMarker).c_str()) &&
            RemoveDirectoryA(folder.c_str()))
            ++removed;
    } while (FindNextFileA(find, &fd));
    FindClose(find);
    return removed;
}

bool RemoveFolderTree(const std::string& folder, const char* keep) {
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &fd);
    bool ok = true;
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == ".." || (keep && EqualsNoCase(name, keep))) continue;
            const std::string path = folder + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                SetFileAttributesA(path.c_str(), fd.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                // A link to a folder elsewhere is removed as a link, never followed.
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                    ok = RemoveDirectoryA(path.c_str()) && ok;
                else
                    ok = RemoveFolderTree(path) && ok;
            } else {
                ok = DeleteFileA(path.c_str()) && ok;
            }
        } while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    if (keep) return ok;
    return RemoveDirectoryA(folder.c_str()) && ok;
}

const char* MessageKeyOf(LoadOutcome outcome) {
    switch (outcome) {
    case LoadOutcome::Unreadable: return "ArchiveUnreadable";
    case LoadOutcome::UnsafeName: return "ArchiveUnsafe";
    case LoadOutcome::ContentMissing: return "ArchiveContentMissing";
    case LoadOutcome::StagingFailed: return "StagingFolderFailed";
    default: return nullptr;
    }
}

ExchangePipeline::ExchangePipeline(Installation installation, bool pack)
    : installation_(std::move(installation)), pack_(pack) {}

void ExchangePipeline::Discard() {
    loaded_.clear();
    carried_.clear();
    exportStaging_.Remove();
}

// ---- import ---------------------------------------------------------------------------

LoadOutcome ExchangePipeline::Load(const std::string& archivePath, ItemStore& table, CatalogIndex& index) {
    if (archivePath.empty() || !IsFile(archivePath)) return LoadOutcome::NoFile;
    auto staging = std::make_unique<StagingFolder>();  // removed again unless the load succeeds
    if (!staging->Create()) return LoadOutcome::StagingFailed;
    switch (UnpackArchive(archivePath, staging->path())) {
    case UnpackResult::Unpacked: break;
    case UnpackResult::Unreadable: return LoadOutcome::Unreadable;
    case UnpackResult::UnsafeName: return LoadOutcome::UnsafeName;
    case UnpackResult::WriteFailed: return LoadOutcome::StagingFailed;
    }
    std::string title = ArchiveNameOf(archivePath).title;
    // An archive renamed after it was written still holds one folder with
    // its first name: that folder is the archive's.
    if (!IsFile(staging->path() + "\\" + title + "\\" + title + ".dat")) {
        const std::string top = SingleTopFolder(staging->path());
        if (!top.empty()) title = top;
    }
    const std::string top = staging->path() + "\\" + title;
    std::string items, catalogs;
    if (!ReadWholeFile(top + "\\" + title + ".dat", items) || !ReadWholeFile(top + "\\" + title + ".clg", catalogs))
        return LoadOutcome::ContentMissing;
    bool itemsWhole = false, catalogsWhole = false;
    ItemStore loaded = DecodeItemFile(std::move(items), &itemsWhole);
    {
        // Judged whole first, on a tree of its own, so that a damaged file
        // leaves nothing half taken.
        CatalogTree check;
        CatalogIndex checkIndex;
        ResetCatalogs(check, checkIndex, std::string());
        DecodeCatalogFile(catalogs, checkIndex, NodeDataMode::Full, &catalogsWhole);
    }
    if (!itemsWhole || !catalogsWhole) return LoadOutcome::ContentMissing;
    table = std::move(loaded);
    DecodeCatalogFile(catalogs, index);
    const std::unordered_set<std::string> names = FileNamesIn(top + "\\Data");
    for (const std::string& name : names) carried_.emplace(name, top + "\\Data\\" + name);
    PointImportedDataFiles(table, DataFolder(), names);
    loaded_.push_back(std::move(staging));
    return LoadOutcome::Loaded;
}

bool ExchangePipeline::BringDataFiles(ItemStore& table, const std::unordered_set<size_t>& received) {
    std::vector<size_t> entries(received.begin(), received.end());
    std::sort(entries.begin(), entries.end());
    std::unordered_map<std::string, std::string> brought;  // lower-case name -> its path in Data now
    bool ok = true;
    for (size_t i : entries) {
        if (i >= table.size() || table[i].IsRemoved()) continue;
        RewriteDataCommands(table[i], [&](const std::string& command) -> std::optional<std::string> {
            const std::string name = FileNameOf(command);
            const std::string key = ToLowerAnsi(name);
            const auto source = carried_.find(key);
            // Only commands that name a file an archive carries, in this installation's folder.
            if (!ok || source == carried_.end() || !EqualsNoCase(command, DataFolder() + "\\" + name))
                return std::nullopt;
            if (const auto done = brought.find(key); done != brought.end()) return done->second;
            if (!IsFile(source->second) || !EnsureFolder(DataFolder(), &createdDataFolder_)) {
                ok = false;
                return std::nullopt;
            }
            std::string target = DataFolder() + "\\" + name;
            if (IsFile(target) && SameContents(source->second, target)) return brought[key] = target;
            // A name whose file holds other contents keeps them for the
            // entries that use it; the imported contents get a name of their own.
            if (GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES)
                target = DataFolder() + "\\" + NewGuidText() + ".stx";
            // Noted first: a run killed between the copy and the save leaves no file for good.
            if (!loaded_.empty()) loaded_.front()->NoteImportedDataFile(ItemFilePath(), target);
            if (!CopyFileA(source->second.c_str(), target.c_str(), TRUE)) {
                ok = false;
                return std::nullopt;
            }
            createdFiles_.push_back(target);
            return brought[key] = target;
        });
        if (!ok) return false;
    }
    return true;
}

void ExchangePipeline::TakeBackDataFiles() {
    for (const std::string& path : createdFiles_) DeleteFileA(path.c_str());
    if (createdDataFolder_) RemoveDirectoryA(DataFolder().c_str());  // only when it is empty again
    createdFiles_.clear();
    createdDataFolder_ = false;
}

ImportSave ExchangePipeline::SaveImport(ItemStore& table, const std::unordered_set<size_t>& received,
                                        const CatalogTree& tree) {
    createdFiles_.clear();
    createdDataFolder_ = false;
    // The old item file, to put back should the catalog file fail.
    std::string oldItems;
    const bool hadItems = PathExists(ItemFilePath());
    if (hadItems && !ReadWholeFile(ItemFilePath(), oldItems)) return ImportSave::NothingChanged;
    const BothFiles saved = BringDataFiles(table, received)
                                ? SaveItemAndCatalogFiles(ItemFilePath(), table, CatalogFilePath(), tree)
                                : BothFiles::ItemFileFailed;
    if (saved == BothFiles::ItemFileFailed) {
        TakeBackDataFiles();
        return ImportSave::NothingChanged;
    }
    if (!loaded_.empty()) loaded_.front()->ForgetImportedDataFiles();  // named by the item file, or taken back below
    if (saved == BothFiles::Saved) {
        createdFiles_.clear();  // the item file names them now: they stay
        return ImportSave::Saved;
    }
    const bool restored = hadItems ? WriteFileReplacing(ItemFilePath(), oldItems)
                                   : DeleteFileA(ItemFilePath().c_str()) != FALSE;  // the file this save made
    if (restored) {
        TakeBackDataFiles();
        return ImportSave::NothingChanged;
    }
    createdFiles_.clear();
    return ImportSave::EntriesOnly;
}

// ---- export ---------------------------------------------------------------------------

bool ExchangePipeline::StageExport(const std::string& archivePath, const CatalogTree& tree, const ItemStore& table) {
    exportStaging_.Remove();
    archivePath_ = archivePath;
    title_ = ArchiveNameOf(archivePath).title;
    exportCommands_ = DataCommandsOf(table);
    if (title_.empty() || !exportStaging_.Create()) return false;
    const std::string top = exportStaging_.path() + "\\" + title_;
    return CreateDirectoryA(top.c_str(), nullptr) && CreateDirectoryA((top + "\\Data").c_str(), nullptr) &&
           WriteFileReplacing(top + "\\" + title_ + ".clg", EncodeCatalogFile(tree)) &&
           WriteFileReplacing(top + "\\" + title_ + ".dat", EncodeItemFile(table));
}

bool ExchangePipeline::CopyAndPack() {
    if (!exportStaging_.exists()) return false;
    const std::string data = exportStaging_.path() + "\\" + title_ + "\\Data";
    for (const std::string& command : exportCommands_) {
        const std::string name = FileNameOf(command);
        // The file the entry uses; one the command names only by its place
        // in another installation comes from this installation's data folder.
        std::string from = command;
        if (!IsFile(from)) from = DataFolder() + "\\" + name;
        if (!IsFile(from)) continue;
        if (!CopyFileA(from.c_str(), (data + "\\" + name).c_str(), FALSE)) return false;
    }
    const DWORD attributes = GetFileAttributesA(archivePath_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    // A new file of the program's own name beside the archive, noted in the
    // staging folder so that the next start removes it if this run dies.
    const std::string pid = std::to_string(GetCurrentProcessId());
    std::string partial;
    for (int n = 0; n < 100 && partial.empty(); ++n) {
        const std::string candidate = archivePath_ + (n ? "." + std::to_string(n) : std::string()) + ".tmp~" + pid;
        exportStaging_.NotePartialFile(candidate);  // noted before it exists: a kill never leaves it unnoted
        UniqueHandle made(CreateFileA(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
        if (made) partial = candidate;
        else if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    if (partial.empty()) return false;
    const bool ok = PackFolder(exportStaging_.path(), title_, partial) && FlushFile(partial) &&
                    MoveFileExA(partial.c_str(), archivePath_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileA(partial.c_str());
    return ok;
}

}  // namespace tvx::win
