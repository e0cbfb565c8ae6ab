// A stand-in program for tests: appends one line "<milliseconds> <command line>"
// to the log named by TVX_HELPER_LOG (or helper_log.txt beside itself), and
// its working folder to the one named by TVX_HELPER_FOLDER_LOG when that is
// set, and ends.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
    char logPath[MAX_PATH + 1] = {};
    if (GetEnvironmentVariableA("TVX_HELPER_LOG", logPath, MAX_PATH) == 0) {
        GetModuleFileNameA(nullptr, logPath, MAX_PATH);
        std::string p(logPath);
        p = p.substr(0, p.find_last_of('\\')) + "\\helper_log.txt";
        std::snprintf(logPath, sizeof logPath, "%s", p.c_str());
    }
    char folderLog[MAX_PATH + 1] = {};
    if (GetEnvironmentVariableA("TVX_HELPER_FOLDER_LOG", folderLog, MAX_PATH) > 0) {
        char folder[MAX_PATH + 1] = {};
        GetCurrentDirectoryA(MAX_PATH, folder);
        if (FILE* f = std::fopen(folderLog, "ab")) {
            std::fprintf(f, "%s\r\n", folder);
            std::fclose(f);
        }
    }
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    unsigned long long ms = ((static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) / 10000ULL;
    // Several helpers may start at once: retry while another holds the file.
    for (int attempt = 0; attempt < 50; ++attempt) {
        HANDLE f = CreateFileA(logPath, FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (f == INVALID_HANDLE_VALUE) { Sleep(20); continue; }
        char head[32];
        int n = std::snprintf(head, sizeof head, "%llu ", ms);
        std::string line = std::string(head, static_cast<size_t>(n)) + GetCommandLineA() + "\r\n";
        DWORD written = 0;
        WriteFile(f, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(f);
        break;
    }
    return 0;
}
