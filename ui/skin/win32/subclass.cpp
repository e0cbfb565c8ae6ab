#include "ui/skin/win32/subclass.h"

#include <memory>
#include <vector>

namespace tvx::win {

namespace {

struct Link {
    SUBCLASSPROC proc;
    UINT_PTR id;
    DWORD_PTR data;
    bool removed = false;
    std::shared_ptr<Link> older;  // the subclass added before this one
};

// What a subclassed window keeps in GWLP_USERDATA. A link stays alive while
// a callback of it runs, even once it is taken off.
struct Chain {
    static constexpr DWORD kMark = 0x54565853;  // "TVXS": the data is a chain of ours
    DWORD mark = kMark;
    WNDPROC original = nullptr;
    std::shared_ptr<Link> newest;
    std::vector<std::shared_ptr<Link>> running;  // the callbacks running now, innermost last
};

LRESULT CALLBACK ChainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

Chain* ChainOf(HWND hwnd) {
    auto* chain = reinterpret_cast<Chain*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return chain && chain->mark == Chain::kMark ? chain : nullptr;
}

std::shared_ptr<Link> LiveFrom(std::shared_ptr<Link> link) {
    while (link && link->removed) link = link->older;
    return link;
}

// The window goes back to its own procedure once no subclass is left and no
// callback runs. When someone else subclassed the window after us, the
// chain stays (empty): their procedure still hands messages to ours.
void DropIfEmpty(HWND hwnd, Chain* chain) {
    if (LiveFrom(chain->newest) || !chain->running.empty()) return;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) != ChainProc) return;
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->original));
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    delete chain;
}

LRESULT CallLink(HWND hwnd, Chain* chain, const std::shared_ptr<Link>& link, UINT msg, WPARAM wp, LPARAM lp) {
    if (!link) return CallWindowProcW(chain->original, hwnd, msg, wp, lp);
    chain->running.push_back(link);
    const LRESULT result = link->proc(hwnd, msg, wp, lp, link->id, link->data);
    chain->running.pop_back();
    return result;
}

LRESULT CALLBACK ChainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Chain* chain = ChainOf(hwnd);
    if (!chain) return DefWindowProcW(hwnd, msg, wp, lp);
    const LRESULT result = CallLink(hwnd, chain, LiveFrom(chain->newest), msg, wp, lp);
    if (msg == WM_NCDESTROY && chain->running.empty()) {
        // Nothing comes after this one: every subclass goes with the window.
        if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == ChainProc)
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chain->original));
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        delete chain;
        return result;
    }
    DropIfEmpty(hwnd, chain);
    return result;
}

}  // namespace

bool AddSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
    if (!hwnd || !proc || !IsWindow(hwnd)) return false;
    Chain* chain = ChainOf(hwnd);
    if (!chain) {
        if (GetWindowLongPtrW(hwnd, GWLP_USERDATA) != 0) return false;  // the window's own data
        chain = new Chain;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(chain));
        chain->original = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ChainProc)));
    }
    for (auto link = LiveFrom(chain->newest); link; link = LiveFrom(link->older))
        if (link->proc == proc && link->id == id) {
            link->data = data;
            return true;
        }
    auto link = std::make_shared<Link>();
    link->proc = proc;
    link->id = id;
    link->data = data;
    link->older = chain->newest;
    chain->newest = link;
    return true;
}

bool RemoveSubclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id) {
    Chain* chain = ChainOf(hwnd);
    if (!chain) return false;
    for (auto link = chain->newest; link; link = link->older) {
        if (link->removed || link->proc != proc || link->id != id) continue;
        link->removed = true;
        // Unlinked for later messages; a callback running now still finds
        // the ones before it.
        if (chain->newest == link) {
            chain->newest = link->older;
        } else {
            for (auto newer = chain->newest; newer; newer = newer->older)
                if (newer->older == link) {
                    newer->older = link->older;
                    break;
                }
        }
        DropIfEmpty(hwnd, chain);
        return true;
    }
    return false;
}

LRESULT CallNextSubclass(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    Chain* chain = ChainOf(hwnd);
    if (!chain) return DefWindowProcW(hwnd, msg, wp, lp);
    const std::shared_ptr<Link> current = chain->running.empty() ? nullptr : chain->running.back();
    return CallLink(hwnd, chain, current ? LiveFrom(current->older) : LiveFrom(chain->newest), msg, wp, lp);
}

}  // namespace tvx::win
