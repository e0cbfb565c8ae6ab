// The addresses of the browsers' histories: the system's URL history, and
// the "places.sqlite" database of Firefox, opened read-only.
#include "config/discovery_rules.h"
#include "config/win32/discovery.h"
#include "data/ansi_text.h"
#include "data/win32/wide_path.h"
#include "base/win32/win_handles.h"

#include <objbase.h>
#include <shlobj.h>
#include <urlhist.h>

#include <sqlite3.h>

namespace tvx::win {

namespace {

const CLSID kClsidUrlHistory = {0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
const IID kIidUrlHistoryStg2 = {0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

std::string Narrow(const wchar_t* wide, UINT codePage) {
    if (!wide) return std::string();
    const int n = WideCharToMultiByte(codePage, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, wide, -1, &out[0], n, nullptr, nullptr);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// An SQLite URI for a Windows path: "file:///C:/..." with everything but
// the unreserved characters and "/" percent-encoded (UTF-8). "immutable"
// tells SQLite that nothing changes the file, so it reads it as it is and
// creates no journal or lock files beside it.
std::string ReadOnlyUri(const std::wstring& path) {
    std::string utf8 = Narrow(path.c_str(), CP_UTF8);
    std::string uri = "file:///";
    static const char kHex[] = "0123456789ABCDEF";
    for (unsigned char c : utf8) {
        if (c == '\\') c = '/';
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
            c == '_' || c == '~' || c == '/' || c == ':') {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return uri + "?mode=ro&immutable=1";
}

int CollectRow(void* collected, int columns, char** values, char**) {
    auto* addresses = static_cast<std::vector<std::string>*>(collected);
    for (int i = 0; i < columns; ++i) addresses->push_back(WithoutTrailingSlashes(values[i] ? values[i] : ""));
    return 0;  // read every row
}

}  // namespace

std::vector<std::string> SystemHistoryAddresses() {
    std::vector<std::string> collected;
    const HRESULT com = CoInitialize(nullptr);
    {
        ComPtr<IUrlHistoryStg2> history;
        ComPtr<IEnumSTATURL> entries;
        if (SUCCEEDED(CoCreateInstance(kClsidUrlHistory, nullptr, CLSCTX_INPROC_SERVER, kIidUrlHistoryStg2,
                                       reinterpret_cast<void**>(history.put()))) &&
            SUCCEEDED(history->EnumUrls(entries.put())) && entries) {
            STATURL entry = {};
            entry.cbSize = sizeof entry;
            ULONG got = 0;
            while (entries->Next(1, &entry, &got) == S_OK && got == 1) {
                const std::string address = Narrow(entry.pwcsUrl, CP_ACP);
                CoTaskMemFree(entry.pwcsUrl);
                CoTaskMemFree(entry.pwcsTitle);
                entry = STATURL{};
                entry.cbSize = sizeof entry;
                for (std::string& a : AddressesFromHistoryEntry(address)) collected.push_back(std::move(a));
            }
        }
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return collected;
}

// The folders are taken as Windows names them: a user name the code page
// cannot write is part of both.
std::wstring FirefoxProfilesFolder() {
    // The per-user layout of the systems the program first targeted...
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    wchar_t user[257] = {};
    DWORD size = 257;
    GetUserNameW(user, &size);
    const std::wstring old = std::wstring(1, system[0]) + L":\\Documents and Settings\\" + user +
                             L"\\Application Data\\Mozilla\\Firefox\\Profiles";
    if (IsFolder(old)) return old;
    // ...and where every later Windows keeps application data.
    wchar_t appData[MAX_PATH] = {};
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData))) {
        const std::wstring current = std::wstring(appData) + L"\\Mozilla\\Firefox\\Profiles";
        if (IsFolder(current)) return current;
    }
    return std::wstring();
}

std::vector<std::string> FirefoxHistoryAddresses(const std::wstring& databasePath) {
    std::vector<std::string> collected;
    if (GetFileAttributesW(databasePath.c_str()) == INVALID_FILE_ATTRIBUTES) return collected;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(ReadOnlyUri(databasePath).c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) ==
        SQLITE_OK)
        sqlite3_exec(db, "select url from moz_places", CollectRow, &collected, nullptr);
    sqlite3_close(db);
    return collected;
}

std::vector<std::string> FirefoxHistoryAddresses(const std::string& databasePath) {
    return FirefoxHistoryAddresses(FromAnsi(databasePath));
}

// The profile of a profiles folder: the first sub-folder with ".default" in
// its name, else the name the program always looked for. (The names are
// compared in UTF-8, which keeps every character.)
std::wstring FirefoxDatabasePath(const std::wstring& profiles) {
    std::vector<std::string> subfolders;
    WIN32_FIND_DATAW found;
    UniqueFind find(FindFirstFileW((profiles + L"\\*.*").c_str(), &found));
    if (find) {
        do {
            const std::wstring name = found.cFileName;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..")
                subfolders.push_back(Narrow(name.c_str(), CP_UTF8));
        } while (FindNextFileW(find.get(), &found));
    }
    return profiles + L"\\" + FromAnsi(ChooseFirefoxProfile(subfolders), CP_UTF8) + L"\\places.sqlite";
}

}  // namespace tvx::win
