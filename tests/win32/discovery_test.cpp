// Discovery's Windows side: the read-only registry key object, the process
// check, and the browser history database, which is read without being
// changed (nor created when missing).
#include "config/win32/discovery.h"
#include "data/win32/wide_path.h"
#include "tests/win32/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <sqlite3.h>

namespace tvx::win {
namespace {

size_t FilesIn(const std::string& dir) {
    size_t n = 0;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return n;
}

TEST(Discovery, RegistryKeysOpenStepByStepForReading) {
    HKEY made = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\TvxTest\\Deeper", 0, nullptr, 0, KEY_WRITE, nullptr, &made,
                              nullptr), ERROR_SUCCESS);
    const std::string fits(150, 'v'), tooLong(250, 'w');
    RegSetValueExA(made, "Fits", 0, REG_SZ, reinterpret_cast<const BYTE*>(fits.c_str()), static_cast<DWORD>(fits.size() + 1));
    RegSetValueExA(made, "TooLong", 0, REG_SZ, reinterpret_cast<const BYTE*>(tooLong.c_str()), static_cast<DWORD>(tooLong.size() + 1));
    RegCloseKey(made);
    RegistryKey key(HKEY_CURRENT_USER);
    EXPECT_STREQ(key.RootName(), "HKEY_CURRENT_USER");
    ASSERT_TRUE(key.Open("Software\\TvxTest"));
    EXPECT_EQ(key.SubkeyNames(), std::vector<std::string>{"Deeper"});
    ASSERT_TRUE(key.Open("Deeper"));
    EXPECT_EQ(key.path(), "Software\\TvxTest\\Deeper\\");
    EXPECT_EQ(key.ReadString("Fits").value_or(""), fits);
    EXPECT_FALSE(key.ReadString("TooLong")) << "a value that does not fit 200 bytes counts as missing";
    EXPECT_FALSE(key.ReadString("Missing"));
    EXPECT_FALSE(key.Open("NoSuchKey"));
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\TvxTest");
}

TEST(Discovery, TheProcessCheckFindsRunningProgramsByNameInAnyCase) {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string name = self;
    name = name.substr(name.find_last_of('\\') + 1);
    for (char& c : name) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    EXPECT_TRUE(ProcessRunning(name));
    EXPECT_FALSE(ProcessRunning("no-such-program-here.exe"));
}

TEST(Discovery, TheHistoryDatabaseIsReadAsItIsAndNeverChanged) {
    test::ScratchDir dir("places");
    const std::string missing = dir.File("missing.sqlite");
    EXPECT_TRUE(FirefoxHistoryAddresses(missing).empty());
    EXPECT_EQ(FilesIn(dir.path()), 0u) << "a missing database is not created";

    const std::string places = dir.File("places.sqlite");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(places.c_str(), &db), SQLITE_OK);
    sqlite3_exec(db,
                 "create table moz_places (id integer primary key, url text);"
                 "insert into moz_places (url) values ('http://a.example/'), ('http://b.example//'), (null);",
                 nullptr, nullptr, nullptr);
    sqlite3_close(db);
    const std::string before = test::ReadWholeFile(places);
    EXPECT_EQ(FirefoxHistoryAddresses(places), (std::vector<std::string>{"http://a.example", "http://b.example", ""}));
    EXPECT_EQ(test::ReadWholeFile(places), before);
    EXPECT_EQ(FilesIn(dir.path()), 1u) << "no journal or lock file is left beside it";

    const std::string damaged = dir.File("damaged.sqlite");
    test::WriteWholeFile(damaged, "this is not a database at all, just some words to read");
    EXPECT_TRUE(FirefoxHistoryAddresses(damaged).empty());
    EXPECT_EQ(test::ReadWholeFile(damaged), "this is not a database at all, just some words to read");
    DeleteFileA(places.c_str());
    DeleteFileA(damaged.c_str());
}

void MakeShortcut(const std::string& link, const std::string& target) {
    IShellLinkA* shell = nullptr;
    IPersistFile* file = nullptr;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                           reinterpret_cast<void**>(&shell))));
    shell->SetPath(target.c_str());
    shell->SetDescription("test");
    ASSERT_TRUE(SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, wide, MAX_PATH);
    EXPECT_TRUE(SUCCEEDED(file->Save(wide, TRUE)));
    file->Release();
    shell->Release();
}

TEST(Discovery, TheStartMenuWalkEndsThoughAFolderLinksBackToItsParent) {
    test::ScratchDir dir("startmenu");
    CoInitialize(nullptr);
    const std::string program = dir.File("tool.exe");
    test::WriteWholeFile(program, "");
    MakeShortcut(dir.File("Top.lnk"), program);
    // A shortcut 40 folders down is deeper than the walk goes.
    std::string deep = dir.path();
    for (int i = 0; i < 40; ++i) CreateDirectoryA((deep += "\\d").c_str(), nullptr);
    MakeShortcut(deep + "\\Deep.lnk", program);
    MakeShortcut(dir.File("d\\d\\Near.lnk"), program);
    CoUninitialize();
    // A folder that leads back to its parent: skipped as a link where the
    // system reports one, cut off by the depth otherwise.
    CreateSymbolicLinkA(dir.File("d\\back").c_str(), dir.path().c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
    std::vector<std::string> names;
    for (const CandidateRow& row : DiscoverPrograms({}, {FromAnsi(dir.path())}, false)) names.push_back(row.name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Near", "Top"}));
}

}  // namespace
}  // namespace tvx::win
