#include "shellext/win32/registration.h"

#include "base/win32/win_handles.h"

#include <olectl.h>

namespace tvx::ext {

namespace {

tvx::win::UniqueRegKey CreateKey(HKEY parent, const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(parent, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return tvx::win::UniqueRegKey();
    return tvx::win::UniqueRegKey(key);
}

bool SetKey(HKEY parent, const std::string& path, const char* name, const std::string& value) {
    tvx::win::UniqueRegKey key = CreateKey(parent, path);
    return key && RegSetValueExA(key.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

bool CreateEmptyKey(HKEY parent, const std::string& path) { return static_cast<bool>(CreateKey(parent, path)); }

// Deletes a key with everything below it; a missing key is no error.
void DeleteTree(HKEY parent, const std::string& path) {
    {
        HKEY opened = nullptr;
        if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ | KEY_WRITE, &opened) != ERROR_SUCCESS) return;
        tvx::win::UniqueRegKey key(opened);
        char name[256];
        while (true) {
            DWORD len = sizeof name;
            if (RegEnumKeyExA(key.get(), 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            DeleteTree(key.get(), name);
        }
    }
    RegDeleteKeyA(parent, path.c_str());
}

const std::string kClsidKey = std::string("CLSID\\") + kClsidText;
const std::string kHandlerKey = "*\\ShellEx\\ContextMenuHandlers\\Tavrolinex";

}  // namespace

namespace {

bool WriteKeys(HKEY root, const std::string& modulePath) {
    DeleteTree(root, kClsidKey);  // the class key is replaced whole
    return SetKey(root, kProgId, nullptr, kClassDescription) &&
           SetKey(root, std::string(kProgId) + "\\CLSID", nullptr, kClsidText) &&
           SetKey(root, kProgIdIndependent, nullptr, kClassDescription) &&
           SetKey(root, std::string(kProgIdIndependent) + "\\CLSID", nullptr, kClsidText) &&
           SetKey(root, std::string(kProgIdIndependent) + "\\CurVer", nullptr, kProgId) &&
           SetKey(root, kClsidKey, nullptr, kClassDescription) &&
           SetKey(root, kClsidKey + "\\ProgID", nullptr, kProgId) &&
           SetKey(root, kClsidKey + "\\VersionIndependentProgID", nullptr, kProgIdIndependent) &&
           CreateEmptyKey(root, kClsidKey + "\\Programmable") &&
           SetKey(root, kClsidKey + "\\InprocServer32", nullptr, modulePath) &&
           SetKey(root, kClsidKey + "\\InprocServer32", "ThreadingModel", "Apartment") &&
           SetKey(root, kClsidKey + "\\TypeLib", nullptr, kLibidText) &&
           SetKey(root, kHandlerKey, nullptr, kClsidText);
}

void DeleteKeys(HKEY root) {
    DeleteTree(root, kProgId);
    DeleteTree(root, kProgIdIndependent);
    DeleteTree(root, kClsidKey);
    DeleteTree(root, kHandlerKey);
}

tvx::win::UniqueRegKey UserClasses() { return CreateKey(HKEY_CURRENT_USER, "Software\\Classes"); }

}  // namespace

HRESULT RegisterKeys(const std::string& modulePath, KeysWritten* written, HKEY preferred) {
    if (written) *written = KeysWritten::None;
    if (WriteKeys(preferred, modulePath)) {
        if (written) *written = KeysWritten::ClassesRoot;
        return S_OK;
    }
    DeleteKeys(preferred);  // whatever part of them the refusing root took
    tvx::win::UniqueRegKey user = UserClasses();
    if (user && WriteKeys(user.get(), modulePath)) {
        if (written) *written = KeysWritten::UserClasses;
        return S_OK;
    }
    if (user) DeleteKeys(user.get());
    return SELFREG_E_CLASS;
}

HRESULT UnregisterKeys(HKEY preferred) {
    DeleteKeys(preferred);
    if (preferred != HKEY_CLASSES_ROOT) DeleteKeys(HKEY_CLASSES_ROOT);
    if (tvx::win::UniqueRegKey user = UserClasses()) DeleteKeys(user.get());
    return S_OK;
}

}  // namespace tvx::ext
