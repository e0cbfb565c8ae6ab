// Drives the program under test from inside Wine the way a person would:
// finds its windows, reads texts, presses buttons, picks combo rows.
// Output is one "key=value" or tab-separated line per fact, UTF-8.
//
//   tvxdrive wait-ctl ID TIMEOUT_MS        visible top-level window with child ID; prints hwnd=
//   tvxdrive wait-text ID TIMEOUT_MS [HWND BUTTON]
//                                          the same, once the child shows a text; prints hwnd= and text=
//                                          (clicking BUTTON of HWND first, from this process)
//   tvxdrive gone-ctl ID TIMEOUT_MS        until no visible window has child ID; prints elapsed=
//   tvxdrive wait-title TITLE TIMEOUT_MS [ID]
//                                          visible top-level window with that caption (and a child
//                                          ID, to tell a message box from a window of the same title)
//   tvxdrive texts HWND                    every child: id, class, text
//   tvxdrive text HWND ID                  text of one child
//   tvxdrive click HWND ID                 posts the button's click to its dialog
//   tvxdrive combo HWND ID                 count=, sel=, then item<TAB>hex bytes of each row
//   tvxdrive combo-select HWND ID INDEX
//   tvxdrive visible HWND                  visible=0|1
//   tvxdrive mail-flood HWND N PREFIX MAILBOX-FILE
//                                          N add-item hand-overs sent to HWND, one after the other
//   tvxdrive post-flood HWND N NAME MAILBOX-FILE
//                                          one hand-over, then message 1044 posted N times
//   tvxdrive sync HWND ID                  until every message posted to HWND's thread so far is
//                                          handled (a marker through box ID); prints synced
//   tvxdrive link-target LNK-PATH          hr=, target= of a shortcut file
//   tvxdrive visible-ctl HWND ID           visible=0|1, enabled=0|1 of the window's control ID
//   tvxdrive center HWND                   x= and y= of the window's middle on the screen
//   tvxdrive send HWND MSG WPARAM LPARAM   SendMessage; prints result=
//   tvxdrive post HWND MSG WPARAM LPARAM
//   tvxdrive click-at HWND ID [right]      a real mouse click in the middle of the control (ID 0: the window)
//   tvxdrive windows                       every visible top-level window: hwnd, owner, class, caption
//                                          (what a suite prints when a window it waited for is missing)
//   tvxdrive press-release HWND ID DX DY   presses in the control, moves by DX,DY, releases there
//   tvxdrive type TEXT                     real key presses for the characters of TEXT
//   tvxdrive key NAME [TIMES]              a real key press: enter, esc, down, up, left, right, tab,
//                                          back, home, end, space
//   tvxdrive focused                       the focused control: id= and top= (its top-level window)
//   tvxdrive list HWND ID                  count=, sel=, visible=, height=, page= (rows shown)
//                                          and top= (first row shown) of a list view
//   tvxdrive tray HWND ID                  tray=1 when window HWND has a notification icon ID
//   tvxdrive tree-select HWND ID [PATH]    selects a tree node: PATH "0/1" is the root's first
//                                          child's second child; no PATH selects the root, "-" none
//   tvxdrive profile-write SECTION KEY VALUE [FILE]
//                                          writes a profile value (WIN.INI without FILE), as another
//                                          program would
//   tvxdrive tree-selected HWND ID         path= of the selected node, as tree-select names it
//   tvxdrive window-info HWND              owner=, enabled=, dpi= (its DPI awareness) of a window
//   tvxdrive tab-walk HWND N               Tab pressed N times: reached<TAB>id<TAB>class of each control the
//                                          focus came to, then missed<TAB>... of those it never reached
//   tvxdrive tray-remove HWND ID           removes a notification icon, as a taskbar that ends does
//   tvxdrive taskbar-created               broadcasts the message of a taskbar that starts again
//   tvxdrive hold-hotkey MODIFIERS KEY MS [RELEASE-FILE]
//                                          holds a global hot key (prints held) as another program would
//   tvxdrive move HWND X Y                 puts a window at X,Y on the screen
//   tvxdrive set-clipboard TEXT            puts TEXT on the clipboard as CF_TEXT
//   tvxdrive get-clipboard                 text=<the clipboard's CF_TEXT>
//   tvxdrive bar HWND ID v|h               the skinned bar of a list or tree: hwnd=, visible=,
//                                          thumb=TOP,BOTTOM (pixels along the bar, 0,0 without
//                                          a thumb), length=, pos= (the control's first shown row)
//   tvxdrive pos HWND ID                   pos= the first shown row of a list or tree
//   tvxdrive hold HWND ID v|h PART MS      holds the left button on a part of the bar (first,
//                                          second, before, after: the track before or after the
//                                          thumb) for MS ms; prints start=, then t=MS pos=N at
//                                          every change while held, then released=
//   tvxdrive drag-thumb HWND ID v|h PERMILLE
//                                          drags the thumb to PERMILLE/1000 of its free travel
//   tvxdrive wheel HWND ID NOTCHES         turns the wheel over the control (negative: towards
//                                          the user, scrolling down)
//   tvxdrive sysbars HWND                  every window of HWND's tree that shows a system
//                                          scroll bar (by style or GetScrollBarInfo); ends with count=
//   tvxdrive pixel HWND ID DX DY           colour=RRGGBB of the screen at the control's left
//                                          top plus DX,DY
//   tvxdrive hover HWND ID                 moves the pointer over the control's middle
//   tvxdrive drop HWND FILE...             posts WM_DROPFILES with the files, as a drop from
//                                          Explorer does
//   tvxdrive tree-point HWND ID PATH       x= and y= on the screen of a tree node's row (PATH as
//                                          for tree-select; the node must be visible)
//   tvxdrive tree-count HWND ID            count= of a tree's nodes, selected=1 when one is selected
//   tvxdrive tree-children HWND ID PATH    count=, then child<TAB>text of each child of a node (PATH as
//                                          for tree-select; "" the root)
//   tvxdrive list-cell HWND ID ROW COLUMN  x= and y= on the screen of a list cell's middle
//   tvxdrive header-point HWND ID COLUMN   x= and y= of a column heading of a list
//   tvxdrive click-screen X Y [right]      a real click at a screen point
//   tvxdrive drag X1 Y1 X2 Y2 [right]      presses at one point, moves in steps, releases at the other
//   tvxdrive window TITLE MS               shows a window of another program, active, for MS ms
//   tvxdrive make-link LINK TARGET [ARGS]  writes a shell link (.lnk) through IShellLink
//   tvxdrive add-url URL                   adds an address to the system's URL history
//   tvxdrive lock FILE MS                  holds the file open without sharing for MS ms, as
//                                          another program might
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

#include "key_input.h"
#include "tvxdrive.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

// WM_GETTEXT itself: GetWindowText of another process's window returns only
// the caption the system keeps, not what an edit box holds now.
std::string Utf8Text(HWND h) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length);
    std::wstring w(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(h, WM_GETTEXT, w.size(), reinterpret_cast<LPARAM>(&w[0]), SMTO_ABORTIFHUNG, 2000, &got);
    int n = static_cast<int>(got);
    w.resize(static_cast<size_t>(n > 0 ? n : 0));
    int bytes = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.c_str(), static_cast<int>(w.size()), &out[0], bytes, nullptr, nullptr);
    for (char& c : out) if (c == '\r' || c == '\n' || c == '\t') c = ' ';
    return out;
}


struct Search { int id; std::string title; HWND found; };

BOOL CALLBACK FindWindowProc(HWND h, LPARAM lp) {
    Search* s = reinterpret_cast<Search*>(lp);
    if (!IsWindowVisible(h)) return TRUE;
    const bool titleOk = s->title.empty() || Utf8Text(h) == s->title;
    const bool childOk = s->id < 0 || GetDlgItem(h, s->id) != nullptr;
    if (titleOk && childOk) {
        s->found = h;
        return FALSE;
    }
    return TRUE;
}

HWND FindTop(int id, const std::string& title) {
    Search s{id, title, nullptr};
    EnumWindows(FindWindowProc, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

int Wait(int id, const std::string& title, DWORD timeout, bool untilGone) {
    DWORD start = GetTickCount();
    while (true) {
        HWND h = FindTop(id, title);
        if (!untilGone && h) {
            std::printf("hwnd=%lld\n", static_cast<long long>(reinterpret_cast<INT_PTR>(h)));
            return 0;
        }
        if (untilGone && !h) {
            std::printf("elapsed=%lu\n", static_cast<unsigned long>(GetTickCount() - start));
            return 0;
        }
        if (GetTickCount() - start > timeout) {
            std::printf("timeout\n");
            return 1;
        }
        Sleep(untilGone ? 50 : 5);
    }
}

// The controls of a window that can take the focus and that Tab never reached.
struct TabWalk {
    HWND top;
    const std::set<HWND>* reached;
};
BOOL CALLBACK PrintMissedByTab(HWND h, LPARAM p) {
    const TabWalk& w = *reinterpret_cast<const TabWalk*>(p);
    if (GetParent(h) != w.top || !IsWindowVisible(h) || !IsWindowEnabled(h)) return TRUE;
    char cls[64] = {};
    GetClassNameA(h, cls, sizeof cls);
    const std::string c = cls;
    const bool focusable = c == "Button" || c == "Edit" || c == "ComboBox" || c == "SysListView32" || c == "SysTreeView32";
    // The other buttons of a radio group are reached with the arrow keys, not Tab.
    const LONG_PTR type = GetWindowLongPtrA(h, GWL_STYLE) & BS_TYPEMASK;
    const bool otherRadio = c == "Button" && (type == BS_AUTORADIOBUTTON || type == BS_RADIOBUTTON) &&
                            SendMessageA(h, BM_GETCHECK, 0, 0) != BST_CHECKED;
    if (focusable && !otherRadio && !w.reached->count(h)) std::printf("missed\t%d\t%s\n", GetDlgCtrlID(h), cls);
    return TRUE;
}

BOOL CALLBACK PrintChild(HWND h, LPARAM) {
    char cls[128] = {};
    GetClassNameA(h, cls, sizeof cls);
    std::printf("%d\t%s\t%d\t%s\n", GetDlgCtrlID(h), cls, IsWindowVisible(h) ? 1 : 0, Utf8Text(h).c_str());
    return TRUE;
}

void SendKey(WORD vk, bool shift) {
    if (shift) SendKeys({VK_SHIFT}, vk);
    else SendKeys({}, vk);
    Sleep(30);
}

int ClickAt(HWND dlg, int id, bool right) {
    HWND target = id ? GetDlgItem(dlg, id) : dlg;
    if (!target) { std::printf("no-control\n"); return 1; }
    RECT rc;
    GetWindowRect(target, &rc);
    if (!id) rc.bottom = rc.top + 12;  // the window itself: a spot near its top edge
    SetForegroundWindow(dlg);
    // Pointer first, then the press and the release apart, as a hand does: a
    // press that came with the move or its release in one batch was now and
    // then lost under load.
    tvxdrive::MoveTo(POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2});
    Sleep(80);
    tvxdrive::MouseButton(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
    Sleep(60);
    tvxdrive::MouseButton(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
    Sleep(100);
    return 0;
}

}  // namespace

namespace tvxdrive {

HWND ParseHwnd(const char* s) { return reinterpret_cast<HWND>(static_cast<INT_PTR>(std::strtoll(s, nullptr, 0))); }

void MouseButton(DWORD flags) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

void MoveTo(POINT p) {
    SetCursorPos(p.x, p.y);
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof in);
}

}  // namespace tvxdrive

namespace {
using namespace tvxdrive;

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tvxdrive COMMAND ...\n");
        return 2;
    }
    const std::string cmd = argv[1];
    auto arg = [&](int i) -> const char* { return i < argc ? argv[i] : "0"; };
    if (cmd == "wait-ctl") return Wait(std::atoi(arg(2)), "", static_cast<DWORD>(std::atoi(arg(3))), false);
    if (cmd == "wait-text") {
        // A control of a top window once it shows a text: both printed at
        // that moment, for a window that closes as soon as its work is done.
        // With a dialog and a button after the timeout, this process clicks
        // that button itself once it is looking, so that a window living only
        // a few milliseconds is not missed while a new process starts.
        const int id = std::atoi(arg(2));
        if (argc > 5) {
            HWND dialog = ParseHwnd(argv[4]);
            const int button = std::atoi(argv[5]);
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
        }
        const DWORD start = GetTickCount(), timeout = static_cast<DWORD>(std::atoi(arg(3)));
        while (GetTickCount() - start <= timeout) {
            if (HWND h = FindTop(id, "")) {
                const std::string text = Utf8Text(GetDlgItem(h, id));
                if (!text.empty()) {
                    std::printf("hwnd=%lld\ntext=%s\n", static_cast<long long>(reinterpret_cast<INT_PTR>(h)), text.c_str());
                    return 0;
                }
            }
            Sleep(2);
        }
        std::printf("timeout\n");
        return 1;
    }
    if (cmd == "gone-ctl") return Wait(std::atoi(arg(2)), "", static_cast<DWORD>(std::atoi(arg(3))), true);
    if (cmd == "wait-title")
        return Wait(argc > 4 ? std::atoi(argv[4]) : -1, arg(2), static_cast<DWORD>(std::atoi(arg(3))), false);
    if (cmd == "texts") {
        HWND h = ParseHwnd(arg(2));
        std::printf("0\ttop\t%d\t%s\n", IsWindowVisible(h) ? 1 : 0, Utf8Text(h).c_str());
        EnumChildWindows(h, PrintChild, 0);
        return 0;
    }
    if (cmd == "text") {
        std::printf("%s\n", Utf8Text(GetDlgItem(ParseHwnd(arg(2)), std::atoi(arg(3)))).c_str());
        return 0;
    }
    if (cmd == "click") {
        HWND dlg = ParseHwnd(arg(2));
        int id = std::atoi(arg(3));
        HWND button = GetDlgItem(dlg, id);
        if (!button) { std::printf("no-control\n"); return 1; }
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        return 0;
    }
    if (cmd == "combo") {
        HWND combo = GetDlgItem(ParseHwnd(arg(2)), std::atoi(arg(3)));
        LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
        std::printf("count=%d\nsel=%d\n", static_cast<int>(count), static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)));
        for (LRESULT i = 0; i < count; ++i) {
            // Read the row as text and give its bytes in the ANSI code page,
            // which is what the program stored.
            wchar_t wide[512] = {};
            SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide));
            char text[1024] = {};
            WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
            std::printf("item%d\t", static_cast<int>(i));
            for (const char* p = text; *p; ++p) std::printf("%02X", static_cast<unsigned char>(*p));
            std::printf("\n");
        }
        return 0;
    }
    if (cmd == "combo-select") {
        HWND dlg = ParseHwnd(arg(2));
        int id = std::atoi(arg(3));
        HWND combo = GetDlgItem(dlg, id);
        SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(std::atoi(arg(4))), 0);
        PostMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
        return 0;
    }
    if (cmd == "center") {
        RECT rc{};
        GetWindowRect(ParseHwnd(arg(2)), &rc);
        std::printf("x=%ld\ny=%ld\n", (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        return 0;
    }
    if (cmd == "visible") {
        std::printf("visible=%d\n", IsWindowVisible(ParseHwnd(arg(2))) ? 1 : 0);
        return 0;
    }
    if (cmd == "visible-ctl") {
        HWND control = GetDlgItem(ParseHwnd(arg(2)), std::atoi(arg(3)));
        std::printf("visible=%d\nenabled=%d\n", control && IsWindowVisible(control) ? 1 : 0,
                    control && IsWindowEnabled(control) ? 1 : 0);
        return 0;
    }
    if (cmd == "mail-flood" || cmd == "post-flood") {
        // mail-flood: N hand-overs, each its own Name ("PREFIX i"), sent one
        // after the other; post-flood: one hand-over, then N posted messages.
        // MAILBOX-FILE is the installation's mailbox.
        HWND h = ParseHwnd(arg(2));
        const int count = std::atoi(arg(3));
        const std::string prefix = arg(4), mailbox = arg(5);
        const DWORD start = GetTickCount();
        int answered = 0;
        auto handOver = [&](const std::string& name) {
            WritePrivateProfileStringA("sdfggsadf", "ShortName", "fl", mailbox.c_str());
            WritePrivateProfileStringA("sdfggsadf", "Description", "flood", mailbox.c_str());
            WritePrivateProfileStringA("sdfggsadf", "ExePath", "C:\\flood.exe", mailbox.c_str());
            WritePrivateProfileStringA("sdfggsadf", "NodeID", "", mailbox.c_str());
            WritePrivateProfileStringA("sdfggsadf", "Name", name.c_str(), mailbox.c_str());
        };
        if (cmd == "mail-flood") {
            for (int i = 0; i < count; ++i) {
                handOver(prefix + " " + std::to_string(i));
                DWORD_PTR result = 0;
                if (SendMessageTimeoutA(h, 1044, 0, 0, SMTO_NORMAL, 10000, &result)) ++answered;
            }
        } else {
            handOver(prefix);
            for (int i = 0; i < count; ++i)
                if (PostMessageA(h, 1044, 0, 0)) ++answered;
        }
        std::printf("answered=%d\nelapsed=%lu\n", answered, GetTickCount() - start);
        return 0;
    }
    if (cmd == "window-info") {
        // owner= (its owner window), enabled=, dpi= (awareness: 0 unaware, 1 system, 2 per monitor, -1 unknown)
        HWND h = ParseHwnd(arg(2));
        using GetContext = HANDLE(WINAPI*)(HWND);
        using Awareness = int(WINAPI*)(HANDLE);
        HMODULE user32 = GetModuleHandleA("user32.dll");
        auto get = reinterpret_cast<GetContext>(reinterpret_cast<void*>(GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
        auto of = reinterpret_cast<Awareness>(reinterpret_cast<void*>(GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
        std::printf("owner=%lld\nenabled=%d\ndpi=%d\n", static_cast<long long>(reinterpret_cast<INT_PTR>(GetWindow(h, GW_OWNER))),
                    IsWindowEnabled(h) ? 1 : 0, get && of ? of(get(h)) : -1);
        return 0;
    }
    if (cmd == "sync") {
        // Every message posted to the window's thread before now is handled
        // once a marker posted after them is: a box's text limit, raised by
        // one through a posted message and read back, then put back.
        HWND box = GetDlgItem(ParseHwnd(arg(2)), std::atoi(arg(3)));
        if (!box) { std::printf("no-control\n"); return 1; }
        const LRESULT limit = SendMessageA(box, EM_GETLIMITTEXT, 0, 0);
        PostMessageA(box, EM_SETLIMITTEXT, static_cast<WPARAM>(limit + 1), 0);
        const DWORD start = GetTickCount();
        bool handled = false;
        while (!(handled = SendMessageA(box, EM_GETLIMITTEXT, 0, 0) == limit + 1) && GetTickCount() - start < 15000) Sleep(20);
        SendMessageA(box, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
        std::printf(handled ? "synced\n" : "timeout\n");
        return handled ? 0 : 1;
    }
    if (cmd == "send" || cmd == "post") {
        HWND h = ParseHwnd(arg(2));
        UINT msg = static_cast<UINT>(std::strtoul(arg(3), nullptr, 0));
        WPARAM wp = static_cast<WPARAM>(std::strtoull(arg(4), nullptr, 0));
        LPARAM lp = static_cast<LPARAM>(std::strtoll(arg(5), nullptr, 0));
        if (cmd == "post") return PostMessageA(h, msg, wp, lp) ? 0 : 1;
        std::printf("result=%lld\n", static_cast<long long>(SendMessageA(h, msg, wp, lp)));
        return 0;
    }
    if (cmd == "press-release") {
        HWND dlg = ParseHwnd(arg(2));
        HWND target = GetDlgItem(dlg, std::atoi(arg(3)));
        if (!target) { std::printf("no-control\n"); return 1; }
        RECT rc;
        GetWindowRect(target, &rc);
        const int x = (rc.left + rc.right) / 2, y = (rc.top + rc.bottom) / 2;
        SetForegroundWindow(dlg);
        SetCursorPos(x, y);
        Sleep(50);
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
        SendInput(1, &in, sizeof in);
        Sleep(150);
        SetCursorPos(x + std::atoi(arg(4)), y + std::atoi(arg(5)));
        in.mi.dwFlags = MOUSEEVENTF_MOVE;
        SendInput(1, &in, sizeof in);
        Sleep(150);
        in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
        SendInput(1, &in, sizeof in);
        Sleep(200);
        return 0;
    }
    if (cmd == "click-at") return ClickAt(ParseHwnd(arg(2)), std::atoi(arg(3)), argc > 4 && std::string(argv[4]) == "right");
    if (cmd == "type") {
        for (const char* p = arg(2); *p; ++p) {
            SHORT scan = VkKeyScanA(*p);
            if (scan == -1) continue;
            SendKey(static_cast<WORD>(scan & 0xFF), (scan & 0x100) != 0);
        }
        Sleep(250);  // let the program take the keys before the next look
        return 0;
    }
    if (cmd == "key") {
        const std::string name = arg(2);
        const std::pair<const char*, WORD> keys[] = {{"enter", VK_RETURN}, {"esc", VK_ESCAPE}, {"down", VK_DOWN},
                                                     {"up", VK_UP},        {"tab", VK_TAB},     {"back", VK_BACK},
                                                     {"home", VK_HOME},    {"end", VK_END},     {"right", VK_RIGHT}, {"left", VK_LEFT}, {"space", VK_SPACE}};
        const int times = argc > 3 ? std::max(1, std::atoi(argv[3])) : 1;
        for (const auto& k : keys)
            if (name == k.first) {
                for (int i = 0; i < times; ++i) SendKey(k.second, false);
                Sleep(250);
                return 0;
            }
        if (name == "alt+f4") {  // the system's close shortcut
            SendKeys({VK_MENU}, VK_F4);
            Sleep(250);
            return 0;
        }
        std::printf("unknown key\n");
        return 1;
    }
    if (cmd == "tab-walk") {
        // HWND N: presses Tab N times (each waited for: the focus moves) and
        // prints each control that had the focus, "id CLASS"; then the
        // controls of the window that can take it and did not ("missed").
        HWND top = ParseHwnd(arg(2));
        const int presses = std::atoi(arg(3));
        std::set<HWND> reached;
        auto focus = [] {
            GUITHREADINFO gti = {};
            gti.cbSize = sizeof gti;
            return GetGUIThreadInfo(0, &gti) ? gti.hwndFocus : nullptr;
        };
        for (int i = 0; i < presses; ++i) {
            HWND before = focus();
            SendKey(VK_TAB, false);
            for (int wait = 0; wait < 100 && focus() == before; ++wait) Sleep(10);
            HWND now = focus();
            // A combo box's edit or a list's header stands for the control around it.
            while (now && GetParent(now) != top && GetParent(now)) now = GetParent(now);
            if (now) reached.insert(now);
        }
        for (HWND h : reached) {
            char cls[64] = {};
            GetClassNameA(h, cls, sizeof cls);
            std::printf("reached\t%d\t%s\n", GetDlgCtrlID(h), cls);
        }
        TabWalk walk{top, &reached};
        EnumChildWindows(top, PrintMissedByTab, reinterpret_cast<LPARAM>(&walk));
        return 0;
    }
    if (cmd == "focused") {
        GUITHREADINFO gti = {};
        gti.cbSize = sizeof gti;
        if (!GetGUIThreadInfo(0, &gti) || !gti.hwndFocus) { std::printf("id=0\n"); return 0; }
        std::printf("id=%d\ntop=%lld\n", GetDlgCtrlID(gti.hwndFocus),
                    static_cast<long long>(reinterpret_cast<INT_PTR>(GetAncestor(gti.hwndFocus, GA_ROOT))));
        return 0;
    }
    if (cmd == "list") {
        HWND lv = GetDlgItem(ParseHwnd(arg(2)), std::atoi(arg(3)));
        std::printf("count=%d\nsel=%d\n", static_cast<int>(SendMessageA(lv, 0x1004 /*LVM_GETITEMCOUNT*/, 0, 0)),
                    static_cast<int>(SendMessageA(lv, 0x100C /*LVM_GETNEXTITEM*/, static_cast<WPARAM>(-1), 2 /*LVNI_SELECTED*/)));
        RECT rc;
        GetWindowRect(lv, &rc);
        std::printf("visible=%d\nheight=%ld\n", IsWindowVisible(lv) ? 1 : 0, rc.bottom - rc.top);
        std::printf("page=%d\ntop=%d\n", static_cast<int>(SendMessageA(lv, 0x1028 /*LVM_GETCOUNTPERPAGE*/, 0, 0)),
                    static_cast<int>(SendMessageA(lv, 0x1027 /*LVM_GETTOPINDEX*/, 0, 0)));
        return 0;
    }
    if (cmd == "tree-select") {
        HWND tree = GetDlgItem(ParseHwnd(arg(2)), std::atoi(arg(3)));
        auto next = [&](LPARAM item, WPARAM how) {
            return static_cast<LPARAM>(SendMessageA(tree, 0x110A /*TVM_GETNEXTITEM*/, how, item));
        };
        LPARAM node = next(0, 0 /*TVGN_ROOT*/);
        std::string path = argc > 4 ? argv[4] : "";
        size_t start = 0;
        while (node && start < path.size()) {
            size_t slash = path.find('/', start);
            int index = std::atoi(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start).c_str());
            SendMessageA(tree, 0x1102 /*TVM_EXPAND*/, 2 /*TVE_EXPAND*/, node);
            node = next(node, 4 /*TVGN_CHILD*/);
            while (node && index-- > 0) node = next(node, 1 /*TVGN_NEXT*/);
            start = slash == std::string::npos ? path.size() : slash + 1;
        }
        if (path == "-") node = 0;  // select nothing
        else if (!node) { std::printf("no-node\n"); return 1; }
        SendMessageA(tree, 0x110B /*TVM_SELECTITEM*/, 9 /*TVGN_CARET*/, node);
        std::printf("selected=1\n");
        return 0;
    }
    if (cmd == "tree-selected") {
        // The selected node as tree-select names it: child indices from the first root, "" for it.
        HWND tree = GetDlgItem(ParseHwnd(arg(2)), std::atoi(arg(3)));
        auto next = [&](LPARAM item, WPARAM how) {
            return static_cast<LPARAM>(SendMessageA(tree, 0x110A /*TVM_GETNEXTITEM*/, how, item));
        };
        LPARAM node = next(0, 9 /*TVGN_CARET*/);
        if (!node) { std::printf("none\n"); return 1; }
        std::string path;
        for (LPARAM parent = next(node, 3 /*TVGN_PARENT*/); parent; node = parent, parent = next(node, 3)) {
            int index = 0;
            for (LPARAM sibling = next(parent, 4 /*TVGN_CHILD*/); sibling && sibling != node; sibling = next(sibling, 1)) ++index;
            path = std::to_string(index) + (path.empty() ? "" : "/" + path);
        }
        std::printf("path=%s\n", path.c_str());
        return 0;
    }
    if (cmd == "profile-write") {
        // SECTION KEY VALUE [FILE]: WIN.INI without a file. The file's folder
        // may be named outside the code page: it is taken wide and written
        // to by its short form, as the program uses such a folder.
        if (argc <= 5) return WriteProfileStringA(arg(2), arg(3), arg(4)) ? 0 : 1;
        int wargc = 0;
        LPWSTR* wargv = CommandLineToArgvW(GetCommandLineW(), &wargc);
        std::string file = argv[5];
        if (wargv && wargc > 5) {
            std::wstring wide = wargv[5];
            const size_t slash = wide.find_last_of(L'\\');
            wchar_t shortFolder[MAX_PATH] = {};
            if (slash != std::wstring::npos &&
                GetShortPathNameW(wide.substr(0, slash).c_str(), shortFolder, MAX_PATH) > 0)
                wide = shortFolder + wide.substr(slash);
            char ansi[MAX_PATH * 2] = {};
            WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, ansi, sizeof ansi, nullptr, nullptr);
            file = ansi;
        }
        if (wargv) LocalFree(wargv);
        return WritePrivateProfileStringA(arg(2), arg(3), arg(4), file.c_str()) ? 0 : 1;
    }
    if (const int done = DriveBars(cmd, argc, argv); done >= 0) return done;
    if (cmd == "drop") {
        // Wide names: Wine hands a posted drop list over to the other process
        // in its wide form.
        std::vector<std::wstring> names;
        size_t size = sizeof(DROPFILES) + sizeof(wchar_t);
        for (int i = 3; i < argc; ++i) {
            const int n = MultiByteToWideChar(CP_ACP, 0, argv[i], -1, nullptr, 0);
            std::wstring w(static_cast<size_t>(n), L'\0');
            MultiByteToWideChar(CP_ACP, 0, argv[i], -1, &w[0], n);
            size += w.size() * sizeof(wchar_t);  // with its NUL
            names.push_back(std::move(w));
        }
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT | GMEM_DDESHARE, size);
        auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
        drop->pFiles = sizeof(DROPFILES);
        drop->fWide = TRUE;
        auto* p = reinterpret_cast<wchar_t*>(drop + 1);
        for (const std::wstring& w : names) {
            std::memcpy(p, w.data(), w.size() * sizeof(wchar_t));
            p += w.size();
        }
        GlobalUnlock(block);
        return PostMessageA(ParseHwnd(arg(2)), WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0) ? 0 : 1;
    }
    if (cmd == "tree-point" || cmd == "tree-count" || cmd == "tree-children") {
        HWND tree = GetDlgItem(ParseHwnd(arg(2)), std::atoi(arg(3)));
        auto next = [&](LPARAM item, WPARAM how) {
            return static_cast<LPARAM>(SendMessageA(tree, 0x110A /*TVM_GETNEXTITEM*/, how, item));
        };
        if (cmd == "tree-count") {
            std::printf("count=%d\nselected=%d\n", static_cast<int>(SendMessageA(tree, 0x1105 /*TVM_GETCOUNT*/, 0, 0)),
                        next(0, 9 /*TVGN_CARET*/) ? 1 : 0);
            return 0;
        }
        // Walk to the node, counting the depth; then its row among the visible rows.
        LPARAM node = next(0, 0 /*TVGN_ROOT*/);
        int depth = 0;
        const std::string path = argc > 4 ? argv[4] : "";
        size_t start = 0;
        while (node && start < path.size()) {
            size_t slash = path.find('/', start);
            int index = std::atoi(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start).c_str());
            node = next(node, 4 /*TVGN_CHILD*/);
            while (node && index-- > 0) node = next(node, 1 /*TVGN_NEXT*/);
            ++depth;
            start = slash == std::string::npos ? path.size() : slash + 1;
        }
        if (cmd == "tree-children") {
            if (!node) { std::printf("no-node\n"); return 1; }
            // The item and its text go through memory of the tree's own
            // process: a pointer into this one means nothing there.
            DWORD pid = 0;
            GetWindowThreadProcessId(tree, &pid);
            HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
            if (!process) { std::printf("no-process\n"); return 1; }
            constexpr size_t kText = 1024;
            char* remote = static_cast<char*>(
                VirtualAllocEx(process, nullptr, sizeof(TVITEMA) + kText, MEM_COMMIT, PAGE_READWRITE));
            std::string lines;
            int count = 0;
            for (LPARAM child = next(node, 4 /*TVGN_CHILD*/); child; child = next(child, 1 /*TVGN_NEXT*/), ++count) {
                TVITEMA tvi = {};
                tvi.mask = TVIF_TEXT;
                tvi.hItem = reinterpret_cast<HTREEITEM>(child);
                tvi.pszText = remote + sizeof(TVITEMA);
                tvi.cchTextMax = static_cast<int>(kText);
                char text[kText + 1] = {};
                if (remote && WriteProcessMemory(process, remote, &tvi, sizeof tvi, nullptr) &&
                    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote)))
                    ReadProcessMemory(process, remote + sizeof(TVITEMA), text, kText, nullptr);
                lines += std::string("child\t") + text + "\n";
            }
            if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
            CloseHandle(process);
            std::printf("count=%d\n%s", count, lines.c_str());
            return 0;
        }
        int row = 0;
        LPARAM visible = next(0, 5 /*TVGN_FIRSTVISIBLE*/);
        while (visible && visible != node) {
            visible = next(visible, 6 /*TVGN_NEXTVISIBLE*/);
            ++row;
        }
        if (!node || !visible) { std::printf("not-visible\n"); return 1; }
        const int height = static_cast<int>(SendMessageA(tree, 0x111C /*TVM_GETITEMHEIGHT*/, 0, 0));
        const int indent = static_cast<int>(SendMessageA(tree, 0x1106 /*TVM_GETINDENT*/, 0, 0));
        POINT pt{(depth + 1) * indent + 24, row * height + height / 2};
        ClientToScreen(tree, &pt);
        std::printf("x=%ld\ny=%ld\n", pt.x, pt.y);
        return 0;
    }
    if (cmd == "list-cell" || cmd == "header-point") {
        HWND lv = GetDlgItem(ParseHwnd(arg(2)), std::atoi(arg(3)));
        const bool header = cmd == "header-point";
        const int column = std::atoi(arg(header ? 4 : 5));
        int x = 0;
        for (int c = 0; c < column; ++c) x += static_cast<int>(SendMessageA(lv, 0x101D /*LVM_GETCOLUMNWIDTH*/, c, 0));
        x += static_cast<int>(SendMessageA(lv, 0x101D, column, 0)) / 2;
        HWND hdr = reinterpret_cast<HWND>(SendMessageA(lv, 0x101F /*LVM_GETHEADER*/, 0, 0));
        RECT hrc{0, 0, 0, 0};
        if (hdr && IsWindowVisible(hdr)) GetClientRect(hdr, &hrc);
        POINT pt{x, 0};
        if (header) {
            pt.y = hrc.bottom / 2;
        } else {
            // Row height: the view of two rows less the view of one.
            const int one = HIWORD(SendMessageA(lv, 0x1040 /*LVM_APPROXIMATEVIEWRECT*/, 1, MAKELPARAM(-1, -1)));
            const int two = HIWORD(SendMessageA(lv, 0x1040, 2, MAKELPARAM(-1, -1)));
            const int top = static_cast<int>(SendMessageA(lv, 0x1027 /*LVM_GETTOPINDEX*/, 0, 0));
            const int rowHeight = two - one;
            pt.y = hrc.bottom + (std::atoi(arg(4)) - top) * rowHeight + rowHeight / 2;
        }
        ClientToScreen(lv, &pt);
        std::printf("x=%ld\ny=%ld\n", pt.x, pt.y);
        return 0;
    }
    if (cmd == "double-click-screen") {  // both presses from one process: within the double-click time
        MoveTo(POINT{std::atoi(arg(2)), std::atoi(arg(3))});
        Sleep(80);
        for (int i = 0; i < 2; ++i) {
            MouseButton(MOUSEEVENTF_LEFTDOWN);
            Sleep(40);
            MouseButton(MOUSEEVENTF_LEFTUP);
            Sleep(60);
        }
        Sleep(250);
        return 0;
    }
    if (cmd == "click-screen" || cmd == "drag") {
        const bool right = std::string(argc > (cmd == "drag" ? 6 : 4) ? argv[cmd == "drag" ? 6 : 4] : "") == "right";
        const DWORD down = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
        const DWORD up = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
        const POINT from{std::atoi(arg(2)), std::atoi(arg(3))};
        MoveTo(from);
        Sleep(80);
        MouseButton(down);
        Sleep(cmd == "drag" ? 150 : 60);
        if (cmd == "drag") {
            const POINT to{std::atoi(arg(4)), std::atoi(arg(5))};
            for (int i = 1; i <= 12; ++i) {
                MoveTo(POINT{from.x + (to.x - from.x) * i / 12, from.y + (to.y - from.y) * i / 12});
                Sleep(50);
            }
            Sleep(200);
        }
        MouseButton(up);
        Sleep(250);
        return 0;
    }
    if (const int done = DriveSystem(cmd, argc, argv); done >= 0) return done;
    std::fprintf(stderr, "unknown command %s\n", cmd.c_str());
    return 2;
}
