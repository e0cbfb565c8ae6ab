// tvxdrive's commands on the system around the program: a window of its
// own, the clipboard, the tray, shell links, the URL history, a file held locked.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>
#include <urlhist.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "tvxdrive.h"

namespace tvxdrive {

namespace {
// The window of "another program": says which keys reached it, so that a
// suite can tell that keys sent before them were handled by the system.
LRESULT CALLBACK OtherProgramProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_KEYDOWN) {
        std::printf("key=%u\n", static_cast<unsigned>(wp));
        std::fflush(stdout);
    }
    return DefWindowProcA(w, msg, wp, lp);
}

BOOL CALLBACK PrintShownWindow(HWND w, LPARAM) {
    if (!IsWindowVisible(w)) return TRUE;
    char cls[64] = {}, caption[128] = {};
    GetClassNameA(w, cls, sizeof cls);
    GetWindowTextA(w, caption, sizeof caption);
    std::printf("%p\t%p\t%s\t%s\n", static_cast<void*>(w), static_cast<void*>(GetWindow(w, GW_OWNER)), cls, caption);
    return TRUE;
}
}  // namespace

int DriveSystem(const std::string& cmd, int argc, char** argv) {
    auto arg = [&](int i) -> const char* { return i < argc ? argv[i] : "0"; };
    if (cmd == "windows") {
        EnumWindows(PrintShownWindow, 0);
        return 0;
    }
    if (cmd == "set-clipboard") {
        const std::string text = arg(2);
        if (!OpenClipboard(nullptr)) return 1;
        EmptyClipboard();
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        std::memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
        GlobalUnlock(block);
        SetClipboardData(CF_TEXT, block);
        CloseClipboard();
        return 0;
    }
    if (cmd == "get-clipboard") {
        std::string text;
        if (OpenClipboard(nullptr)) {
            if (HANDLE data = GetClipboardData(CF_TEXT)) {
                if (const char* p = static_cast<const char*>(GlobalLock(data))) {
                    text.assign(p, strnlen(p, GlobalSize(data)));
                    GlobalUnlock(data);
                }
            }
            CloseClipboard();
        }
        std::printf("text=%s\n", text.c_str());
        return 0;
    }
    if (cmd == "tray") {
        // Modifying an icon succeeds only when it exists.
        NOTIFYICONDATAA data = {};
        data.cbSize = NOTIFYICONDATAA_V1_SIZE;
        data.hWnd = ParseHwnd(arg(2));
        data.uID = static_cast<UINT>(std::atoi(arg(3)));
        std::printf("tray=%d\n", Shell_NotifyIconA(NIM_MODIFY, &data) ? 1 : 0);
        return 0;
    }
    if (cmd == "tray-remove") {
        // What a taskbar that ends (Explorer restarting) does to an icon: it is gone.
        NOTIFYICONDATAA data = {};
        data.cbSize = NOTIFYICONDATAA_V1_SIZE;
        data.hWnd = ParseHwnd(arg(2));
        data.uID = static_cast<UINT>(std::atoi(arg(3)));
        return Shell_NotifyIconA(NIM_DELETE, &data) ? 0 : 1;
    }
    if (cmd == "taskbar-created") {
        // What a taskbar that starts again sends every top-level window.
        return PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0) ? 0 : 1;
    }
    if (cmd == "hold-hotkey") {
        // MODIFIERS KEY MS [RELEASE-FILE]: holds a global hot key as another program would.
        const UINT modifiers = static_cast<UINT>(std::strtoul(arg(2), nullptr, 0));
        const UINT key = static_cast<UINT>(std::strtoul(arg(3), nullptr, 0));
        if (!RegisterHotKey(nullptr, 1, modifiers, key)) { std::printf("not-held\n"); return 1; }
        std::printf("held\n");
        std::fflush(stdout);
        const DWORD start = GetTickCount(), limit = static_cast<DWORD>(std::atoi(arg(4)));
        while (GetTickCount() - start < limit && !(argc > 5 && GetFileAttributesA(argv[5]) != INVALID_FILE_ATTRIBUTES)) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {}
            Sleep(50);
        }
        UnregisterHotKey(nullptr, 1);
        return 0;
    }
    if (cmd == "move") {
        // HWND X Y: puts a window there, wherever that is (off every monitor too).
        return SetWindowPos(ParseHwnd(arg(2)), nullptr, std::atoi(arg(3)), std::atoi(arg(4)), 0, 0,
                            SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) ? 0 : 1;
    }
    if (cmd == "window") {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = OtherProgramProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = "TvxDriveWindow";
        RegisterClassA(&wc);
        HWND w = CreateWindowExA(0, wc.lpszClassName, arg(2), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 300, 200,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        SetForegroundWindow(w);
        SetActiveWindow(w);
        std::printf("hwnd=%lld\n", static_cast<long long>(reinterpret_cast<INT_PTR>(w)));
        std::fflush(stdout);
        const DWORD until = GetTickCount() + static_cast<DWORD>(std::atoi(arg(3)));
        while (GetTickCount() < until) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            Sleep(10);
        }
        return 0;
    }
    if (cmd == "link-target") {
        CoInitialize(nullptr);
        IShellLinkA* link = nullptr;
        IPersistFile* file = nullptr;
        char target[MAX_PATH] = {};
        HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                      reinterpret_cast<void**>(&link));
        if (SUCCEEDED(hr)) hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        if (SUCCEEDED(hr)) {
            wchar_t wide[MAX_PATH] = {};
            MultiByteToWideChar(CP_ACP, 0, arg(2), -1, wide, MAX_PATH);
            hr = file->Load(wide, STGM_READ);
        }
        if (SUCCEEDED(hr)) hr = link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
        if (file) file->Release();
        if (link) link->Release();
        CoUninitialize();
        std::printf("hr=0x%08lX\ntarget=%s\n", static_cast<unsigned long>(hr), target);
        return SUCCEEDED(hr) ? 0 : 1;
    }
    if (cmd == "make-link") {
        // Wide arguments: a link or a target may be named outside the code page.
        int wargc = 0;
        LPWSTR* wargv = CommandLineToArgvW(GetCommandLineW(), &wargc);
        if (!wargv || wargc < 4) return 2;
        CoInitialize(nullptr);
        IShellLinkW* link = nullptr;
        IPersistFile* file = nullptr;
        HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                      reinterpret_cast<void**>(&link));
        if (SUCCEEDED(hr)) {
            link->SetPath(wargv[3]);
            if (wargc > 4) link->SetArguments(wargv[4]);
            link->SetDescription(L"made by tvxdrive");
            hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
        }
        if (SUCCEEDED(hr)) hr = file->Save(wargv[2], TRUE);
        if (file) file->Release();
        if (link) link->Release();
        CoUninitialize();
        LocalFree(wargv);
        std::printf("hr=0x%08lX\n", static_cast<unsigned long>(hr));
        return SUCCEEDED(hr) ? 0 : 1;
    }
    if (cmd == "add-url") {
        CoInitialize(nullptr);
        const CLSID clsid = {0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
        const IID iid = {0x3C374A41, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};  // IUrlHistoryStg
        IUrlHistoryStg* history = nullptr;
        HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, iid, reinterpret_cast<void**>(&history));
        if (SUCCEEDED(hr)) {
            wchar_t wide[2048] = {};
            MultiByteToWideChar(CP_ACP, 0, arg(2), -1, wide, 2048);
            hr = history->AddUrl(wide, L"", 0);
            history->Release();
        }
        CoUninitialize();
        std::printf("hr=0x%08lX\n", static_cast<unsigned long>(hr));
        return SUCCEEDED(hr) ? 0 : 1;
    }
    if (cmd == "lock") {
        HANDLE file = CreateFileA(arg(2), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) { std::printf("not-locked\n"); return 1; }
        std::printf("locked\n");
        std::fflush(stdout);
        // Held for at most MS, or until the release file (when given) appears.
        const DWORD start = GetTickCount(), limit = static_cast<DWORD>(std::atoi(arg(3)));
        while (GetTickCount() - start < limit) {
            if (argc > 4 && GetFileAttributesA(argv[4]) != INVALID_FILE_ATTRIBUTES) break;
            Sleep(argc > 4 ? 50 : limit);
        }
        CloseHandle(file);
        return 0;
    }
    return -1;
}

}  // namespace tvxdrive
