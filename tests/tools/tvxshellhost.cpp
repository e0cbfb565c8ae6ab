// Acts as Explorer does with a context-menu handler: creates the extension
// by its CLSID, hands it a data object holding the files in CF_HDROP, builds
// its menu (also as for a double click, and with no command id left), asks
// for command strings and invokes it from a window of its own, its thread
// aware of each monitor's scale as Explorer's is. Prints what it saw.
//   tvxshellhost [--invoke] [--twice] [--fail PLACE] FILE...
// --twice invokes again from a second thread while the first dialog is open;
// --fail PLACE makes an allocation fail there (the extension's test seam).
// A FILE written "hex:" and hexadecimal digits stands for those bytes, so
// that a test can hand over an ANSI (GBK) path exactly; "u8hex:" and the
// hexadecimal digits of UTF-8 stand for a name the code page may lack.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

const CLSID kClsid = {0x9B55AFD3, 0xA2C6, 0x41B8, {0x93, 0xBF, 0x93, 0x7E, 0x4E, 0x5F, 0xF0, 0x1B}};

class DropData final : public IDataObject {
public:
    DropData(std::vector<std::string> files, bool withDrop) : files_(std::move(files)), withDrop_(withDrop) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_IDataObject) { *out = this; AddRef(); return S_OK; }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs_; }
    STDMETHODIMP_(ULONG) Release() override { ULONG r = --refs_; if (!r) delete this; return r; }
    STDMETHODIMP GetData(FORMATETC* f, STGMEDIUM* m) override {
        if (!withDrop_ || f->cfFormat != CF_HDROP || !(f->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
        // As Explorer hands it over: wide paths. A "hex:" argument stands
        // for bytes in the code page, widened here.
        std::vector<std::wstring> wide;
        size_t chars = 1;
        for (const auto& file : files_) {
            const int n = MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, nullptr, 0);
            std::wstring w(static_cast<size_t>(n > 0 ? n : 1), L'\0');
            if (n > 0) MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, &w[0], n);
            w.resize(w.size() - 1);
            if (file.rfind("utf8:", 0) == 0) {  // a name the code page lacks
                const std::string utf8 = file.substr(5);
                const int m = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, nullptr, 0);
                w.assign(static_cast<size_t>(m > 0 ? m : 1), L'\0');
                if (m > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &w[0], m);
                w.resize(w.size() - 1);
            }
            chars += w.size() + 1;
            wide.push_back(std::move(w));
        }
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
        auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        wchar_t* p = reinterpret_cast<wchar_t*>(drop + 1);
        for (const auto& w : wide) { std::memcpy(p, w.c_str(), (w.size() + 1) * sizeof(wchar_t)); p += w.size() + 1; }
        GlobalUnlock(block);
        m->tymed = TYMED_HGLOBAL;
        m->hGlobal = block;
        m->pUnkForRelease = nullptr;
        return S_OK;
    }
    STDMETHODIMP GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    STDMETHODIMP QueryGetData(FORMATETC* f) override { return withDrop_ && f->cfFormat == CF_HDROP ? S_OK : DV_E_FORMATETC; }
    STDMETHODIMP GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override { out->ptd = nullptr; return E_NOTIMPL; }
    STDMETHODIMP SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    STDMETHODIMP DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    STDMETHODIMP EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    std::vector<std::string> files_;
    bool withDrop_;
    ULONG refs_ = 1;
};

void Say(const char* key, HRESULT hr) { std::printf("%s=0x%08lX\n", key, static_cast<unsigned long>(hr)); }

// The awareness of the calling thread: 0 unaware, 1 system, 2 per monitor; -1 where unknown.
int ThreadDpiAwareness() {
    using GetContext = HANDLE(WINAPI*)();
    using Awareness = int(WINAPI*)(HANDLE);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto get = reinterpret_cast<GetContext>(reinterpret_cast<void*>(GetProcAddress(user32, "GetThreadDpiAwarenessContext")));
    auto of = reinterpret_cast<Awareness>(reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    return get && of ? of(get()) : -1;
}
void BePerMonitorAware() {
    using SetContext = HANDLE(WINAPI*)(HANDLE);
    auto set = reinterpret_cast<SetContext>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetThreadDpiAwarenessContext")));
    if (set) set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3)));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE
}

BOOL CALLBACK FindAddItemDialog(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && GetDlgItem(window, 215)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}
HWND OpenAddItemDialog() {
    HWND found = nullptr;
    EnumWindows(FindAddItemDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The second Explorer window's thread: once the first dialog shows, it
// chooses the command too.
struct SecondInvoke {
    IContextMenu* menu;
    HRESULT result = E_FAIL;
    bool firstStillOpen = false;
};
DWORD WINAPI InvokeFromSecondWindow(void* p) {
    auto* second = static_cast<SecondInvoke*>(p);
    for (int i = 0; i < 400 && !OpenAddItemDialog(); ++i) Sleep(50);
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof info;
    info.lpVerb = MAKEINTRESOURCEA(0);
    info.nShow = SW_SHOWNORMAL;
    second->result = second->menu->InvokeCommand(&info);
    second->firstStillOpen = OpenAddItemDialog() != nullptr;
    Say("invoke-second", second->result);
    std::printf("second-returned-while-first-open=%d\n", second->firstStillOpen ? 1 : 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    bool invoke = false, twice = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--invoke") {
            invoke = true;
        } else if (arg == "--twice") {
            twice = true;
        } else if (arg == "--fail" && i + 1 < argc) {
            SetEnvironmentVariableA("TVX_FAIL_ALLOCATION", argv[++i]);
        } else if (arg.rfind("u8hex:", 0) == 0) {
            std::string bytes = "utf8:";
            for (size_t at = 6; at + 1 < arg.size(); at += 2)
                bytes += static_cast<char>(std::stoi(arg.substr(at, 2), nullptr, 16));
            files.push_back(bytes);
        } else if (arg.rfind("hex:", 0) == 0) {
            std::string bytes;
            for (size_t at = 4; at + 1 < arg.size(); at += 2)
                bytes += static_cast<char>(std::stoi(arg.substr(at, 2), nullptr, 16));
            files.push_back(bytes);
        } else {
            files.push_back(arg);
        }
    }
    CoInitialize(nullptr);
    IShellExtInit* init = nullptr;
    HRESULT hr = CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IShellExtInit, reinterpret_cast<void**>(&init));
    Say("create", hr);
    if (FAILED(hr)) return 1;

    DropData* noDrop = new DropData(files, false);
    Say("init-without-drop", init->Initialize(nullptr, noDrop, nullptr));
    noDrop->Release();
    DropData* data = new DropData(files, true);
    Say("init", init->Initialize(nullptr, data, nullptr));
    data->Release();

    IContextMenu* menu = nullptr;
    Say("query-contextmenu", init->QueryInterface(IID_IContextMenu, reinterpret_cast<void**>(&menu)));
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, 1, "First");
    AppendMenuA(popup, MF_STRING, 2, "Second");
    HMENU defaults = CreatePopupMenu();
    Say("querycontextmenu-defaultonly", menu->QueryContextMenu(defaults, 0, 100, 200, CMF_DEFAULTONLY));
    Say("querycontextmenu-norange", menu->QueryContextMenu(defaults, 0, 201, 200, CMF_NORMAL));
    std::printf("menu-count-without-room=%d\n", GetMenuItemCount(defaults));
    DestroyMenu(defaults);
    Say("querycontextmenu", menu->QueryContextMenu(popup, 1, 100, 200, CMF_NORMAL));
    char text[256] = {};
    GetMenuStringA(popup, 1, text, sizeof text, MF_BYPOSITION);
    std::printf("menu-text=%s\nmenu-id=%u\nmenu-count=%d\n", text, GetMenuItemID(popup, 1), GetMenuItemCount(popup));
    for (UINT type : {0u, 1u, 4u, 5u}) {
        char buffer[256] = {};
        HRESULT r = menu->GetCommandString(0, type, nullptr, buffer, 64);
        std::string got = buffer;
        if (SUCCEEDED(r) && (type & GCS_UNICODE)) {
            char narrow[256] = {};
            WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<wchar_t*>(buffer), -1, narrow, sizeof narrow, nullptr, nullptr);
            got = narrow;
        }
        std::printf("commandstring%u=0x%08lX %s\n", type, static_cast<unsigned long>(r), got.c_str());
    }
    Say("commandstring-offset1", menu->GetCommandString(1, GCS_HELPTEXTA, nullptr, text, 64));

    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof info;
    info.lpVerb = "open";
    info.nShow = SW_SHOWNORMAL;
    Say("invoke-open", menu->InvokeCommand(&info));

    IDispatch* dispatch = nullptr;
    if (SUCCEEDED(init->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)))) {
        UINT count = 0;
        dispatch->GetTypeInfoCount(&count);
        ITypeInfo* typeInfo = nullptr;
        HRESULT t = dispatch->GetTypeInfo(0, 0, &typeInfo);
        std::printf("typeinfo-count=%u\n", count);
        Say("typeinfo", t);
        if (typeInfo) typeInfo->Release();
        dispatch->Release();
    }

    if (invoke) {
        // From a window of its own, as Explorer does.
        HWND explorer = CreateWindowExA(0, "STATIC", "Explorer stand-in", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 300,
                                        200, nullptr, nullptr, nullptr, nullptr);
        std::printf("explorer=%lld\n", static_cast<long long>(reinterpret_cast<INT_PTR>(explorer)));
        BePerMonitorAware();
        info.hwnd = explorer;
        info.lpVerb = MAKEINTRESOURCEA(0);
        SecondInvoke second{menu};
        HANDLE thread = twice ? CreateThread(nullptr, 0, InvokeFromSecondWindow, &second, 0, nullptr) : nullptr;
        std::printf("invoking\n");
        Say("invoke-0", menu->InvokeCommand(&info));
        std::printf("dpi-after=%d\n", ThreadDpiAwareness());
        if (thread) {
            WaitForSingleObject(thread, 30000);
            CloseHandle(thread);
        }
        DestroyWindow(explorer);
    }
    using CanUnload = HRESULT(WINAPI*)();
    auto canUnload = reinterpret_cast<CanUnload>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("TavrolinexExt.dll"), "DllCanUnloadNow")));
    if (canUnload) Say("can-unload-while-held", canUnload());
    menu->Release();
    init->Release();
    if (canUnload) Say("can-unload", canUnload());
    DestroyMenu(popup);
    CoUninitialize();
    std::printf("done\n");
    return 0;
}
