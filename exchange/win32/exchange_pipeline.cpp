#include "exchange/win32/exchange_pipeline.h"

#include "data/ansi_text.h"
#include "data/catalog_file.h"
#include "data/item_file.h"
#include "data/win32/file_io.h"
#include "exchange/exchange_merge.h"
#include "exchange/win32/zip_archive.h"
#include "ui/skin/win32/win_handles.h"

#include <cstdio>
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

bool StagingFolder::Create() {
    Remove();
    char temp[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof temp, temp);
    if (length == 0 || length > MAX_PATH) return false;
    std::string base(temp, length);
    if (base.back() != '\\') base += '\\';
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        char name[64];
        std::snprintf(name, sizeof name, "Tavrolinex-%lx-%llx-%u", GetCurrentProcessId(),
                      static_cast<unsigned long long>(GetTickCount64()), attempt);
        const std::string path = base + name;
        // Creating it is what makes it ours: an existing folder of that name
        // is someone else's and is never used.
        if (CreateDirectoryA(path.c_str(), nullptr)) {
            path_ = path;
            return true;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}

void StagingFolder::Remove() {
    if (path_.empty()) return;
    RemoveFolderTree(path_);
    path_.clear();
}

bool RemoveFolderTree(const std::string& folder) {
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &fd);
    bool ok = true;
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
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

ExchangePipeline::ExchangePipeline(std::string installDir, bool pack)
    : installDir_(std::move(installDir)), pack_(pack) {}

void ExchangePipeline::Discard() { staging_.Remove(); }

// ---- import ---------------------------------------------------------------------------

LoadOutcome ExchangePipeline::Load(const std::string& archivePath, ItemStore& table, CatalogIndex& index) {
    Discard();
    if (archivePath.empty() || !IsFile(archivePath)) return LoadOutcome::NoFile;
    if (!staging_.Create()) return LoadOutcome::StagingFailed;
    auto fail = [this](LoadOutcome outcome) {
        Discard();
        return outcome;
    };
    switch (UnpackArchive(archivePath, staging_.path())) {
    case UnpackResult::Unpacked: break;
    case UnpackResult::Unreadable: return fail(LoadOutcome::Unreadable);
    case UnpackResult::UnsafeName: return fail(LoadOutcome::UnsafeName);
    case UnpackResult::WriteFailed: return fail(LoadOutcome::StagingFailed);
    }
    archivePath_ = archivePath;
    title_ = ArchiveNameOf(archivePath).title;
    // An archive renamed after it was written still holds one folder with
    // its first name: that folder is the archive's.
    if (!IsFile(StagedTop() + "\\" + title_ + ".dat")) {
        const std::string top = SingleTopFolder(staging_.path());
        if (!top.empty()) title_ = top;
    }
    std::string items, catalogs;
    if (!ReadWholeFile(StagedTop() + "\\" + title_ + ".dat", items) ||
        !ReadWholeFile(StagedTop() + "\\" + title_ + ".clg", catalogs))
        return fail(LoadOutcome::ContentMissing);
    bool whole = false;
    ItemStore loaded = DecodeItemFile(items, &whole);
    if (!whole) return fail(LoadOutcome::ContentMissing);
    table = std::move(loaded);
    DecodeCatalogFile(catalogs, index);
    PointImportedDataFiles(table, DataFolder(), FileNamesIn(StagedTop() + "\\Data"));
    return LoadOutcome::Loaded;
}

bool ExchangePipeline::CopyImportedDataFiles() {
    createdFiles_.clear();
    keptFiles_.clear();
    createdDataFolder_ = false;
    if (!staging_.exists()) return true;  // nothing was loaded: nothing to bring
    const std::string source = StagedTop() + "\\Data";
    for (const std::string& command : dataFiles_.DataCommands()) {
        const std::string name = FileNameOf(command);
        const std::string from = source + "\\" + name;
        if (!IsFile(from)) continue;  // the archive does not carry it
        if (!EnsureFolder(DataFolder(), &createdDataFolder_)) {
            TakeBackDataFiles();
            return false;
        }
        const std::string to = DataFolder() + "\\" + name;
        if (IsFile(to)) {
            if (SameContents(from, to)) continue;
            std::string kept;
            for (int attempt = 1; attempt < 1000 && kept.empty(); ++attempt) {
                const std::string candidate = DataFolder() + "\\" + KeptDataFileName(name, attempt);
                if (GetFileAttributesA(candidate.c_str()) == INVALID_FILE_ATTRIBUTES) kept = candidate;
            }
            if (kept.empty() || !MoveFileA(to.c_str(), kept.c_str())) {
                TakeBackDataFiles();
                return false;
            }
            keptFiles_.emplace_back(to, kept);
        }
        if (!CopyFileA(from.c_str(), to.c_str(), TRUE)) {
            TakeBackDataFiles();
            return false;
        }
        createdFiles_.push_back(to);
    }
    return true;
}

void ExchangePipeline::TakeBackDataFiles() {
    for (const std::string& path : createdFiles_) DeleteFileA(path.c_str());
    for (auto it = keptFiles_.rbegin(); it != keptFiles_.rend(); ++it) MoveFileA(it->second.c_str(), it->first.c_str());
    if (createdDataFolder_) RemoveDirectoryA(DataFolder().c_str());  // only when it is empty again
    createdFiles_.clear();
    keptFiles_.clear();
    createdDataFolder_ = false;
}

bool ExchangePipeline::SaveInstallation(const ItemStore& table, const CatalogTree& tree) {
    if (!SaveItemFile(installDir_ + "\\Shortcut2.dat", table)) {
        TakeBackDataFiles();
        return false;
    }
    // The item file names these data files now: they stay.
    createdFiles_.clear();
    keptFiles_.clear();
    return SaveCatalogFile(installDir_ + "\\Shortcut2.clg", tree);
}

// ---- export ---------------------------------------------------------------------------

bool ExchangePipeline::StageExport(const std::string& archivePath, const CatalogTree& tree, const ItemStore& table) {
    Discard();
    archivePath_ = archivePath;
    title_ = ArchiveNameOf(archivePath).title;
    if (title_.empty() || !staging_.Create()) return false;
    const std::string top = StagedTop();
    return CreateDirectoryA(top.c_str(), nullptr) && CreateDirectoryA((top + "\\Data").c_str(), nullptr) &&
           WriteFileReplacing(top + "\\" + title_ + ".clg", EncodeCatalogFile(tree)) &&
           WriteFileReplacing(top + "\\" + title_ + ".dat", EncodeItemFile(table));
}

bool ExchangePipeline::CopyAndPack() {
    if (!staging_.exists()) return false;
    const std::string data = StagedTop() + "\\Data";
    for (const std::string& command : dataFiles_.DataCommands()) {
        const std::string name = FileNameOf(command);
        // The file the entry uses; one the command names only by its place
        // in another installation comes from this installation's data folder.
        std::string from = command;
        if (!IsFile(from)) from = DataFolder() + "\\" + name;
        if (!IsFile(from)) continue;
        if (!CopyFileA(from.c_str(), (data + "\\" + name).c_str(), FALSE)) return false;
    }
    const ArchiveName target = ArchiveNameOf(archivePath_);
    char temp[MAX_PATH + 1] = {};
    if (!GetTempFileNameA(target.folder.c_str(), "tvx", 0, temp)) return false;
    const std::string partial = temp;
    const DWORD attributes = GetFileAttributesA(archivePath_.c_str());
    const bool ok = (attributes == INVALID_FILE_ATTRIBUTES ||
                     !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) &&
                    PackFolder(staging_.path(), title_, partial) && FlushFile(partial) &&
                    MoveFileExA(partial.c_str(), archivePath_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileA(partial.c_str());
    return ok;
}

}  // namespace tvx::win
