#include "config/win32/discovery.h"

#include "config/discovery_rules.h"
#include "data/ansi_text.h"
#include "data/win32/profile.h"
#include "data/win32/wide_path.h"
#include "ui/skin/win32/message_box.h"
#include "base/win32/win_handles.h"

#include <commdlg.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstring>

namespace tvx::win {

// ---- the registry --------------------------------------------------------------------

RegistryKey::RegistryKey(HKEY root) : root_(root) {}

const char* RegistryKey::RootName() const {
    if (root_ == HKEY_CLASSES_ROOT) return "HKEY_CLASSES_ROOT";
    if (root_ == HKEY_CURRENT_USER) return "HKEY_CURRENT_USER";
    if (root_ == HKEY_LOCAL_MACHINE) return "HKEY_LOCAL_MACHINE";
    if (root_ == HKEY_USERS) return "HKEY_USERS";
    if (root_ == HKEY_CURRENT_CONFIG) return "HKEY_CURRENT_CONFIG";
    return "";
}

bool RegistryKey::Open(const std::string& subkey) {
    // Read access only: a standard user cannot open these keys for writing.
    HKEY opened = nullptr;
    if (RegOpenKeyExA(key_ ? key_.get() : root_, subkey.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    key_.reset(opened);
    path_ += subkey + "\\";
    return true;
}

std::optional<std::string> RegistryKey::ReadString(const char* name) const {
    char value[200] = {};
    DWORD size = sizeof value, type = 0;
    if (RegQueryValueExA(key_ ? key_.get() : root_, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    return std::string(value, strnlen(value, sizeof value));
}

std::optional<std::wstring> RegistryKey::ReadWideString(const wchar_t* name) const {
    DWORD size = 0, type = 0;
    HKEY key = key_ ? key_.get() : root_;
    if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value[0]), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.resize(wcsnlen(value.c_str(), value.size()));
    return value;
}

std::vector<std::string> RegistryKey::SubkeyNames() const {
    std::vector<std::string> names;
    char name[260];
    for (DWORD i = 0;; ++i) {
        if (RegEnumKeyA(key_ ? key_.get() : root_, i, name, sizeof name) != ERROR_SUCCESS) break;
        names.emplace_back(name);
    }
    return names;
}

std::vector<std::wstring> StartMenuProgramFolders() {
    // Asked of the shell: the "Shell Folders" key that once told them is kept
    // by Windows for old programs only and is documented as not to be used.
    std::vector<std::wstring> folders;
    for (int which : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
        wchar_t folder[MAX_PATH] = {};
        if (SUCCEEDED(SHGetFolderPathW(nullptr, which, nullptr, SHGFP_TYPE_CURRENT, folder)) && folder[0])
            folders.push_back(folder);
    }
    return folders;
}

// ---- discovery ------------------------------------------------------------------------

namespace {

// Pass 1: HKEY_CLASSES_ROOT\Applications.
void RegisteredApplications(const std::unordered_set<std::string>& live, CandidateInserter& insert) {
    RegistryKey applications(HKEY_CLASSES_ROOT);
    if (!applications.Open("Applications")) return;
    size_t position = insert.BeginLevel();
    for (const std::string& app : applications.SubkeyNames()) {
        RegistryKey shell(HKEY_CLASSES_ROOT);
        if (!shell.Open("Applications\\" + app + "\\Shell")) continue;
        const std::optional<std::string> name = shell.ReadString("FriendlyCache");
        if (!name || name->empty()) continue;
        RegistryKey command(HKEY_CLASSES_ROOT);
        if (!command.Open("Applications\\" + app + "\\Shell\\Open\\Command")) continue;
        if (live.count(*name)) continue;
        const std::optional<std::string> text = command.ReadString(nullptr);
        if (!text) continue;
        std::string cleaned = CleanRegisteredCommand(*text);
        if (!cleaned.empty()) insert.Insert(position, CandidateRow{*name, std::move(cleaned)});
    }
}

// An advertised installation's shortcut names an icon stub: the program is
// the LocalServer32 of the first class (in the registry's order) whose
// DefaultIcon names that stub. The classes are read once per discovery run,
// when the first stub turns up, not once per stub: HKEY_CLASSES_ROOT\CLSID
// holds thousands of them.
class IconStubIndex {
public:
    std::string ProgramOf(const std::string& target) {
        if (!read_) Read();
        const std::string wanted = ToLowerAnsi(target);
        for (const ClassIcon& c : classes_)
            if (c.icon.find(wanted) != std::string::npos) return c.server;
        return std::string();
    }

private:
    struct ClassIcon {
        std::string icon;    // DefaultIcon, lowercased
        std::string server;  // LocalServer32; empty when the class has none
    };
    void Read() {
        read_ = true;
        RegistryKey classes(HKEY_CLASSES_ROOT);
        if (!classes.Open("CLSID")) return;
        for (const std::string& clsid : classes.SubkeyNames()) {
            RegistryKey icon(HKEY_CLASSES_ROOT);
            if (!icon.Open("CLSID\\" + clsid + "\\DefaultIcon")) continue;
            const std::optional<std::string> file = icon.ReadString(nullptr);
            if (!file) continue;
            RegistryKey server(HKEY_CLASSES_ROOT);
            std::string program;
            if (server.Open("CLSID\\" + clsid + "\\LocalServer32")) program = server.ReadString(nullptr).value_or(std::string());
            classes_.push_back(ClassIcon{ToLowerAnsi(*file), std::move(program)});
        }
    }

    bool read_ = false;
    std::vector<ClassIcon> classes_;
};

struct LinkReader {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
};

// The target of a shortcut with its arguments, or nothing when the link
// cannot be read, when its target does not fit the 260-byte buffer, or when
// the code page can write neither the target's name nor its short form (or
// the arguments): such a link would be filed with "?" and never start.
std::optional<std::string> ReadLink(LinkReader& reader, const std::wstring& path) {
    if (FAILED(reader.file->Load(path.c_str(), STGM_READ))) return std::nullopt;
    wchar_t target[MAX_PATH] = {};
    if (FAILED(reader.link->GetPath(target, MAX_PATH, nullptr, SLGP_SHORTPATH))) return std::nullopt;
    if (GetFileAttributesW(target) == INVALID_FILE_ATTRIBUTES) {
        // A link may keep its target's path only in the code page (Wine
        // writes it so): the item list keeps the names whole.
        PIDLIST_ABSOLUTE items = nullptr;
        wchar_t whole[MAX_PATH] = {};
        if (SUCCEEDED(reader.link->GetIDList(&items)) && items && SHGetPathFromIDListW(items, whole) &&
            GetFileAttributesW(whole) != INVALID_FILE_ATTRIBUTES)
            lstrcpynW(target, whole, MAX_PATH);
        if (items) CoTaskMemFree(items);
    }
    const FiledPath filed = FilePathFrom(target);
    if (!filed.usable) return std::nullopt;
    wchar_t arguments[MAX_PATH] = {};
    std::string result = filed.path;
    if (SUCCEEDED(reader.link->GetArguments(arguments, MAX_PATH)) && arguments[0]) {
        const CodePageText args = ToAnsi(arguments);
        if (args.lossy) return std::nullopt;
        result += ' ';
        result += args.text;
    }
    // Never beyond the 260 bytes the target may take.
    if (result.size() >= MAX_PATH) return std::nullopt;
    wchar_t description[MAX_PATH] = {};
    if (FAILED(reader.link->GetDescription(description, MAX_PATH))) return std::nullopt;
    return result;
}

// Folders deeper than this are not walked: a link of the file system that
// leads back up (a junction to a parent, a symbolic link) would otherwise
// be walked for ever. Links of the file system are not followed at all
// where the system says what they are.
constexpr int kDeepestFolder = 32;

struct Walk {
    const std::unordered_set<std::string>& live;
    CandidateInserter& insert;
    LinkReader& reader;
    IconStubIndex stubs;
};

void WalkFolder(const std::wstring& folder, Walk& walk, int depth) {
    if (depth > kDeepestFolder) return;
    const std::unordered_set<std::string>& live = walk.live;
    CandidateInserter& insert = walk.insert;
    size_t position = insert.BeginLevel();
    WIN32_FIND_DATAW found;
    UniqueFind find(FindFirstFileW((folder + L"\\*.*").c_str(), &found));
    if (!find) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const std::wstring path = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) WalkFolder(path, walk, depth + 1);
            continue;
        }
        // The title as the code page can show it (a mark where it lacks a character).
        const std::string title = FileTitleOf(ToAnsi(name).text);
        if (live.count(title) || insert.Offered(title)) continue;
        std::optional<std::string> target = ReadLink(walk.reader, path);
        if (!target) continue;
        if (IsInstallerIconStub(*target)) target = walk.stubs.ProgramOf(*target);
        const std::string trimmed = Trim(*target);
        if (IsProgramTarget(trimmed)) insert.Insert(position, CandidateRow{title, trimmed});
    } while (FindNextFileW(find.get(), &found));
}

}  // namespace

std::vector<CandidateRow> DiscoverPrograms(const std::unordered_set<std::string>& liveNames,
                                           const std::vector<std::wstring>& startMenuFolders, bool registeredApps) {
    std::vector<CandidateRow> rows;
    CandidateInserter insert(rows);
    if (registeredApps) RegisteredApplications(liveNames, insert);
    if (startMenuFolders.empty()) return rows;
    const HRESULT com = CoInitialize(nullptr);
    {
        LinkReader reader;
        const CLSID clsidShellLink = {0x00021401, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
        if (SUCCEEDED(CoCreateInstance(clsidShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                       reinterpret_cast<void**>(reader.link.put()))) &&
            SUCCEEDED(reader.link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(reader.file.put())))) {
            // The user's own Start menu after the all-users one; a title
            // offered once is not offered again.
            Walk walk{liveNames, insert, reader, {}};
            for (const std::wstring& folder : startMenuFolders) WalkFolder(folder, walk, 0);
        }
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return rows;
}

// ---- the file choosers ---------------------------------------------------------------

namespace {
// Tells the user which chosen names cannot be filed.
void SayRefused(HWND owner, const std::vector<std::string>& refused) {
    if (!refused.empty())
        ShowMessage(owner, NameOutsideCodePageText(refused), MB_OK);
}
}  // namespace

std::vector<FiledPath> ChooseFiles(HWND owner, size_t bufferSize) {
    std::vector<wchar_t> buffer(bufferSize, L'\0');
    static const wchar_t kFilters[] =
        L"Exe File(*.exe)\0*.exe\0Com File(*.com)\0*.com\0Bat File(*.bat)\0*.bat\0Ms Word(*.doc)\0*.doc\0"
        L"Ms Excel(*.xls)\0*.xls\0Text(*.txt)\0*.txt\0htm(*.htm)\0*.htm\0ALL(*.*)\0*.*\0";
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = kFilters;
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT;
    if (!GetOpenFileNameW(&ofn)) return {};
    std::vector<FiledPath> chosen;
    std::vector<std::string> refused;
    for (const std::wstring& path : SplitChosenFiles(buffer.data(), buffer.size())) {
        FiledPath filed = FilePathFrom(path);
        if (filed.usable) chosen.push_back(std::move(filed));
        else refused.push_back(filed.shown);
    }
    SayRefused(owner, refused);
    return chosen;
}

std::optional<FiledPath> ChooseFolder(HWND owner, const char* title) {
    PIDLIST_ABSOLUTE computer = nullptr;
    SHGetSpecialFolderLocation(owner, CSIDL_DRIVES, &computer);
    const std::wstring wideTitle = FromAnsi(title ? title : "");
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pidlRoot = computer;
    info.lpszTitle = wideTitle.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    std::optional<FiledPath> path;
    if (chosen) {
        wchar_t folder[MAX_PATH] = {};
        if (SHGetPathFromIDListW(chosen, folder) && folder[0]) {
            FiledPath filed = FilePathFrom(folder);
            if (filed.usable) path = std::move(filed);
            else SayRefused(owner, {filed.shown});
        }
        CoTaskMemFree(chosen);
    }
    if (computer) CoTaskMemFree(computer);
    return path;
}

// ---- browser history ----------------------------------------------------------------------

bool ProcessRunning(const std::string& exeName) {
    UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return false;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.get(), &entry); more; more = Process32Next(snapshot.get(), &entry)) {
        const std::string path = entry.szExeFile;
        const size_t slash = FindLastChar(path, '\\');
        if (EqualsNoCase(slash == std::string::npos ? path : path.substr(slash + 1), exeName)) return true;
    }
    return false;
}

}  // namespace tvx::win
