// The scale benchmark's measuring hand: starts the program of two
// installations (one empty, one large) and measures from the outside what a
// person waits for, each figure beside its baseline taken in the same run.
//   tvxscale EMPTY-INSTALL-DIR LARGE-INSTALL-DIR
// Prints "key=value" lines; scripts/scale_bench.sh turns them into the table.
#include "data/win32/file_io.h"
#include "key_input.h"

#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

using namespace tvx;
using namespace tvx::win;

namespace {

constexpr int kLauncherFindBox = 1025;   // the launcher's short-name box
constexpr int kLauncherList = 1027;      // its result list
constexpr int kLauncherExit = 1019;
constexpr int kLauncherConfig = 1330;
constexpr int kConfigTree = 2010;
constexpr int kConfigItems = 2034;
constexpr int kConfigOk = 2005;
constexpr int kConfigCancel = 2006;
constexpr int kConfigAddOne = 2060;      // "<"
constexpr int kConfigRemoveOne = 2062;   // ">"
constexpr int kConfigCandidates = 2076;
constexpr int kProgressText = 1067;      // the modal progress window
constexpr int kMessageText = 1070;       // the program's message box

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Search { DWORD pid; int id; HWND found; };

BOOL CALLBACK FindProc(HWND h, LPARAM lp) {
    auto* s = reinterpret_cast<Search*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid != s->pid || !IsWindowVisible(h) || !GetDlgItem(h, s->id)) return TRUE;
    s->found = h;
    return FALSE;
}

// The visible top-level window of the process that holds control ID.
HWND FindTop(DWORD pid, int id) {
    Search s{pid, id, nullptr};
    EnumWindows(FindProc, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// Polls COND every millisecond or so; returns the milliseconds it took from
// START, or -1 after TIMEOUT ms.
template <typename Cond>
double WaitFor(double start, double timeoutMs, Cond cond, DWORD everyMs = 1) {
    while (Now() - start < timeoutMs) {
        if (cond()) return Now() - start;
        Sleep(everyMs);
    }
    return -1;
}

// Whether the window's thread takes messages again (a modal loop or a slow
// shell call has ended).
bool Responsive(HWND h) {
    DWORD_PTR r = 0;
    return SendMessageTimeoutA(h, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &r) != 0;
}

double Percentile(std::vector<double> v, double p) {
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5));
    return v[i];
}

struct Program {
    PROCESS_INFORMATION pi = {};
    HWND launcher = nullptr;
    double startMs = -1;
};

Program Start(const std::string& dir) {
    Program p;
    std::string command = "\"" + dir + "\\Tavrolinex.exe\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    const double t0 = Now();
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &p.pi)) return p;
    p.startMs = WaitFor(t0, 60000, [&] { return (p.launcher = FindTop(p.pi.dwProcessId, kLauncherFindBox)) != nullptr; });
    return p;
}

// Exit, then No at the question; ends the process if it does not go.
void End(Program& p) {
    if (p.launcher) {
        PostMessageA(p.launcher, WM_COMMAND, MAKEWPARAM(kLauncherExit, BN_CLICKED), 0);
        HWND box = nullptr;
        WaitFor(Now(), 10000, [&] { return (box = FindTop(p.pi.dwProcessId, kMessageText)) != nullptr; });
        if (box) PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    }
    if (WaitForSingleObject(p.pi.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(p.pi.hProcess, 1);
    CloseHandle(p.pi.hThread);
    CloseHandle(p.pi.hProcess);
    p = Program{};
}

// The program's private memory. Wine answers GetProcessMemoryInfo for
// another process without its private bytes, so the figure comes from the
// host: the tool asks with a "memory_probe=LABEL" line and the benchmark
// script answers in memory-LABEL.txt beside the tool (megabytes). On
// Windows, without an answer, the system's own figure is taken.
double PrivateMb(const Program& p, const std::string& label) {
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    std::string answer = exe;
    answer = answer.substr(0, answer.find_last_of('\\') + 1) + "memory-" + label + ".txt";
    std::printf("memory_probe=%s\n", label.c_str());
    std::fflush(stdout);
    std::string text;
    WaitFor(Now(), 20000, [&] { return ReadWholeFile(answer, text) && !text.empty(); });
    DeleteFileA(answer.c_str());
    if (!text.empty()) return std::atof(text.c_str());
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(p.pi.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return -1;
    return static_cast<double>(counters.PrivateUsage) / (1024.0 * 1024.0);
}

LRESULT Selected(HWND list) { return SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED); }

// Letters typed into the short-name box, three at a time after emptying it;
// each is timed from SendInput to the list's selection moving.
void Keystrokes(const Program& p, int rounds) {
    HWND box = GetDlgItem(p.launcher, kLauncherFindBox);
    HWND list = GetDlgItem(p.launcher, kLauncherList);
    // A click into the box, as a person would, gives it the keyboard.
    SetForegroundWindow(p.launcher);
    RECT rc;
    GetWindowRect(box, &rc);
    SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, click, sizeof(INPUT));
    Sleep(200);
    std::mt19937 random(7);
    std::vector<double> times;
    int unchanged = 0;
    for (int r = 0; r < rounds; ++r) {
        SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
        Sleep(40);
        for (int k = 0; k < 3; ++k) {
            // Never 'a': the first row of a prefix is its "a" continuation,
            // so any other letter moves the selection.
            const WORD letter = static_cast<WORD>('B' + random() % 25);
            const LRESULT before = Selected(list);
            const double t0 = Now();
            SendKeys({}, letter);
            const double ms = WaitFor(t0, 2000, [&] { return Selected(list) != before; });
            if (ms < 0) ++unchanged;
            else times.push_back(ms);
            Sleep(15);
        }
    }
    std::printf("keystroke_samples=%zu\nkeystroke_unchanged=%d\nkeystroke_p50_ms=%.1f\nkeystroke_p95_ms=%.1f\n",
                times.size(), unchanged, Percentile(times, 0.5), Percentile(times, 0.95));
}

// A point of the screen as the display shows it (read back from the X
// server under Wine), not as the window's own flag says.
COLORREF ScreenPixel(POINT at) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// Ctrl+Shift+J from hidden to the launcher's pixels on the screen; hiding
// again with the same key. The clock stops when a point of the launcher's
// title band shows the skin's colour there, which nothing else on the
// display has.
void ShowHideKey(const Program& p, int rounds) {
    RECT rc{};
    GetWindowRect(p.launcher, &rc);
    const POINT band{rc.left + (rc.right - rc.left) / 3, rc.top + 4};
    const COLORREF skin = ScreenPixel(band);
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r) {
        if (IsWindowVisible(p.launcher)) {
            SendKeys({VK_CONTROL, VK_SHIFT}, 'J');
            WaitFor(Now(), 5000, [&] { return !IsWindowVisible(p.launcher) && ScreenPixel(band) != skin; });
        }
        Responsive(p.launcher);  // hiding puts the tray icon up: let it finish
        Sleep(100);
        if (ScreenPixel(band) == skin) continue;  // the place was not cleared: no honest sample
        const double t0 = Now();
        SendKeys({VK_CONTROL, VK_SHIFT}, 'J');
        const double ms = WaitFor(t0, 5000, [&] { return ScreenPixel(band) == skin; });
        if (ms >= 0) times.push_back(ms);
        Responsive(p.launcher);
    }
    std::printf("hotkey_samples=%zu\nhotkey_p50_ms=%.1f\nhotkey_p95_ms=%.1f\n", times.size(), Percentile(times, 0.5),
                Percentile(times, 0.95));
}

// Configuration from the launcher to an item list the user can work in (the
// progress window gone, the root selected, its rows listed); then Ok, timed
// to the message that the data was saved.
// Opens the dialog and waits until it is usable: the progress window gone,
// the root selected and (when the installation has entries) its rows
// listed; returns the dialog or null.
HWND OpenConfig(const Program& p, double* ms, bool rows = true) {
    Responsive(p.launcher);
    const double t0 = Now();
    PostMessageA(p.launcher, WM_COMMAND, MAKEWPARAM(kLauncherConfig, BN_CLICKED), 0);
    HWND dialog = nullptr;
    // Looked at every 5 ms: each look sends the dialog two messages that its
    // busy thread has to answer, and asks the wineserver about every window.
    *ms = WaitFor(t0, 30000, [&] {
        if (!dialog) dialog = FindTop(p.pi.dwProcessId, kConfigTree);
        // Disabled while its first work runs (the progress window, if the
        // work outlasts its opening, is modal over it).
        if (!dialog || !IsWindowEnabled(dialog) || FindTop(p.pi.dwProcessId, kProgressText)) return false;
        HWND tree = GetDlgItem(dialog, kConfigTree);
        return SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0) != 0 &&
               (!rows || SendMessageA(GetDlgItem(dialog, kConfigItems), LVM_GETITEMCOUNT, 0, 0) > 0);
    }, 5);
    return *ms < 0 ? nullptr : dialog;
}

void ConfigOpenAndSave(const Program& p, int rounds, const char* label) {
    std::vector<double> open, save;
    for (int r = 0; r < rounds; ++r) {
        double ms = -1;
        HWND dialog = OpenConfig(p, &ms, std::string(label) != "empty");
        if (!dialog) { std::printf("config_open_%s=timeout\n", label); return; }
        open.push_back(ms);
        Sleep(300);
        const double s0 = Now();
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kConfigOk, BN_CLICKED), 0);
        HWND box = nullptr;
        // Looked for every 10 ms, not every millisecond: each look asks the
        // wineserver about every window, and the saving program needs the
        // wineserver for each of its writes.
        const double saved =
            WaitFor(s0, 30000, [&] { return (box = FindTop(p.pi.dwProcessId, kMessageText)) != nullptr; }, 10);
        if (saved < 0) { std::printf("config_save_%s=timeout\n", label); return; }
        save.push_back(saved);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        WaitFor(Now(), 30000, [&] { return FindTop(p.pi.dwProcessId, kConfigTree) == nullptr; });
        Responsive(p.launcher);  // the launcher reloads after the dialog
    }
    std::printf("config_open_%s_ms=%.1f\nconfig_save_%s_ms=%.1f\n", label, Percentile(open, 0.5), label,
                Percentile(save, 0.5));
}

// Memory of the program's own process for a control's message that takes a
// pointer: a pointer into this process means nothing there.
class RemoteBuffer {
public:
    RemoteBuffer(DWORD pid, size_t size) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (process_) at_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;
    bool Put(const void* data, size_t size) { return at_ && WriteProcessMemory(process_, at_, data, size, nullptr); }
    LPARAM at() const { return reinterpret_cast<LPARAM>(at_); }

private:
    HANDLE process_ = nullptr;
    void* at_ = nullptr;
};

LRESULT Count(HWND dialog, int id) { return SendMessageA(GetDlgItem(dialog, id), LVM_GETITEMCOUNT, 0, 0); }
LRESULT TreeCount(HWND dialog) { return SendMessageA(GetDlgItem(dialog, kConfigTree), TVM_GETCOUNT, 0, 0); }

// Changes in the catalog of every entry (the root's first catalog), opened
// in the tree so that its item leaves are there: ">" of one row, "<" of
// that candidate, and 1,000 files dropped onto the dialog (by the script,
// through the X display's drag and drop). Each timed from the click to the
// dialog showing the change and taking messages again; the dialog then
// closes without saving.
void ConfigChanges(const Program& p, const std::string& dir) {
    double ms = -1;
    HWND dialog = OpenConfig(p, &ms);
    if (!dialog) { std::printf("config_changes=timeout\n"); return; }
    HWND tree = GetDlgItem(dialog, kConfigTree);
    const LPARAM root = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    const LPARAM everything = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CHILD, root);
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, everything);
    const double t0 = Now();
    if (WaitFor(t0, 60000, [&] { return Count(dialog, kConfigItems) >= 100000; }) < 0) {
        std::printf("config_changes=no-list\n");
        return;
    }
    const LRESULT members = Count(dialog, kConfigItems), catalogsShown = TreeCount(dialog);
    // Opened as with the Right key.
    const double e0 = Now();
    PostMessageA(tree, WM_KEYDOWN, VK_RIGHT, 0);
    const double expandMs = WaitFor(e0, 120000, [&] { return TreeCount(dialog) >= catalogsShown + members; });
    std::printf("config_expand_ms=%.1f\nconfig_members=%ld\n", expandMs, static_cast<long>(members));
    std::fflush(stdout);

    const double r0 = Now();
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kConfigRemoveOne, BN_CLICKED), 0);
    const double removeMs = WaitFor(r0, 30000, [&] {
        return Count(dialog, kConfigItems) == members - 1 && Count(dialog, kConfigCandidates) >= 1 &&
               TreeCount(dialog) == catalogsShown + members - 1 && Responsive(dialog);
    });
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    RemoteBuffer remote(p.pi.dwProcessId, sizeof state);
    remote.Put(&state, sizeof state);
    SendMessageA(GetDlgItem(dialog, kConfigCandidates), LVM_SETITEMSTATE, 0, remote.at());
    const double a0 = Now();
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kConfigAddOne, BN_CLICKED), 0);
    const double addMs = WaitFor(a0, 30000, [&] {
        return Count(dialog, kConfigItems) == members && TreeCount(dialog) == catalogsShown + members &&
               Responsive(dialog);
    });
    std::printf("config_remove_one_ms=%.1f\nconfig_add_one_ms=%.1f\n", removeMs, addMs);
    std::fflush(stdout);

    // The script drops the files at the point it is given, then answers.
    RECT rc;
    GetWindowRect(dialog, &rc);
    const std::string answer = dir.substr(0, dir.find_last_of('\\') + 1) + "drop-done.txt";
    DeleteFileA(answer.c_str());
    std::printf("drop_probe=%ld,%ld\n", (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
    std::fflush(stdout);
    const double d0 = Now();
    WaitFor(d0, 60000, [&] { return GetFileAttributesA(answer.c_str()) != INVALID_FILE_ATTRIBUTES; });
    const double dropMs = WaitFor(d0, 120000, [&] {
        return Count(dialog, kConfigItems) == members + 1000 && TreeCount(dialog) == catalogsShown + members + 1000 &&
               Responsive(dialog);
    });
    std::printf("config_drop_1000_ms=%.1f\n", dropMs);
    std::fflush(stdout);

    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(kConfigCancel, BN_CLICKED), 0);
    HWND box = nullptr;
    WaitFor(Now(), 30000, [&] { return (box = FindTop(p.pi.dwProcessId, kMessageText)) != nullptr; });
    if (box) PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    WaitFor(Now(), 30000, [&] { return FindTop(p.pi.dwProcessId, kConfigTree) == nullptr; });
    Responsive(p.launcher);
}

// The program's own save of both files (encode, write a temporary file,
// flush, replace) beside writing the same bytes with one plain write each,
// with and without a flush; into a scratch folder of the installation.
void SaveBesideWrite(const std::string& dir) {
    ItemStore store = LoadItemFile(dir + "\\Shortcut2.dat");
    CatalogTree tree;
    CatalogIndex index;
    ResetCatalogs(tree, index, "All");
    LoadCatalogFile(dir + "\\Shortcut2.clg", index);
    std::string items, catalogs;
    ReadWholeFile(dir + "\\Shortcut2.dat", items);
    ReadWholeFile(dir + "\\Shortcut2.clg", catalogs);
    const std::string scratch = dir + "\\scale-scratch";
    CreateDirectoryA(scratch.c_str(), nullptr);
    auto plainWrite = [&](bool flush) {
        for (const std::string* bytes : {&items, &catalogs}) {
            const std::string path = scratch + (bytes == &items ? "\\plain.dat" : "\\plain.clg");
            HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            DWORD written = 0;
            WriteFile(f, bytes->data(), static_cast<DWORD>(bytes->size()), &written, nullptr);
            if (flush) FlushFileBuffers(f);
            CloseHandle(f);
        }
    };
    std::vector<double> save, plain, flushed;
    for (int r = 0; r < 5; ++r) {
        double t0 = Now();
        SaveItemFile(scratch + "\\Shortcut2.dat", store);
        SaveCatalogFile(scratch + "\\Shortcut2.clg", tree);
        save.push_back(Now() - t0);
        t0 = Now();
        plainWrite(false);
        plain.push_back(Now() - t0);
        t0 = Now();
        plainWrite(true);
        flushed.push_back(Now() - t0);
    }
    for (const char* name : {"\\Shortcut2.dat", "\\Shortcut2.clg", "\\plain.dat", "\\plain.clg"})
        DeleteFileA((scratch + name).c_str());
    RemoveDirectoryA(scratch.c_str());
    std::printf("save_code_ms=%.1f\nplain_write_ms=%.1f\nplain_write_flush_ms=%.1f\n", Percentile(save, 0.5),
                Percentile(plain, 0.5), Percentile(flushed, 0.5));
}

// The program's own item-file load beside one plain read of the same bytes.
void LoadBesideRead(const std::string& dir) {
    const std::string path = dir + "\\Shortcut2.dat";
    std::vector<double> load, read;
    size_t records = 0, bytes = 0;
    for (int r = 0; r < 7; ++r) {
        double t0 = Now();
        std::string raw;
        ReadWholeFile(path, raw);
        read.push_back(Now() - t0);
        bytes = raw.size();
        t0 = Now();
        ItemStore store = LoadItemFile(path);
        load.push_back(Now() - t0);
        records = store.size();
    }
    std::printf("item_file_bytes=%zu\nitem_file_records=%zu\nload_ms=%.2f\nread_ms=%.2f\n", bytes, records,
                Percentile(load, 0.5), Percentile(read, 0.5));
}

// The program's own figures from its timing log: the item-file load of the
// large installation's starts (the launcher loads it again after each
// configuration dialog) and the save of both files from the dialog.
void ProgramTimings(const std::string& log) {
    std::string text;
    ReadWholeFile(log, text);
    std::vector<double> load, reload, save, drop;
    for (size_t at = 0; at < text.size();) {
        const size_t end = std::min(text.find('\n', at), text.size());
        const std::string line = text.substr(at, end - at);
        const size_t eq = line.find('=');
        if (eq != std::string::npos) {
            const double ms = std::atof(line.c_str() + eq + 1);
            if (line.compare(0, eq, "item_file_load_ms") == 0) load.push_back(ms);
            if (line.compare(0, eq, "item_file_reload_ms") == 0) reload.push_back(ms);
            if (line.compare(0, eq, "save_both_files_ms") == 0) save.push_back(ms);
            if (line.compare(0, eq, "drop_files_ms") == 0) drop.push_back(ms);
        }
        at = end + 1;
    }
    std::printf("program_drop_ms=%.1f\n", Percentile(drop, 0.5));
    std::printf("program_load_ms=%.2f\nprogram_load_samples=%zu\nprogram_reload_ms=%.2f\nprogram_reload_samples=%zu\n"
                "program_save_ms=%.2f\nprogram_save_samples=%zu\n",
                Percentile(load, 0.5), load.size(), Percentile(reload, 0.5), reload.size(), Percentile(save, 0.5),
                save.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: tvxscale EMPTY-INSTALL-DIR LARGE-INSTALL-DIR\n");
        return 2;
    }
    const std::string empty = argv[1], large = argv[2];
    // The program writes its own timings of the item-file load and the save
    // of both files here (TVX_TIMINGS).
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string timings = std::string(self).substr(0, std::string(self).find_last_of('\\') + 1) + "timings.txt";
    DeleteFileA(timings.c_str());
    // Start-up, alternating the two installations; the private memory of
    // each once it has settled.
    std::vector<double> startEmpty, startLarge, memEmpty, memLarge;
    for (int r = 0; r < 3; ++r) {
        for (const std::string* dir : {&empty, &large}) {
            SetEnvironmentVariableA("TVX_TIMINGS", dir == &large ? timings.c_str() : nullptr);  // the large one only
            Program p = Start(*dir);
            if (p.startMs < 0) {
                std::printf("startup=failed %s\n", dir->c_str());
                End(p);
                return 1;
            }
            (dir == &empty ? startEmpty : startLarge).push_back(p.startMs);
            Sleep(1500);
            Responsive(p.launcher);
            (dir == &empty ? memEmpty : memLarge).push_back(PrivateMb(p, (dir == &empty ? "Empty-" : "Large-") + std::to_string(r)));
            End(p);
            Sleep(500);
        }
    }
    std::printf("startup_empty_ms=%.1f\nstartup_large_ms=%.1f\nprivate_empty_mb=%.1f\nprivate_large_mb=%.1f\n",
                Percentile(startEmpty, 0.5), Percentile(startLarge, 0.5), Percentile(memEmpty, 0.5),
                Percentile(memLarge, 0.5));
    std::fflush(stdout);

    Program p = Start(large);
    if (p.startMs < 0) return 1;
    Sleep(1500);
    Responsive(p.launcher);
    Keystrokes(p, 40);
    std::fflush(stdout);
    ShowHideKey(p, 40);  // enough samples that the 95th percentile is not the slowest one
    std::fflush(stdout);
    ConfigOpenAndSave(p, 3, "large");
    std::fflush(stdout);
    ConfigChanges(p, large);
    std::fflush(stdout);
    End(p);
    SetEnvironmentVariableA("TVX_TIMINGS", nullptr);  // the program's own timings are the large one's
    Program e = Start(empty);
    if (e.startMs >= 0) {
        Sleep(1500);
        ConfigOpenAndSave(e, 3, "empty");
        std::fflush(stdout);
    }
    End(e);
    LoadBesideRead(large);
    SaveBesideWrite(large);
    ProgramTimings(timings);
    return 0;
}
