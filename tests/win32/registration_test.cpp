// The extension's class keys: under HKEY_CLASSES_ROOT when that takes them,
// under the user's own classes when it refuses (a standard user), and gone
// from both after "regsvr32 /u".
#include "shellext/win32/registration.h"
#include "tests/win32/test_support.h"

#include <gtest/gtest.h>

namespace tvx::ext {
namespace {

std::string ReadDefault(HKEY root, const std::string& path) {
    char value[512] = {};
    DWORD size = sizeof value;
    if (RegGetValueA(root, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) return "";
    return value;
}

bool KeyExists(HKEY root, const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

const std::string kClsidPath = std::string("CLSID\\") + kClsidText;
const std::string kUserClsidPath = "Software\\Classes\\" + kClsidPath;
const std::string kUserHandlerPath = "Software\\Classes\\*\\ShellEx\\ContextMenuHandlers\\Tavrolinex";

TEST(ExtensionRegistration, ARefusedClassesRootFallsBackToTheUserClassesAndRegsvr32RemovesThem) {
    // A root that refuses every write: the handle of a key already closed
    // (Wine does not refuse writes through a read-only handle).
    HKEY refusing = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\TavrolinexTests\\Refusing", 0, nullptr, 0, KEY_WRITE,
                              nullptr, &refusing, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(refusing);

    const std::string dll = test::ExeFolder() + "\\TavrolinexExt.dll";
    KeysWritten written = KeysWritten::None;
    ASSERT_EQ(RegisterKeys(dll, &written, refusing), S_OK);
    EXPECT_EQ(written, KeysWritten::UserClasses);
    EXPECT_EQ(ReadDefault(HKEY_CURRENT_USER, kUserClsidPath + "\\InprocServer32"), dll);
    EXPECT_EQ(ReadDefault(HKEY_CURRENT_USER, kUserHandlerPath), kClsidText);
    EXPECT_EQ(ReadDefault(HKEY_CURRENT_USER, std::string("Software\\Classes\\") + kProgId + "\\CLSID"), kClsidText);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\TavrolinexTests\\Refusing\\" + kClsidPath));

    // What Explorer's "unregister" does: the extension's own entry point in regsvr32.
    std::string command = "regsvr32.exe /u /s \"" + dll + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    WaitForSingleObject(pi.hProcess, 60000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserClsidPath));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserHandlerPath));
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\TavrolinexTests");
}

TEST(ExtensionRegistration, AWritableClassesRootTakesTheKeys) {
    const std::string dll = "C:\\Some Folder\\TavrolinexExt.dll";
    KeysWritten written = KeysWritten::None;
    ASSERT_EQ(RegisterKeys(dll, &written), S_OK);
    EXPECT_EQ(written, KeysWritten::ClassesRoot);
    EXPECT_EQ(ReadDefault(HKEY_CLASSES_ROOT, kClsidPath + "\\InprocServer32"), dll);
    EXPECT_EQ(UnregisterKeys(), S_OK);
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClsidPath));
}

}  // namespace
}  // namespace tvx::ext
