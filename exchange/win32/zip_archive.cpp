#include "exchange/win32/zip_archive.h"

#include "data/ansi_text.h"
#include "exchange/archive_unpack.h"
#include "exchange/exchange_rules.h"
#include "base/win32/win_handles.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <memory>
#include <vector>

namespace tvx::win {

namespace {

constexpr size_t kBufferSize = 256 * 1024;

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

// A name flagged as UTF-8 in the ANSI code page the program works in, when
// it has a lossless form there.
bool AnsiFromUtf8(std::string_view utf8, std::string& ansi) {
    const int wide = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (wide <= 0) return false;
    std::wstring w(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &w[0], wide);
    BOOL lossy = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, 0, w.data(), wide, nullptr, 0, nullptr, &lossy);
    if (bytes <= 0 || lossy) return false;
    ansi.assign(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), wide, &ansi[0], bytes, nullptr, nullptr);
    return true;
}

struct UnzipCloser {
    void operator()(void* unz) const { unzClose(unz); }
};
using UniqueUnzip = std::unique_ptr<void, UnzipCloser>;

// Unpacked entries go into a folder that exists.
class FolderSink : public UnpackSink {
public:
    explicit FolderSink(std::string folder) : folder_(std::move(folder)) {}
    bool MakeFolder(const std::string& path) override {
        const std::string sub = folder_ + "\\" + path;
        return CreateDirectoryA(sub.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
    }
    bool BeginFile(const std::string& path) override {
        out_.reset(CreateFileA((folder_ + "\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
        return static_cast<bool>(out_);
    }
    bool Write(const char* data, size_t size) override {
        DWORD written = 0;
        return WriteFile(out_.get(), data, static_cast<DWORD>(size), &written, nullptr) && written == size;
    }
    bool EndFile() override {
        out_.reset();
        return true;
    }

private:
    std::string folder_;
    UniqueHandle out_;
};

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
    std::vector<ArchiveEntry> entries;
    if (!unz || !ReadArchiveEntries(unz.get(), AnsiFromUtf8, entries)) return false;
    for (ArchiveEntry& entry : entries) names.push_back(std::move(entry.name));
    return true;
}

UnpackResult UnpackArchive(const std::string& archivePath, const std::string& folder) {
    UniqueUnzip unz(unzOpen64(archivePath.c_str()));
    if (!unz) return UnpackResult::Unreadable;
    std::vector<ArchiveEntry> entries;
    if (!ReadArchiveEntries(unz.get(), AnsiFromUtf8, entries)) return UnpackResult::Unreadable;
    FolderSink sink(folder);
    return UnpackArchiveEntries(unz.get(), entries, sink);
}

}  // namespace tvx::win
