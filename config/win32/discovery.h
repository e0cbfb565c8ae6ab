// Where candidates come from on the machine: the registered applications and
// the Start menu's shortcuts, files and a folder the user picks, and the
// addresses of the browsers' histories.
#pragma once
#include "services/item_rows.h"
#include "data/code_page_text.h"
#include "base/win32/win_handles.h"

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace tvx::win {

// A registry key opened step by step from one of the five roots, read only.
class RegistryKey {
public:
    explicit RegistryKey(HKEY root);
    // "HKEY_CLASSES_ROOT" and the like.
    const char* RootName() const;
    // Opens a subkey of the current key for reading; the path so far grows by
    // the subkey's name and "\".
    bool Open(const std::string& subkey);
    // A string value read into 200 bytes; a value that does not fit counts as missing.
    std::optional<std::string> ReadString(const char* name) const;
    // The names of the current key's subkeys (260 bytes each).
    std::vector<std::string> SubkeyNames() const;
    // A string value as Windows keeps it (a folder under a user name the
    // code page cannot write); nothing when it is missing.
    std::optional<std::wstring> ReadWideString(const wchar_t* name) const;
    const std::string& path() const { return path_; }

private:
    HKEY root_;
    UniqueRegKey key_;
    std::string path_;
};

// The Start-menu program folders: the all-users one ("Common Programs"),
// then the user's own ("Programs"); those the registry names.
std::vector<std::wstring> StartMenuProgramFolders();

// Discovery: the registered applications, then the programs of the given
// Start-menu folders, as candidates. `liveNames` are the names of the live
// items (a name that an item has is not offered). COM is initialised here for
// the shortcut pass.
std::vector<CandidateRow> DiscoverPrograms(const std::unordered_set<std::string>& liveNames,
                                           const std::vector<std::wstring>& startMenuFolders, bool registeredApps = true);

// The files chosen in the open-file dialog (none on Cancel); the dialog's
// buffer holds `bufferSize` characters. Names the code page cannot write
// come by their short form; those without one are named in a message and
// left out.
std::vector<FiledPath> ChooseFiles(HWND owner, size_t bufferSize = 26000);
// The folder chosen in the folder browser under the computer folder, or
// nothing on Cancel (or when it is refused as above).
std::optional<FiledPath> ChooseFolder(HWND owner, const char* title = "Select Folder");

// ---- browser history ------------------------------------------------------------------

// Whether a process with this executable name runs (without regard to case).
bool ProcessRunning(const std::string& exeName);
// Source 1: the addresses the system's URL history adds.
std::vector<std::string> SystemHistoryAddresses();
// The folder of the Firefox profiles: the old per-user layout of the system
// drive, else the user's application-data folder; empty when neither exists.
std::wstring FirefoxProfilesFolder();
// The history database of the profiles folder's default profile.
std::wstring FirefoxDatabasePath(const std::wstring& profilesFolder);
// Source 2: "url" of every row of moz_places, trailing "/" removed. The
// database is opened read-only and changed in no way; a missing or damaged
// one gives nothing.
std::vector<std::string> FirefoxHistoryAddresses(const std::wstring& databasePath);
std::vector<std::string> FirefoxHistoryAddresses(const std::string& databasePath);

}  // namespace tvx::win
