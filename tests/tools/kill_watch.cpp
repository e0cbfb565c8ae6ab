// The kill harness's file helpers and its watch over the killed child.
#include "kill_watch.h"

#include "data/win32/file_io.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>

namespace tvx::killtest {

namespace {
// Under Wine a killed process is signalled as soon as the Wine server lets it
// go, while its Unix process may still finish a write through a descriptor it
// holds. Wine shows each process's Windows command line in /proc (through its
// Z: drive): the parent finds the child's Unix process by a token on that line
// and, after the kill, waits until /proc no longer shows it running. On
// Windows there is no Z:\proc, and the signalled handle is the whole story.
std::string ReadSmallFile(const std::string& path) {  // /proc files report size 0
    std::string bytes;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    char buffer[512];
    DWORD got = 0;
    while (bytes.size() < 4096 && ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

}  // namespace

std::string ReadAll(const std::string& path) {
    std::string bytes;
    win::ReadWholeFile(path, bytes);
    return bytes;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }


std::vector<std::string> Matching(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA(pattern.c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return names;
    do names.push_back(fd.cFileName);
    while (FindNextFileA(find, &fd));
    FindClose(find);
    return names;
}

std::string UnixPidWithToken(const std::string& token) {
    for (const std::string& name : Matching("Z:\\proc\\*")) {
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
        std::string line = ReadSmallFile("Z:\\proc\\" + name + "\\cmdline");
        std::replace(line.begin(), line.end(), '\0', ' ');
        if (line.find("tvxsavekill") != std::string::npos && line.find(" " + token) != std::string::npos) return name;
    }
    return "";
}

// True once the Unix process is gone or a zombie.
bool UnixProcessGone(const std::string& pid) {
    const std::string stat = ReadSmallFile("Z:\\proc\\" + pid + "\\stat");
    const size_t paren = stat.rfind(')');
    if (stat.empty() || paren == std::string::npos || paren + 2 >= stat.size()) return true;
    const char state = stat[paren + 2];
    return state == 'Z' || state == 'X' || state == 'x';
}

// Returns whether the process was found (and so watched) and is gone.
bool WaitUntilUnixProcessGone(const std::string& pid) {
    for (int wait = 0; !pid.empty() && wait < 200 && !UnixProcessGone(pid); ++wait) Sleep(50);
    return !pid.empty() && UnixProcessGone(pid);
}

}  // namespace tvx::killtest
