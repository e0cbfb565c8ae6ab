// Small owners for Windows handles so that every handle is released on every path.
#pragma once
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commctrl.h>

#include <utility>

namespace tvx::win {

// Releasing a handle its owner holds fails only when the handle is no longer
// (or never was) one: freed twice, taken by a window that destroyed it, or
// selected into a DC still. Windows may crash later on such a handle; the
// owner says so in the debug output, where a debugger or the test bench sees it.
inline void ReportReleaseFailure(const char* what) {
    char text[160] = "Tavrolinex: releasing a handle it owns failed: ";
    lstrcatA(text, what);
    lstrcatA(text, "\n");
    OutputDebugStringA(text);
}

template <typename H, typename Traits>
class UniqueResource {
public:
    UniqueResource() = default;
    explicit UniqueResource(H h) : h_(h) {}
    ~UniqueResource() { reset(); }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& o) noexcept : h_(o.release()) {}
    UniqueResource& operator=(UniqueResource&& o) noexcept {
        if (this != &o) reset(o.release());
        return *this;
    }
    H get() const { return h_; }
    explicit operator bool() const { return Traits::Valid(h_); }
    H release() { return std::exchange(h_, Traits::Invalid()); }
    void reset(H h = Traits::Invalid()) {
        if (Traits::Valid(h_) && !Traits::Close(h_)) ReportReleaseFailure(Traits::Name());
        h_ = h;
    }

private:
    H h_ = Traits::Invalid();
};

struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Close(HANDLE h) { return CloseHandle(h) != FALSE; }
    static const char* Name() { return "CloseHandle"; }
};
struct ModuleTraits {
    static HMODULE Invalid() { return nullptr; }
    static bool Valid(HMODULE h) { return h != nullptr; }
    static bool Close(HMODULE h) { return FreeLibrary(h) != FALSE; }
    static const char* Name() { return "FreeLibrary"; }
};
template <typename T>
struct GdiObjectTraits {
    static T Invalid() { return nullptr; }
    static bool Valid(T h) { return h != nullptr; }
    static bool Close(T h) { return DeleteObject(h) != FALSE; }
    static const char* Name() { return "DeleteObject"; }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static bool Valid(HICON h) { return h != nullptr; }
    static bool Close(HICON h) { return DestroyIcon(h) != FALSE; }
    static const char* Name() { return "DestroyIcon"; }
};

struct ImageListTraits {
    static HIMAGELIST Invalid() { return nullptr; }
    static bool Valid(HIMAGELIST h) { return h != nullptr; }
    static bool Close(HIMAGELIST h) { return ImageList_Destroy(h) != FALSE; }
    static const char* Name() { return "ImageList_Destroy"; }
};
struct RegKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static bool Valid(HKEY h) { return h != nullptr; }
    static bool Close(HKEY h) { return RegCloseKey(h) == ERROR_SUCCESS; }
    static const char* Name() { return "RegCloseKey"; }
};
struct FindTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static bool Close(HANDLE h) { return FindClose(h) != FALSE; }
    static const char* Name() { return "FindClose"; }
};

using UniqueHandle = UniqueResource<HANDLE, KernelHandleTraits>;
using UniqueFind = UniqueResource<HANDLE, FindTraits>;  // FindFirstFile's search
using UniqueImageList = UniqueResource<HIMAGELIST, ImageListTraits>;
using UniqueRegKey = UniqueResource<HKEY, RegKeyTraits>;
using UniqueModule = UniqueResource<HMODULE, ModuleTraits>;
using UniqueIcon = UniqueResource<HICON, IconTraits>;
template <typename T>
using UniqueGdi = UniqueResource<T, GdiObjectTraits<T>>;

// A window's drawing stopped while many rows or nodes change, and the whole
// window drawn again when the owner ends.
class FrozenRedraw {
public:
    explicit FrozenRedraw(HWND window) : window_(window) { SendMessageA(window_, WM_SETREDRAW, FALSE, 0); }
    ~FrozenRedraw() {
        SendMessageA(window_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(window_, nullptr, TRUE);
    }
    FrozenRedraw(const FrozenRedraw&) = delete;
    FrozenRedraw& operator=(const FrozenRedraw&) = delete;

private:
    HWND window_;
};

// BeginPaint and EndPaint. Guards declared after it (fonts, pens selected
// into its DC) are undone before the painting ends.
class PaintDC {
public:
    explicit PaintDC(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
    ~PaintDC() { EndPaint(window_, &ps_); }
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    HDC get() const { return dc_; }
    const PAINTSTRUCT& info() const { return ps_; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// A window's client DC (GetDC) or whole-window DC (GetWindowDC), released at the end.
class WindowDC {
public:
    enum Area { Client, Whole };
    explicit WindowDC(HWND window, Area area = Client)
        : window_(window), dc_(area == Client ? GetDC(window) : GetWindowDC(window)) {}
    ~WindowDC() {
        if (dc_ && !ReleaseDC(window_, dc_)) ReportReleaseFailure("ReleaseDC");
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A memory DC (CreateCompatibleDC), deleted at the end.
class MemoryDC {
public:
    explicit MemoryDC(HDC like) : dc_(CreateCompatibleDC(like)) {}
    ~MemoryDC() {
        if (dc_ && !DeleteDC(dc_)) ReportReleaseFailure("DeleteDC");
    }
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

// Holds one reference of a COM interface.
template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For functions that hand out a new reference.
    T** put() {
        reset();
        return &p_;
    }
    void reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }

private:
    T* p_ = nullptr;
};

// Selects a GDI object into a device context for the lifetime of the guard.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectGuard() { SelectObject(dc_, old_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace tvx::win
