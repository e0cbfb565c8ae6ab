// The in-process server's exports. The context-menu object itself is not
// served yet: the class factory answers CLASS_E_CLASSNOTAVAILABLE until the
// add-item dialog exists, so Explorer simply leaves the command out.
#include "shellext/win32/registration.h"

#include <objbase.h>

namespace {
HINSTANCE g_module = nullptr;
LONG g_locks = 0;

std::string ModulePath() {
    char path[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameA(g_module, path, MAX_PATH);
    return std::string(path, n);
}
}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() { return g_locks == 0 ? S_OK : S_FALSE; }

STDAPI DllGetClassObject(REFCLSID, REFIID, LPVOID* object) {
    if (object) *object = nullptr;
    return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllRegisterServer() { return tvx::ext::RegisterKeys(ModulePath()); }

STDAPI DllUnregisterServer() { return tvx::ext::UnregisterKeys(); }

}  // extern "C"
