#include "ui/skin/win32/resource_module.h"

#include "data/ansi_text.h"
#include "data/win32/wide_path.h"

namespace tvx::win {

namespace {
HINSTANCE g_resourceModule = nullptr;

// By characters: a GBK character may end in the byte of "\\".
std::string FolderOf(const std::string& path) {
    const size_t slash = FindLastChar(path, '\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
}

HINSTANCE ResourceModule() {
    return g_resourceModule ? g_resourceModule : GetModuleHandleA(nullptr);
}

void SetResourceModule(HINSTANCE module) { g_resourceModule = module; }

std::string LoadResourceString(UINT id) {
    char buffer[1024] = {};
    int n = LoadStringA(ResourceModule(), id, buffer, sizeof buffer);
    return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

HMODULE CodeModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&CodeModule), &module);
    return module;
}

std::wstring ModulePathWide(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(module, &path[0], static_cast<DWORD>(path.size()));
        if (n == 0) return std::wstring();
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        if (path.size() >= 32768) return std::wstring();
        path.resize(path.size() * 2);
    }
}

std::string ModuleFolder(HMODULE module, std::string* outsideCodePage) {
    // A folder whose name the code page cannot write (a per-user install
    // under such a user name) is worked through by its short form.
    const FiledPath filed = FilePathFrom(ModulePathWide(module));
    if (outsideCodePage) *outsideCodePage = filed.usable ? std::string() : FolderOf(filed.shown);
    return FolderOf(filed.usable ? filed.path : filed.shown);
}

}  // namespace tvx::win
