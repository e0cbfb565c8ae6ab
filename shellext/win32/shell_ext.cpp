// The in-process COM server TavrolinexExt.dll: a class factory and the
// context-menu handler "WinShellExt" for every file. Choosing "Add To
// Tavrolinex" opens the add-item dialog for the first selected file; the
// dialog hands the entry to the running program through the mailbox.
#include "data/ansi_text.h"
#include "data/installation.h"
#include "data/win32/profile.h"
#include "data/win32/wide_path.h"
#include "services/short_name.h"
#include "additem/win32/add_item_dialog.h"
#include "shellext/win32/registration.h"
#include "resources/add_item_ids.h"
#include "ui/skin/win32/message_box.h"
#include "ui/skin/win32/resource_module.h"

#include <objbase.h>
#include <oleauto.h>
#include <shlobj.h>
#include <shellapi.h>

#include <cstring>
#include <new>

namespace {

const CLSID kClsidWinShellExt = {0x9B55AFD3, 0xA2C6, 0x41B8, {0x93, 0xBF, 0x93, 0x7E, 0x4E, 0x5F, 0xF0, 0x1B}};
const IID kIidWinShellExt = {0x06AA6A7A, 0x1425, 0x4C8F, {0xB2, 0x8A, 0xCC, 0x2D, 0x7D, 0xEF, 0x97, 0xA5}};
const GUID kLibid = {0xB387C6A0, 0xE4C8, 0x4506, {0x87, 0xE1, 0x62, 0xFC, 0x74, 0xD8, 0x74, 0x8B}};
constexpr const char* kMenuText = "Add To Tavrolinex";

HINSTANCE g_module = nullptr;
LONG g_locks = 0;
// One add-item dialog at a time in the process: Explorer calls the extension
// from the thread of each of its windows, and the dialog's resource module,
// settings file and message texts are the process's.
LONG g_openDialogs = 0;

void Lock() { InterlockedIncrement(&g_locks); }
void Unlock() { InterlockedDecrement(&g_locks); }

// No C++ exception may reach Explorer: every entry point answers with an error instead.
template <typename Work>
HRESULT Guarded(Work&& work) noexcept {
    try {
        return work();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

// While the dialog is shown its thread is unaware of the monitors' scale:
// the dialog is drawn in fixed pixels, and Windows then scales it whole
// instead of cutting its texts (Windows 10 1607 and later; looked up).
class UnawareOfDpi {
public:
    UnawareOfDpi() {
        HMODULE user32 = GetModuleHandleA("user32.dll");
        set_ = reinterpret_cast<SetContext>(
            reinterpret_cast<void*>(user32 ? GetProcAddress(user32, "SetThreadDpiAwarenessContext") : nullptr));
        if (set_) previous_ = set_(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1)));  // DPI_AWARENESS_CONTEXT_UNAWARE
    }
    ~UnawareOfDpi() {
        if (set_ && previous_) set_(previous_);
    }
    UnawareOfDpi(const UnawareOfDpi&) = delete;
    UnawareOfDpi& operator=(const UnawareOfDpi&) = delete;

private:
    using SetContext = HANDLE(WINAPI*)(HANDLE);
    SetContext set_ = nullptr;
    HANDLE previous_ = nullptr;
};

// The add-item dialog this process shows, if any.
BOOL CALLBACK FindOwnDialog(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(window) && GetDlgItem(window, IDC_ADD_TREE_EXT)) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// The path written into the registry: in the ANSI code page, by its short
// form when the code page cannot write the folder's name; empty when
// neither works.
std::string ModulePath() {
    const tvx::FiledPath filed = tvx::win::FilePathFrom(tvx::win::ModulePathWide(g_module));
    return filed.usable ? filed.path : std::string();
}

// IWinShellExt has no methods of its own; its IDispatch is served from the
// type library in this module's resources.
struct IWinShellExt : public IDispatch {};

class WinShellExt final : public IWinShellExt, public IShellExtInit, public IContextMenu {
public:
    explicit WinShellExt(IUnknown* outer) : outer_(outer ? outer : &inner_) { Lock(); }
    ~WinShellExt() { Unlock(); }
    WinShellExt(const WinShellExt&) = delete;
    WinShellExt& operator=(const WinShellExt&) = delete;

    IUnknown* Inner() { return &inner_; }

    // IUnknown: delegate to the controlling unknown (itself unless aggregated).
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override { return outer_->QueryInterface(riid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return outer_->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return outer_->Release(); }

    // IDispatch
    STDMETHODIMP GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        if (!info) return E_POINTER;
        *info = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        HRESULT hr = LoadTypeInfo();
        if (FAILED(hr)) return hr;
        typeInfo_->AddRef();
        *info = typeInfo_.get();
        return S_OK;
    }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        HRESULT hr = LoadTypeInfo();
        return FAILED(hr) ? hr : DispGetIDsOfNames(typeInfo_.get(), names, count, ids);
    }
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                        UINT* argErr) override {
        HRESULT hr = LoadTypeInfo();
        return FAILED(hr) ? hr
                          : DispInvoke(static_cast<IWinShellExt*>(this), typeInfo_.get(), id, flags, params, result,
                                       excep, argErr);
    }

    // IShellExtInit: the first file of the selection.
    STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE, IDataObject* data, HKEY) override {
        return Guarded([&] { return TakeSelection(data); });
    }
    HRESULT TakeSelection(IDataObject* data) {
        if (!data) return E_INVALIDARG;
        FORMATETC format = {CF_HDROP, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        STGMEDIUM medium = {};
        if (FAILED(data->GetData(&format, &medium))) return E_INVALIDARG;
        HRESULT hr = E_INVALIDARG;
        if (HDROP drop = static_cast<HDROP>(GlobalLock(medium.hGlobal))) {
            if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
                const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
                selectedFile_.assign(length + 1, L'\0');
                selectedFile_.resize(DragQueryFileW(drop, 0, &selectedFile_[0], length + 1));
                if (!selectedFile_.empty()) hr = S_OK;
            }
            GlobalUnlock(medium.hGlobal);
        }
        ReleaseStgMedium(&medium);
        return hr;
    }

    // IContextMenu. Asked for the default command only (a double click), or
    // with no command id left to use, it adds nothing.
    STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT lastId, UINT flags) override {
        return Guarded([&] {
            if ((flags & CMF_DEFAULTONLY) || firstId > lastId) return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 0);
            if (!InsertMenuA(menu, index, MF_BYPOSITION | MF_STRING, firstId, kMenuText))
                return HRESULT_FROM_WIN32(GetLastError());
            return MAKE_HRESULT(SEVERITY_SUCCESS, 0, 1);
        });
    }
    STDMETHODIMP GetCommandString(UINT_PTR offset, UINT type, UINT*, LPSTR buffer, UINT size) override {
        return Guarded([&] { return CommandString(offset, type, buffer, size); });
    }
    HRESULT CommandString(UINT_PTR offset, UINT type, LPSTR buffer, UINT size) {
        if (offset != 0 || !(type & GCS_HELPTEXTA) || !buffer || size == 0) return E_INVALIDARG;
        if (type & GCS_UNICODE) {
            wchar_t* wide = reinterpret_cast<wchar_t*>(buffer);
            int n = MultiByteToWideChar(CP_ACP, 0, kMenuText, -1, wide, static_cast<int>(size));
            if (n == 0) wide[size - 1] = L'\0';
        } else {
            lstrcpynA(buffer, kMenuText, static_cast<int>(size));
        }
        return S_OK;
    }
    STDMETHODIMP InvokeCommand(LPCMINVOKECOMMANDINFO info) override {
        return Guarded([&] {
            if (!info || reinterpret_cast<UINT_PTR>(info->lpVerb) != 0) return E_INVALIDARG;  // numeric verb 0 only
            return ShowAddItemDialog(info->hwnd);
        });
    }

private:
    class NonDelegatingUnknown final : public IUnknown {
    public:
        explicit NonDelegatingUnknown(WinShellExt* self) : self_(self) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
            if (!out) return E_POINTER;
            *out = nullptr;
            if (riid == IID_IUnknown) *out = static_cast<IUnknown*>(this);
            else if (riid == kIidWinShellExt || riid == IID_IDispatch) *out = static_cast<IWinShellExt*>(self_);
            else if (riid == IID_IShellExtInit) *out = static_cast<IShellExtInit*>(self_);
            else if (riid == IID_IContextMenu) *out = static_cast<IContextMenu*>(self_);
            else return E_NOINTERFACE;
            static_cast<IUnknown*>(*out)->AddRef();
            return S_OK;
        }
        STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
        STDMETHODIMP_(ULONG) Release() override {
            LONG left = InterlockedDecrement(&refs_);
            if (left == 0) delete self_;
            return static_cast<ULONG>(left);
        }

    private:
        WinShellExt* self_;
        LONG refs_ = 1;
    };

    HRESULT LoadTypeInfo() {
        if (typeInfo_) return S_OK;
        const std::wstring path = tvx::win::ModulePathWide(g_module);
        tvx::win::ComPtr<ITypeLib> lib;
        HRESULT hr = LoadTypeLibEx(path.c_str(), REGKIND_NONE, lib.put());
        if (FAILED(hr)) return hr;
        return lib->GetTypeInfoOfGuid(kIidWinShellExt, typeInfo_.put());
    }

    // Owned by Explorer's window, which stays disabled while it is shown.
    HRESULT ShowAddItemDialog(HWND explorer) {
        using namespace tvx::win;
        if (InterlockedCompareExchange(&g_openDialogs, 1, 0) != 0) {
            // Another window of Explorer shows the dialog already: that one comes forward.
            HWND open = nullptr;
            EnumWindows(FindOwnDialog, reinterpret_cast<LPARAM>(&open));
            if (open) SetForegroundWindow(open);
            return S_OK;
        }
        struct Closed {
            ~Closed() { InterlockedExchange(&g_openDialogs, 0); }
        } closed;
        FailAllocationIfAsked("invoke");
        if (RefuseFolderOutsideCodePage(g_module)) return S_OK;
        UnawareOfDpi unaware;
        HINSTANCE previous = ResourceModule();
        struct Restored {
            HINSTANCE module;
            ~Restored() { tvx::win::SetResourceModule(module); }
        } restored{previous};
        SetResourceModule(g_module);
        const tvx::Installation installation(ModuleFolder(g_module));
        SetSettingsFile(installation.SettingsFile());
        {
            GdiplusSession gdiplus;
            // A name the code page cannot write is filed by its short form;
            // without one it is refused rather than filed with "?" in it.
            const tvx::FiledPath file = FilePathFrom(selectedFile_);
            if (!file.usable) {
                ShowMessage(nullptr, NameOutsideCodePageText({file.shown}), MB_OK);
            } else {
                // By characters: a GBK character may end in the byte of "\\".
                const std::string title = tvx::FileTitleOf(file.shown);
                AddItemDialog dialog(installation, ExtensionVariant());
                dialog.name = title;
                dialog.description = title;
                dialog.shortName = tvx::MakeShortName(title);
                dialog.exePath = file.path;
                dialog.RunModal(explorer && IsWindow(explorer) ? explorer : nullptr);
                if (FAILED(dialog.Failure())) return dialog.Failure();
            }
        }  // the dialog's images are gone before GDI+ shuts down
        return S_OK;
    }

    NonDelegatingUnknown inner_{this};
    IUnknown* outer_;
    tvx::win::ComPtr<ITypeInfo> typeInfo_;
    std::wstring selectedFile_;  // as Explorer has it
};

class ClassFactory final : public IClassFactory {
public:
    ClassFactory() { InitializeCriticalSection(&guard_); }
    ~ClassFactory() { DeleteCriticalSection(&guard_); }

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // The module holds one reference; while anyone else holds the factory it
    // counts as one lock of the module.
    STDMETHODIMP_(ULONG) AddRef() override {
        EnterCriticalSection(&guard_);
        ULONG refs = ++refs_;
        if (refs == 2) Lock();
        LeaveCriticalSection(&guard_);
        return refs;
    }
    STDMETHODIMP_(ULONG) Release() override {
        EnterCriticalSection(&guard_);
        if (refs_ > 1 && --refs_ == 1) Unlock();  // the module's own reference is never given up
        ULONG refs = refs_;
        LeaveCriticalSection(&guard_);
        return refs;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        return Guarded([&] { return Create(outer, riid, out); });
    }
    HRESULT Create(IUnknown* outer, REFIID riid, void** out) {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer && riid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
        WinShellExt* object = new (std::nothrow) WinShellExt(outer);
        if (!object) return E_OUTOFMEMORY;
        IUnknown* inner = object->Inner();
        HRESULT hr = inner->QueryInterface(riid, out);
        inner->Release();  // the creation reference; the caller's reference keeps it alive
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock) Lock();
        else Unlock();
        return S_OK;
    }

private:
    CRITICAL_SECTION guard_;
    ULONG refs_ = 1;
};

}  // namespace

// Per-user type library registration (oleaut32, Windows Vista and later);
// the mingw headers do not declare it.
extern "C" HRESULT WINAPI RegisterTypeLibForUser(ITypeLib* lib, OLECHAR* path, OLECHAR* helpDir);
extern "C" HRESULT WINAPI UnRegisterTypeLibForUser(REFGUID libid, WORD major, WORD minor, LCID lcid, SYSKIND kind);


namespace {

HRESULT RegisterServer() {
    const std::string path = ModulePath();
    if (path.empty()) return HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION);  // no name the keys could hold
    tvx::ext::KeysWritten written = tvx::ext::KeysWritten::None;
    HRESULT hr = tvx::ext::RegisterKeys(path, &written);
    if (FAILED(hr)) return hr;
    std::wstring wide = tvx::win::ModulePathWide(g_module);
    tvx::win::ComPtr<ITypeLib> lib;
    hr = LoadTypeLibEx(wide.c_str(), REGKIND_NONE, lib.put());
    // The type library goes where the class keys went.
    if (SUCCEEDED(hr))
        hr = written == tvx::ext::KeysWritten::UserClasses ? RegisterTypeLibForUser(lib.get(), &wide[0], nullptr)
                                                           : RegisterTypeLib(lib.get(), &wide[0], nullptr);
    return hr;
}

HRESULT UnregisterServer() {
    HRESULT hr = tvx::ext::UnregisterKeys();
    const SYSKIND kind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
    UnRegisterTypeLib(kLibid, 1, 0, LOCALE_NEUTRAL, kind);
    UnRegisterTypeLibForUser(kLibid, 1, 0, LOCALE_NEUTRAL, kind);
    return hr;
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

STDAPI DllCanUnloadNow() { return (g_locks == 0 && g_openDialogs == 0) ? S_OK : S_FALSE; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* out) {
    return Guarded([&] {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (clsid != kClsidWinShellExt) return CLASS_E_CLASSNOTAVAILABLE;
        // Made once, by whichever of Explorer's threads asks first; it lives as long as the module.
        static ClassFactory factory;
        return factory.QueryInterface(riid, out);
    });
}

STDAPI DllRegisterServer() {
    return Guarded([] { return RegisterServer(); });
}

STDAPI DllUnregisterServer() {
    return Guarded([] { return UnregisterServer(); });
}

}  // extern "C"

