#include "data/win32/file_io.h"

#include "data/ansi_text.h"
#include "data/catalog_file.h"
#include "data/item_file.h"
#include "base/win32/win_handles.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace tvx::win {

bool FolderExists(const std::string& path) {
    const DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && (attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string& path) {
    const DWORD attr = GetFileAttributesA(path.c_str());
    return attr != INVALID_FILE_ATTRIBUTES && !(attr & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathExists(const std::string& path) {
    if (path.size() > 2 && path.find(':', 2) != std::string::npos) return true;
    WIN32_FIND_DATAA fd;
    return static_cast<bool>(UniqueFind(FindFirstFileA(path.c_str(), &fd)));
}

namespace {
// Shared for deleting too: a save that replaces the file while it is read
// (another copy's, or a scanner's open) must not be refused because of us.
UniqueHandle OpenForReading(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
    return UniqueHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}
}  // namespace

uint64_t FileSizeOf(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

namespace {
enum class ReadAttempt { Read, Missing, Held, Failed };

ReadAttempt ReadOnce(const std::string& path, std::string& bytes) {
    bytes.clear();
    UniqueHandle file = OpenForReading(path);
    if (!file) {
        switch (GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return ReadAttempt::Missing;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
        case ERROR_ACCESS_DENIED:  // also a file whose delete is pending
            return ReadAttempt::Held;
        default:
            return ReadAttempt::Failed;
        }
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 || size.QuadPart > 0x7FFFFFFF) return ReadAttempt::Failed;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), &bytes[done], static_cast<DWORD>(bytes.size() - done), &got, nullptr)) {
            // A range another program locked: what was read is no file's end.
            bytes.clear();
            return GetLastError() == ERROR_LOCK_VIOLATION ? ReadAttempt::Held : ReadAttempt::Failed;
        }
        if (got == 0) {
            bytes.resize(done);  // the file shrank while we read it
            break;
        }
        done += got;
    }
    return ReadAttempt::Read;
}
}  // namespace

FileRead ReadStoredFile(const std::string& path, std::string& bytes) {
    // Holds of a moment (a scanner opening a new file, another copy saving)
    // are over within a second or so.
    constexpr int kTries = 20;
    constexpr DWORD kPauseMs = 50;
    for (int attempt = 1;; ++attempt) {
        switch (ReadOnce(path, bytes)) {
        case ReadAttempt::Read: return FileRead::Read;
        case ReadAttempt::Missing: return FileRead::Missing;
        case ReadAttempt::Failed: return FileRead::Unreadable;
        case ReadAttempt::Held:
            if (attempt == kTries) return FileRead::Unreadable;
            Sleep(kPauseMs);
            break;
        }
    }
}

namespace {
// The two lists below are read by saves on worker threads (an import) as
// well as on the user-interface thread: every use holds this lock.
SRWLOCK listsLock = SRWLOCK_INIT;
class ListsHeld {
public:
    ListsHeld() { AcquireSRWLockExclusive(&listsLock); }
    ~ListsHeld() { ReleaseSRWLockExclusive(&listsLock); }
    ListsHeld(const ListsHeld&) = delete;
    ListsHeld& operator=(const ListsHeld&) = delete;
};

// Damaged files of which no copy could be made (lower case): the process
// writes none of them until a copy exists.
std::vector<std::string>& GuardedFiles() {
    static std::vector<std::string> guarded;
    return guarded;
}

// Item and catalog files whose last read failed (lower case).
std::vector<std::string>& UnreadFiles() {
    static std::vector<std::string> unread;
    return unread;
}

bool Listed(const std::vector<std::string>& files, const std::string& key) {
    return std::find(files.begin(), files.end(), key) != files.end();
}

// No write of any kind: damaged and not yet copied, or not read.
bool Guarded(const std::string& path) {
    const std::string key = ToLowerAnsi(path);
    ListsHeld held;
    return Listed(GuardedFiles(), key) || Listed(UnreadFiles(), key);
}

// Whether a write may replace the whole file: not while it is unread; a
// damaged one only once its copy is made. (A write into the damaged file
// itself, an append or the editing mark, waits for a rewrite.)
bool MayReplace(const std::string& path) {
    const std::string key = ToLowerAnsi(path);
    ListsHeld held;
    if (Listed(UnreadFiles(), key)) return false;
    std::vector<std::string>& guarded = GuardedFiles();
    const auto listed = std::find(guarded.begin(), guarded.end(), key);
    if (listed == guarded.end()) return true;
    if (KeepDamagedCopy(path).empty()) return false;
    guarded.erase(listed);
    return true;
}
}  // namespace

FileRead ReadDataFile(const std::string& path, std::string& bytes) {
    const FileRead read = ReadStoredFile(path, bytes);
    const std::string key = ToLowerAnsi(path);
    ListsHeld held;
    std::vector<std::string>& unread = UnreadFiles();
    const auto listed = std::find(unread.begin(), unread.end(), key);
    if (read == FileRead::Unreadable) {
        if (listed == unread.end()) unread.push_back(key);
    } else if (listed != unread.end()) {
        unread.erase(listed);
    }
    return read;
}

std::string KeepDamagedCopyOrGuard(const std::string& path) {
    std::string copy = KeepDamagedCopy(path);
    if (copy.empty()) {
        const std::string key = ToLowerAnsi(path);
        ListsHeld held;
        std::vector<std::string>& guarded = GuardedFiles();
        if (!Listed(guarded, key)) guarded.push_back(key);
    }
    return copy;
}

bool WriteFileReplacing(const std::string& path, const std::string& bytes) {
    return WriteFileReplacingWith(path, [&bytes](const std::function<bool(std::string_view)>& write) { return write(bytes); });
}

bool WriteFileReplacingWith(const std::string& path, const std::function<bool(const std::function<bool(std::string_view)>&)>& produce) {
    if (!MayReplace(path)) return false;
    // A file the user made read-only is not replaced (a rename would replace
    // it on some systems all the same).
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
    const std::string temp = path + ".tmp~" + std::to_string(GetCurrentProcessId());
    {
        UniqueHandle file(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
        if (!file) return false;
        HANDLE handle = file.get();
        if (!produce([handle](std::string_view part) { return WriteAll(handle, part); }) ||
            !FlushFileBuffers(handle)) {
            file.reset();
            DeleteFileA(temp.c_str());
            return false;
        }
    }
    // A rename on the same volume replaces the old file in one step. (Wine's
    // ReplaceFileA leaves a stray backup file behind when it fails, so the
    // plain rename is used for a missing and an existing old file alike.)
    // Anti-virus scanners and the search indexer open a new file for a
    // moment, and the replacing rename fails while they hold the old one:
    // it is tried again for about half a second before the save fails.
    bool replaced = false;
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (attempt > 0) Sleep(50);
        replaced = MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
        if (replaced) break;
        const DWORD error = GetLastError();
        if (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED && error != ERROR_LOCK_VIOLATION) break;
    }
    if (!replaced) DeleteFileA(temp.c_str());
    return replaced;
}

bool SaveItemFile(const std::string& path, const ItemStore& store, size_t* cutFields) {
    // Encoded straight into the temporary file, a megabyte at a time.
    return WriteFileReplacingWith(path, [&](const std::function<bool(std::string_view)>& write) {
        return EncodeItemFileInChunks(store, write, cutFields);
    });
}

bool AppendItemRecord(const std::string& path, const ItemStore& store, size_t index) {
    if (index >= store.size() || Guarded(path)) return false;
    if (FileSizeOf(path) < kItemFileHeaderSize) return SaveItemFile(path, store);
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    LARGE_INTEGER end{};
    if (!SetFilePointerEx(file.get(), LARGE_INTEGER{}, &end, FILE_END)) return false;
    if (WriteAll(file.get(), EncodeItemRecord(store[index])) && FlushFileBuffers(file.get())) return true;
    // A part of a record would make every later record unreadable: cut the
    // file back to where it ended.
    SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN);
    SetEndOfFile(file.get());
    return false;
}

ItemStore LoadItemFile(const std::string& path, bool* whole, FileRead* read) {
    std::string bytes;
    if (whole) *whole = true;
    const FileRead got = ReadDataFile(path, bytes);
    if (read) *read = got;
    if (got != FileRead::Read) return ItemStore();
    return DecodeItemFile(std::move(bytes), whole);
}

bool WriteEditingMark(const std::string& path, unsigned char mark) {
    if (Guarded(path)) return false;
    UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), &mark, 1, &written, nullptr) && written == 1;
}

bool SaveCatalogFile(const std::string& path, const CatalogTree& tree) {
    const std::string text = EncodeCatalogFile(tree);
    if (text.empty()) return MayReplace(path) && (DeleteFileA(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND);
    return WriteFileReplacing(path, text);
}

FileRead LoadCatalogFile(const std::string& path, CatalogIndex& index, bool* whole) {
    std::string bytes;
    if (whole) *whole = true;
    const FileRead read = ReadDataFile(path, bytes);
    if (read == FileRead::Read) DecodeCatalogFile(bytes, index, NodeDataMode::Full, whole);
    return read;
}

BothFiles SaveItemAndCatalogFiles(const std::string& itemPath, const ItemStore& store, const std::string& catalogPath,
                                  const CatalogTree& tree, const std::function<void()>& afterItems) {
    if (!SaveItemFile(itemPath, store)) return BothFiles::ItemFileFailed;
    if (afterItems) afterItems();
    return SaveCatalogFile(catalogPath, tree) ? BothFiles::Saved : BothFiles::CatalogFileFailed;
}

DamageRecovery RecoverDamagedFiles(const std::string& itemPath, const ItemStore& store, bool itemsWhole,
                                   const std::string& catalogPath, CatalogTree& tree, bool catalogsWhole) {
    DamageRecovery result;
    bool dropped = false;
    if (!itemsWhole) {
        if (KeepDamagedCopyOrGuard(itemPath).empty())
            result.uncopied = itemPath;
        else if (SaveItemFile(itemPath, store))
            // Members past the records that were lost would name the entries
            // appended there next.
            dropped = DropMembersFrom(tree, store.size()) > 0;
    }
    if (!catalogsWhole || dropped) {
        // A whole catalog file that only loses members of lost records may
        // be written without its copy: nothing unreadable is lost with it.
        bool mayWrite = catalogsWhole;
        if (!catalogsWhole) {
            if (KeepDamagedCopyOrGuard(catalogPath).empty())
                result.uncopied += (result.uncopied.empty() ? "" : "\r\n") + catalogPath;
            else
                mayWrite = true;
        }
        result.catalogsChanged = mayWrite && SaveCatalogFile(catalogPath, tree) && dropped;
    }
    return result;
}

std::string KeepDamagedCopy(const std::string& path) {
    const size_t slash = FindLastChar(path, '\\');
    const size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    const std::string stem = hasExtension ? path.substr(0, dot) : path;
    const std::string extension = hasExtension ? path.substr(dot) : std::string();
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[40];
    std::snprintf(stamp, sizeof stamp, " (damaged %04u-%02u-%02u %02u.%02u.%02u", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    for (int attempt = 1; attempt < 100; ++attempt) {
        std::string copy = stem + stamp + (attempt > 1 ? " " + std::to_string(attempt) : std::string()) + ")" + extension;
        // Never over an existing file: the copy is a new file or none.
        if (CopyFileA(path.c_str(), copy.c_str(), TRUE)) return copy;
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) return std::string();
    }
    return std::string();
}

namespace {
// "<base>.tmp~<digits>" with a base the predicate accepts.
bool IsOwnTemporary(const std::string& name, const std::function<bool(const std::string&)>& ownBase) {
    const size_t mark = name.rfind(".tmp~");
    if (mark == std::string::npos || mark + 5 >= name.size()) return false;
    for (size_t i = mark + 5; i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    return ownBase(name.substr(0, mark));
}

size_t RemoveTemporariesIn(const std::string& folder, const std::function<bool(const std::string&)>& ownBase) {
    size_t removed = 0;
    WIN32_FIND_DATAA fd;
    UniqueFind find(FindFirstFileA((folder + "\\*.tmp~*").c_str(), &fd));
    if (!find) return 0;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::string name = fd.cFileName;
        if (IsOwnTemporary(name, ownBase) && DeleteFileA((folder + "\\" + name).c_str())) ++removed;
    } while (FindNextFileA(find.get(), &fd));
    return removed;
}
}  // namespace

size_t RemoveStaleTemporaries(const Installation& installation) {
    size_t removed = RemoveTemporariesIn(installation.Folder(), [](const std::string& base) {
        return EqualsNoCase(base, "Shortcut2.dat") || EqualsNoCase(base, "Shortcut2.clg") ||
               EqualsNoCase(base, "TavrolinexConfig.ini") || EqualsNoCase(base, "LogConfig.dat");
    });
    removed += RemoveTemporariesIn(installation.DataFolder(), [](const std::string& base) {
        return EndsWithNoCase(base, ".stx");
    });
    return removed;
}

}  // namespace tvx::win
