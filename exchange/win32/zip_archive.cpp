#include "exchange/win32/zip_archive.h"

#include "ui/skin/win32/win_handles.h"

#include <minizip/unzip.h>
#include <minizip/zip.h>

#include <fstream>
#include <sstream>
#include <vector>

namespace tvx::win {

namespace {

void ListFiles(const std::string& folder, const std::string& prefix, std::vector<std::string>& out) {
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = fd.cFileName;
        if (name == "." || name == "..") continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            ListFiles(folder + "\\" + name, prefix + name + "/", out);
        else
            out.push_back(prefix + name);
    } while (FindNextFileA(find, &fd));
    FindClose(find);
}

bool ReadFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    bytes = ss.str();
    return true;
}

// A relative name that stays inside the target folder.
bool IsSafeEntryName(const std::string& name) {
    if (name.empty() || name[0] == '/' || name[0] == '\\' || name.find(':') != std::string::npos) return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("/\\", start);
        std::string part = name.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part == "..") return false;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return true;
}

void CreateFolders(const std::string& root, const std::string& relative) {
    size_t pos = 0;
    while ((pos = relative.find_first_of("/\\", pos)) != std::string::npos) {
        std::string sub = relative.substr(0, pos);
        for (char& c : sub) if (c == '/') c = '\\';
        CreateDirectoryA((root + "\\" + sub).c_str(), nullptr);
        ++pos;
    }
}

}  // namespace

bool PackFolder(const std::string& folder, const std::string& archivePath) {
    std::vector<std::string> files;
    ListFiles(folder, "", files);
    zipFile zip = zipOpen64(archivePath.c_str(), APPEND_STATUS_CREATE);
    if (!zip) return false;
    bool ok = true;
    for (const std::string& name : files) {
        std::string native = name;
        for (char& c : native) if (c == '/') c = '\\';
        std::string bytes;
        if (!ReadFile(folder + "\\" + native, bytes)) { ok = false; break; }
        zip_fileinfo info = {};
        if (zipOpenNewFileInZip64(zip, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                  Z_DEFAULT_COMPRESSION, bytes.size() >= 0xFFFFFFFFu) != ZIP_OK ||
            zipWriteInFileInZip(zip, bytes.data(), static_cast<unsigned>(bytes.size())) != ZIP_OK ||
            zipCloseFileInZip(zip) != ZIP_OK) {
            ok = false;
            break;
        }
    }
    if (zipClose(zip, nullptr) != ZIP_OK) ok = false;
    if (!ok) DeleteFileA(archivePath.c_str());
    return ok;
}

bool UnpackArchive(const std::string& archivePath, const std::string& folder) {
    unzFile unz = unzOpen64(archivePath.c_str());
    if (!unz) return false;
    CreateDirectoryA(folder.c_str(), nullptr);
    bool ok = true;
    for (int r = unzGoToFirstFile(unz); r == UNZ_OK; r = unzGoToNextFile(unz)) {
        char name[1024] = {};
        unz_file_info64 info;
        if (unzGetCurrentFileInfo64(unz, &info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK) { ok = false; break; }
        std::string entry = name;
        if (!IsSafeEntryName(entry)) { ok = false; continue; }
        if (entry.back() == '/' || entry.back() == '\\') { CreateFolders(folder, entry); continue; }
        CreateFolders(folder, entry);
        std::string native = entry;
        for (char& c : native) if (c == '/') c = '\\';
        if (unzOpenCurrentFile(unz) != UNZ_OK) { ok = false; break; }
        std::ofstream out(folder + "\\" + native, std::ios::binary | std::ios::trunc);
        char buffer[65536];
        int got;
        while ((got = unzReadCurrentFile(unz, buffer, sizeof buffer)) > 0) out.write(buffer, got);
        if (got < 0 || !out) ok = false;
        if (unzCloseCurrentFile(unz) != UNZ_OK) ok = false;  // also checks the CRC
    }
    unzClose(unz);
    return ok;
}

}  // namespace tvx::win
