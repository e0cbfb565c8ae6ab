// Acts as Explorer does with a context-menu handler: creates the extension
// by its CLSID, hands it a data object holding the files in CF_HDROP, builds
// its menu, asks for command strings and invokes it. Prints what it saw.
//   tvxshellhost [--invoke] FILE...
// A FILE written "hex:" and hexadecimal digits stands for those bytes, so
// that a test can hand over an ANSI (GBK) path exactly.
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
        size_t size = sizeof(DROPFILES) + 1;
        for (const auto& file : files_) size += file.size() + 1;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
        auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = FALSE;
        char* p = reinterpret_cast<char*>(drop + 1);
        for (const auto& file : files_) { std::memcpy(p, file.c_str(), file.size() + 1); p += file.size() + 1; }
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

}  // namespace

int main(int argc, char** argv) {
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    bool invoke = false;
    std::vector<std::string> files;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--invoke") {
            invoke = true;
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
        info.lpVerb = MAKEINTRESOURCEA(0);
        std::printf("invoking\n");
        Say("invoke-0", menu->InvokeCommand(&info));
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
