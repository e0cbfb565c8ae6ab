// tvxdrive's commands on scroll bars (the skinned ones and the system's):
// reading them, holding their arrows, dragging thumbs, the wheel, a pixel.
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

namespace {
using namespace tvxdrive;

struct BarSearch { HWND target; bool vertical; HWND found; };

BOOL CALLBACK FindBarProc(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<BarSearch*>(lp);
    if (GetPropA(h, "TvxScrollTarget") != s->target) return TRUE;
    RECT rc;
    GetWindowRect(h, &rc);
    const bool vertical = (rc.bottom - rc.top) > (rc.right - rc.left);
    if (vertical != s->vertical) return TRUE;
    s->found = h;
    return FALSE;
}

// The skinned bar that drives a control: a child of the control's parent
// that names the control in its "TvxScrollTarget" property.
HWND FindBar(HWND control, bool vertical) {
    BarSearch s{control, vertical, nullptr};
    EnumChildWindows(GetParent(control), FindBarProc, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

bool IsTree(HWND h) {
    char cls[64] = {};
    GetClassNameA(h, cls, sizeof cls);
    return std::strcmp(cls, "SysTreeView32") == 0;
}

// The first shown row: a list's top index, or the position of a tree's
// first visible node among its visible nodes.
long FirstShown(HWND control) {
    if (!IsTree(control)) return static_cast<long>(SendMessageA(control, 0x1027 /*LVM_GETTOPINDEX*/, 0, 0));
    const LPARAM first = static_cast<LPARAM>(SendMessageA(control, 0x110A /*TVM_GETNEXTITEM*/, 5 /*TVGN_FIRSTVISIBLE*/, 0));
    LPARAM node = static_cast<LPARAM>(SendMessageA(control, 0x110A, 0 /*TVGN_ROOT*/, 0));
    long index = 0;
    while (node && node != first) {
        node = static_cast<LPARAM>(SendMessageA(control, 0x110A, 6 /*TVGN_NEXTVISIBLE*/, node));
        ++index;
    }
    return node ? index : -1;
}

struct BarInfo {
    HWND hwnd = nullptr;
    RECT rc{};
    int arrow = 0, thumbTop = 0, thumbBottom = 0;
    bool ok = false;
};

bool ThumbColour(COLORREF c) {
    // The thumb image's blue (7, 191, 255), allowing for the smoothing at its edges.
    return std::abs(GetRValue(c) - 7) < 40 && std::abs(GetGValue(c) - 191) < 40 && std::abs(GetBValue(c) - 255) < 40;
}

// Where the bar is and where its thumb is drawn: the thumb is found on the
// screen, by its colour along the bar's middle line.
BarInfo ReadBar(HWND control, bool vertical) {
    BarInfo b;
    b.hwnd = FindBar(control, vertical);
    if (!b.hwnd) return b;
    GetWindowRect(b.hwnd, &b.rc);
    const int length = vertical ? b.rc.bottom - b.rc.top : b.rc.right - b.rc.left;
    const int across = vertical ? b.rc.right - b.rc.left : b.rc.bottom - b.rc.top;
    b.arrow = std::min(across, length / 2);
    HDC screen = GetDC(nullptr);
    int first = -1, last = -1;
    for (int along = b.arrow; along < length - b.arrow; ++along) {
        const int x = vertical ? (b.rc.left + b.rc.right) / 2 : b.rc.left + along;
        const int y = vertical ? b.rc.top + along : (b.rc.top + b.rc.bottom) / 2;
        if (ThumbColour(GetPixel(screen, x, y))) {
            if (first < 0) first = along;
            last = along;
        }
    }
    ReleaseDC(nullptr, screen);
    if (first >= 0) {
        b.thumbTop = first;
        b.thumbBottom = last + 1;
    }
    b.ok = true;
    return b;
}

// A point on the bar, `along` pixels from its start, in screen coordinates.
POINT BarPoint(const BarInfo& b, bool vertical, int along) {
    if (vertical) return POINT{(b.rc.left + b.rc.right) / 2, b.rc.top + along};
    return POINT{b.rc.left + along, (b.rc.top + b.rc.bottom) / 2};
}

int ReportSystemBars(HWND h) {
    int found = 0;
    const LONG style = GetWindowLongA(h, GWL_STYLE);
    const bool shown = IsWindowVisible(h) != FALSE;
    for (LONG idObject : {static_cast<LONG>(OBJID_VSCROLL), static_cast<LONG>(OBJID_HSCROLL)}) {
        SCROLLBARINFO info = {};
        info.cbSize = sizeof info;
        const bool byStyle = (style & (idObject == OBJID_VSCROLL ? WS_VSCROLL : WS_HSCROLL)) != 0;
        const bool byInfo = GetScrollBarInfo(h, idObject, &info) && !(info.rgstate[0] & STATE_SYSTEM_INVISIBLE) &&
                            !(info.rgstate[0] & STATE_SYSTEM_OFFSCREEN);
        if (shown && (byStyle || byInfo)) {
            char cls[64] = {};
            GetClassNameA(h, cls, sizeof cls);
            std::printf("bar\t%d\t%s\t%s\tstyle=%d\tinfo=%d\n", GetDlgCtrlID(h), cls,
                        idObject == OBJID_VSCROLL ? "vertical" : "horizontal", byStyle ? 1 : 0, byInfo ? 1 : 0);
            ++found;
        }
    }
    return found;
}

struct Census { int count; };

BOOL CALLBACK CensusProc(HWND h, LPARAM lp) {
    reinterpret_cast<Census*>(lp)->count += ReportSystemBars(h);
    return TRUE;
}

}  // namespace

namespace tvxdrive {

int DriveBars(const std::string& cmd, int argc, char** argv) {
    auto arg = [&](int i) -> const char* { return i < argc ? argv[i] : "0"; };
    if (cmd == "bar" || cmd == "pos" || cmd == "hold" || cmd == "drag-thumb" || cmd == "wheel" || cmd == "pixel" ||
        cmd == "hover") {
        HWND dlg = ParseHwnd(arg(2));
        HWND control = GetDlgItem(dlg, std::atoi(arg(3)));
        if (!control) { std::printf("no-control\n"); return 1; }
        const bool vertical = std::string(arg(4)) != "h";
        if (cmd == "pos") {
            std::printf("pos=%ld\n", FirstShown(control));
            return 0;
        }
        if (cmd == "pixel" || cmd == "hover") {
            RECT rc;
            GetWindowRect(control, &rc);
            if (cmd == "hover") {
                SetForegroundWindow(dlg);
                MoveTo(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
                Sleep(300);
                return 0;
            }
            HDC screen = GetDC(nullptr);
            const COLORREF c = GetPixel(screen, rc.left + std::atoi(arg(4)), rc.top + std::atoi(arg(5)));
            ReleaseDC(nullptr, screen);
            std::printf("colour=%02X%02X%02X\n", GetRValue(c), GetGValue(c), GetBValue(c));
            return 0;
        }
        if (cmd == "wheel") {
            RECT rc;
            GetWindowRect(control, &rc);
            SetForegroundWindow(dlg);
            MoveTo(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
            Sleep(50);
            INPUT in = {};
            in.type = INPUT_MOUSE;
            in.mi.dwFlags = MOUSEEVENTF_WHEEL;
            in.mi.mouseData = static_cast<DWORD>(std::atoi(arg(4)) * WHEEL_DELTA);
            SendInput(1, &in, sizeof in);
            Sleep(300);
            return 0;
        }
        BarInfo b = ReadBar(control, vertical);
        if (!b.hwnd) { std::printf("no-bar\n"); return 1; }
        const int length = vertical ? b.rc.bottom - b.rc.top : b.rc.right - b.rc.left;
        if (cmd == "bar") {
            std::printf("hwnd=%lld\nvisible=%d\nthumb=%d,%d\nlength=%d\narrow=%d\npos=%ld\n",
                        static_cast<long long>(reinterpret_cast<INT_PTR>(b.hwnd)), IsWindowVisible(b.hwnd) ? 1 : 0,
                        b.thumbTop, b.thumbBottom, length, b.arrow, FirstShown(control));
            return 0;
        }
        SetForegroundWindow(dlg);
        if (cmd == "drag-thumb") {
            if (b.thumbBottom <= b.thumbTop) { std::printf("no-thumb\n"); return 1; }
            const int grab = (b.thumbTop + b.thumbBottom) / 2;
            const int travel = length - 2 * b.arrow - (b.thumbBottom - b.thumbTop);
            const int to = b.arrow + (b.thumbBottom - b.thumbTop) / 2 + travel * std::atoi(arg(5)) / 1000;
            MoveTo(BarPoint(b, vertical, grab));
            Sleep(50);
            MouseButton(MOUSEEVENTF_LEFTDOWN);
            Sleep(100);
            for (int i = 1; i <= 10; ++i) {
                MoveTo(BarPoint(b, vertical, grab + (to - grab) * i / 10));
                Sleep(40);
            }
            Sleep(150);
            MouseButton(MOUSEEVENTF_LEFTUP);
            Sleep(200);
            std::printf("pos=%ld\n", FirstShown(control));
            return 0;
        }
        // hold
        const std::string part = arg(5);
        int along;
        if (part == "first") along = b.arrow / 2;
        else if (part == "second") along = length - b.arrow / 2 - 1;
        else if (part == "before") along = (b.arrow + b.thumbTop) / 2;
        else along = (b.thumbBottom + length - b.arrow) / 2;
        const DWORD holdMs = static_cast<DWORD>(std::atoi(arg(6)));
        MoveTo(BarPoint(b, vertical, along));
        Sleep(100);
        long last = FirstShown(control);
        std::printf("start=%ld\n", last);
        const DWORD t0 = GetTickCount();
        MouseButton(MOUSEEVENTF_LEFTDOWN);
        while (GetTickCount() - t0 < holdMs) {
            const long now = FirstShown(control);
            if (now != last) {
                std::printf("t=%lu pos=%ld\n", static_cast<unsigned long>(GetTickCount() - t0), now);
                last = now;
            }
            Sleep(5);
        }
        std::printf("held=%ld\n", FirstShown(control));
        MouseButton(MOUSEEVENTF_LEFTUP);
        // Released once the position has stayed put for 400 ms (5 s at most).
        long settled = FirstShown(control);
        for (DWORD since = GetTickCount(), begin = since; GetTickCount() - since < 400 && GetTickCount() - begin < 5000;) {
            Sleep(20);
            const long now = FirstShown(control);
            if (now != settled) settled = now, since = GetTickCount();
        }
        std::printf("released=%ld\n", settled);
        return 0;
    }
    if (cmd == "sysbars") {
        HWND top = ParseHwnd(arg(2));
        Census census{ReportSystemBars(top)};
        EnumChildWindows(top, CensusProc, reinterpret_cast<LPARAM>(&census));
        std::printf("count=%d\n", census.count);
        return 0;
    }
    return -1;
}

}  // namespace tvxdrive
