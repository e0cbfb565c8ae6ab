#include "tests/win32/test_support.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tvx::test {

ScratchDir::ScratchDir(const std::string& name) {
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "tvx_" + name + "_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(path_.c_str(), nullptr);
}

namespace {
void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            SetFileAttributesA(path.c_str(), fd.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
            // A link of the file system goes itself, never what it leads to.
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) RemoveDirectoryA(path.c_str()) || DeleteFileA(path.c_str());
            else if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
            else DeleteFileA(path.c_str());
        } while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    RemoveDirectoryA(folder.c_str());
}
}  // namespace

ScratchDir::~ScratchDir() { RemoveTree(path_); }

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ExeFolder() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path);
    return p.substr(0, p.find_last_of('\\'));
}

std::vector<HelperRun> WaitForHelperRuns(const std::string& log, size_t count, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    std::vector<HelperRun> runs;
    while (true) {
        runs.clear();
        std::istringstream lines(ReadWholeFile(log));
        std::string line;
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            size_t blank = line.find(' ');
            if (blank == std::string::npos) continue;
            runs.push_back({std::strtoull(line.substr(0, blank).c_str(), nullptr, 10), line.substr(blank + 1)});
        }
        if (runs.size() >= count || GetTickCount() - start > timeoutMs) return runs;
        Sleep(50);
    }
}

}  // namespace tvx::test
