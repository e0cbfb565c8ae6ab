#include "exchange/win32/zip_archive.h"

#include "data/ansi_text.h"
#include "exchange/exchange_rules.h"
#include "ui/skin/win32/win_handles.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <memory>
#include <vector>

namespace tvx::win {

namespace {

constexpr size_t kBufferSize = 256 * 1024;
constexpr unsigned long kUtf8NameFlag = 1u << 11;

struct Entry {
    std::string name;    // in the archive, "/" separators
    std::string path;    // on disk
    bool folder = false;
};

// Files first, then each sub-folder as a folder entry followed by its
// contents, in the order the file system lists them.
bool ListFolder(const std::string& folder, const std::string& prefix, std::vector<Entry>& out) {
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    std::vector<std::string> folders;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            folders.push_back(name);
        else
            out.push_back({prefix + name, folder + "\\" + name, false});
    } while (FindNextFileA(find, &fd));
    FindClose(find);
    for (const std::string& name : folders) {
        out.push_back({prefix + name + "/", folder + "\\" + name, true});
        if (!ListFolder(folder + "\\" + name, prefix + name + "/", out)) return false;
    }
    return true;
}

void FileTimeToDos(const FILETIME& utc, zip_fileinfo& info) {
    FILETIME local;
    WORD date = 0, time = 0;
    if (FileTimeToLocalFileTime(&utc, &local) && FileTimeToDosDateTime(&local, &date, &time))
        info.dosDate = (static_cast<uLong>(date) << 16) | time;
}

bool AddFile(zipFile zip, const Entry& entry, std::vector<char>& buffer) {
    UniqueHandle file(CreateFileA(entry.path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    FILETIME written{};
    if (!GetFileSizeEx(file.get(), &size) || !GetFileTime(file.get(), nullptr, nullptr, &written)) return false;
    zip_fileinfo info = {};
    FileTimeToDos(written, info);
    if (zipOpenNewFileInZip64(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                              Z_DEFAULT_COMPRESSION, size.QuadPart >= 0xFFFFFFFFLL) != ZIP_OK)
        return false;
    bool ok = true;
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) { ok = false; break; }
        if (got == 0) break;
        if (zipWriteInFileInZip(zip, buffer.data(), got) != ZIP_OK) { ok = false; break; }
    }
    return zipCloseFileInZip(zip) == ZIP_OK && ok;
}

bool AddFolder(zipFile zip, const Entry& entry) {
    zip_fileinfo info = {};
    info.external_fa = FILE_ATTRIBUTE_DIRECTORY;
    SYSTEMTIME now;
    GetSystemTime(&now);
    FILETIME utc;
    if (SystemTimeToFileTime(&now, &utc)) FileTimeToDos(utc, info);
    return zipOpenNewFileInZip64(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, 0, 0, 0) ==
               ZIP_OK &&
           zipCloseFileInZip(zip) == ZIP_OK;
}

// A name flagged as UTF-8 in the ANSI code page the program works in; a
// name that has no ANSI form is returned as it is (and then is simply a name
// the import does not look for).
std::string AnsiName(const std::string& name, unsigned long flag) {
    if (!(flag & kUtf8NameFlag)) return name;
    const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name.data(), static_cast<int>(name.size()), nullptr, 0);
    if (wide <= 0) return name;
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), &w[0], wide);
    BOOL lossy = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, 0, w.data(), wide, nullptr, 0, nullptr, &lossy);
    if (bytes <= 0 || lossy) return name;
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), wide, &out[0], bytes, nullptr, nullptr);
    return out;
}

struct UnzipCloser {
    void operator()(void* unz) const { unzClose(unz); }
};
using UniqueUnzip = std::unique_ptr<void, UnzipCloser>;

// Every entry's name (and what its directory says of its size), or false
// when the central directory cannot be read.
bool ReadNames(unzFile unz, std::vector<std::string>& names, std::vector<EntrySize>* sizes = nullptr) {
    int r = unzGoToFirstFile(unz);
    for (; r == UNZ_OK; r = unzGoToNextFile(unz)) {
        char name[1024] = {};
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(unz, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
        if (info.size_filename >= sizeof name) return false;  // cut names would be other names
        names.push_back(AnsiName(name, info.flag));
        if (sizes) sizes->push_back({info.compressed_size, info.uncompressed_size});
    }
    return r == UNZ_END_OF_LIST_OF_FILE;
}

bool CreateFoldersFor(const std::string& folder, const std::string& nativePath) {
    // Each "\" of the native path (found by characters) ends a folder.
    size_t i = 0;
    while (i < nativePath.size()) {
        if (StrictCharWidthAt(nativePath, i) == 2) {  // the rule the entry name was judged by
            i += 2;
            continue;
        }
        if (nativePath[i] == '\\') {
            const std::string sub = folder + "\\" + nativePath.substr(0, i);
            if (!CreateDirectoryA(sub.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
        }
        ++i;
    }
    return true;
}

}  // namespace

bool PackFolder(const std::string& root, const std::string& top, const std::string& archivePath) {
    std::vector<Entry> entries;
    if (!ListFolder(root + "\\" + top, top + "/", entries)) return false;
    zipFile zip = zipOpen64(archivePath.c_str(), APPEND_STATUS_CREATE);
    if (!zip) return false;
    std::vector<char> buffer(kBufferSize);
    bool ok = true;
    for (const Entry& entry : entries) {
        ok = entry.folder ? AddFolder(zip, entry) : AddFile(zip, entry, buffer);
        if (!ok) break;
    }
    if (zipClose(zip, nullptr) != ZIP_OK) ok = false;
    if (!ok) DeleteFileA(archivePath.c_str());
    return ok;
}

bool ListArchive(const std::string& archivePath, std::vector<std::string>& names) {
    UniqueUnzip unz(unzOpen64(archivePath.c_str()));
    return unz && ReadNames(unz.get(), names);
}

UnpackResult UnpackArchive(const std::string& archivePath, const std::string& folder) {
    UniqueUnzip unz(unzOpen64(archivePath.c_str()));
    if (!unz) return UnpackResult::Unreadable;
    std::vector<std::string> names;
    std::vector<EntrySize> sizes;
    if (!ReadNames(unz.get(), names, &sizes)) return UnpackResult::Unreadable;
    for (const std::string& name : names)
        if (!IsSafeEntryName(name)) return UnpackResult::UnsafeName;
    // The reader never gives more than an entry's stated size, so the
    // directory's sizes bound what is written.
    if (!ArchiveSizesSafe(sizes)) return UnpackResult::UnsafeName;

    std::vector<char> buffer(kBufferSize);
    size_t at = 0;
    for (int r = unzGoToFirstFile(unz.get()); r == UNZ_OK; r = unzGoToNextFile(unz.get()), ++at) {
        if (at >= names.size()) return UnpackResult::Unreadable;
        const std::string native = NativeEntryPath(names[at]);
        const bool isFolder = IsFolderEntry(names[at]);
        if (!CreateFoldersFor(folder, native)) return UnpackResult::WriteFailed;
        if (isFolder) continue;
        if (unzOpenCurrentFile(unz.get()) != UNZ_OK) return UnpackResult::Unreadable;
        UniqueHandle out(CreateFileA((folder + "\\" + native).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out) {
            unzCloseCurrentFile(unz.get());
            return UnpackResult::WriteFailed;
        }
        int got;
        while ((got = unzReadCurrentFile(unz.get(), buffer.data(), static_cast<unsigned>(buffer.size()))) > 0) {
            DWORD written = 0;
            if (!WriteFile(out.get(), buffer.data(), static_cast<DWORD>(got), &written, nullptr) ||
                written != static_cast<DWORD>(got)) {
                unzCloseCurrentFile(unz.get());
                return UnpackResult::WriteFailed;
            }
        }
        // Closing checks the CRC of what was read.
        if (unzCloseCurrentFile(unz.get()) != UNZ_OK || got < 0) return UnpackResult::Unreadable;
    }
    return UnpackResult::Unpacked;
}

}  // namespace tvx::win
