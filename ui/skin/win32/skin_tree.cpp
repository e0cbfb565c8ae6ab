#include "ui/skin/win32/skin_tree.h"

#include "ui/skin/scroll_geometry.h"
#include "ui/skin/win32/subclass.h"

#include <windowsx.h>

#include <cstdlib>

namespace tvx::win {

namespace {
// Above the tree control's own timer ids.
constexpr UINT_PTR kAutoScrollTimer = 0x7401;  // 40 ms while dragging
constexpr UINT_PTR kAutoExpandTimer = 0x7402;  // 800 ms resting over a node

HTREEITEM Next(HWND tree, HTREEITEM from, WPARAM how) {
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
}
}  // namespace

SkinTreeCtrl::~SkinTreeCtrl() {
    if (parent_) RemoveSubclass(parent_, ParentProc, reinterpret_cast<UINT_PTR>(this));
}

void SkinTreeCtrl::OnAttached() {}

void SkinTreeCtrl::EnableDragging(DragRules rules) {
    rules_ = std::move(rules);
    if (!hwnd() || parent_) return;
    // The tree tells its parent when a drag begins.
    parent_ = GetParent(hwnd());
    if (parent_ && !AddSubclass(parent_, ParentProc, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this)))
        parent_ = nullptr;
}

ScrollRange SkinTreeCtrl::Range(bool vertical) const {
    SCROLLINFO si = {};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL;
    if (!hwnd() || !GetScrollInfo(hwnd(), vertical ? SB_VERT : SB_HORZ, &si)) return {};
    return {si.nMin, si.nMax, si.nPage, si.nPos};
}

void SkinTreeCtrl::Step(bool vertical, int code) {
    SendMessageA(hwnd(), vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, 0), 0);
}

void SkinTreeCtrl::ScrollTo(bool vertical, long long position) {
    const ScrollRange now = Range(vertical);
    const long long target = std::clamp(position, now.min, LastPosition(now));
    if (target == now.pos) return;
    if (!vertical) {
        SendMessageA(hwnd(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(std::min<long long>(target, 0x7FFF))), 0);
        return;
    }
    // The first visible node is moved by walking the visible nodes, which
    // has no 16-bit limit on the position.
    HTREEITEM first = Next(hwnd(), nullptr, TVGN_FIRSTVISIBLE);
    const bool down = target > now.pos;
    for (long long i = 0, n = std::llabs(target - now.pos); first && i < n; ++i) {
        HTREEITEM step = Next(hwnd(), first, down ? TVGN_NEXTVISIBLE : TVGN_PREVIOUSVISIBLE);
        if (!step) break;
        first = step;
    }
    if (first) SendMessageA(hwnd(), TVM_SELECTITEM, TVGN_FIRSTVISIBLE, reinterpret_cast<LPARAM>(first));
}

HTREEITEM SkinTreeCtrl::NodeAt(POINT client) const {
    TVHITTESTINFO hit = {};
    hit.pt = client;
    HTREEITEM node = reinterpret_cast<HTREEITEM>(SendMessageA(hwnd(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    return (hit.flags & (TVHT_ONITEM | TVHT_ONITEMINDENT | TVHT_ONITEMBUTTON | TVHT_ONITEMRIGHT)) ? node : nullptr;
}

void SkinTreeCtrl::Highlight(HTREEITEM node) {
    if (node == highlighted_) return;
    ImageList_DragShowNolock(FALSE);
    // Some tree versions keep the old highlight when asked to select none:
    // its state is cleared by hand as well.
    if (highlighted_) {
        TVITEMA item = {};
        item.mask = TVIF_STATE;
        item.hItem = highlighted_;
        item.stateMask = TVIS_DROPHILITED;
        SendMessageA(hwnd(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(hwnd(), TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(node));
    highlighted_ = node;
    ImageList_DragShowNolock(TRUE);
}

void SkinTreeCtrl::BeginDrag(HTREEITEM node, POINT at, bool rightButton) {
    if (!rules_.drop || !node || dragged_) return;
    if (rules_.canDrag && !rules_.canDrag(node)) return;
    dragged_ = node;
    hovered_ = nullptr;
    highlighted_ = nullptr;
    pointer_ = at;
    ticks_ = 0;
    releaseMessage_ = rightButton ? WM_RBUTTONUP : WM_LBUTTONUP;
    dragImage_.reset(reinterpret_cast<HIMAGELIST>(SendMessageA(hwnd(), TVM_CREATEDRAGIMAGE, 0, reinterpret_cast<LPARAM>(node))));
    if (dragImage_) {
        ImageList_BeginDrag(dragImage_.get(), 0, 0, 0);
        ImageList_DragEnter(hwnd(), at.x, at.y);
    }
    SetCapture(hwnd());
    SetTimer(hwnd(), kAutoScrollTimer, 40, nullptr);
}

void SkinTreeCtrl::DragMove(POINT at) {
    pointer_ = at;
    if (dragImage_) ImageList_DragMove(at.x, at.y);
    HTREEITEM over = NodeAt(at);
    const bool allowed = over && over != dragged_ && (!rules_.canDrop || rules_.canDrop(dragged_, over));
    Highlight(allowed ? over : nullptr);
    if (over != hovered_) {
        hovered_ = over;
        KillTimer(hwnd(), kAutoExpandTimer);
    }
    // Every move starts the resting time again.
    if (hovered_ && autoExpand_) SetTimer(hwnd(), kAutoExpandTimer, 800, nullptr);
}

void SkinTreeCtrl::AutoScrollTick() {
    const POINT pt = pointer_;
    RECT rc{};
    GetClientRect(hwnd(), &rc);
    const int distance = AutoScrollDistance(pt.y, rc.bottom);
    if (distance == 0) {
        ticks_ = 0;
        return;
    }
    if (++ticks_ % AutoScrollTickInterval(std::abs(distance)) != 0) return;
    // The drag image is hidden while the tree moves under it.
    ImageList_DragShowNolock(FALSE);
    Step(true, distance < 0 ? SB_LINEUP : SB_LINEDOWN);
    HTREEITEM edge = Next(hwnd(), nullptr, TVGN_FIRSTVISIBLE);
    if (distance > 0) {
        // The last node that is wholly shown.
        const int shown = static_cast<int>(SendMessageA(hwnd(), TVM_GETVISIBLECOUNT, 0, 0));
        for (int i = 1; i < shown && edge; ++i) {
            HTREEITEM next = Next(hwnd(), edge, TVGN_NEXTVISIBLE);
            if (!next) break;
            edge = next;
        }
    }
    ImageList_DragShowNolock(TRUE);
    Highlight(edge);
    SyncBars();
}

void SkinTreeCtrl::EndDrag(bool dropHere, POINT at) {
    if (!dragged_) return;
    HTREEITEM dragged = dragged_;
    dragged_ = nullptr;
    KillTimer(hwnd(), kAutoScrollTimer);
    KillTimer(hwnd(), kAutoExpandTimer);
    if (dragImage_) {
        ImageList_DragLeave(hwnd());
        ImageList_EndDrag();
        dragImage_.reset();
    }
    Highlight(nullptr);
    if (GetCapture() == hwnd()) ReleaseCapture();
    if (!dropHere) return;
    HTREEITEM target = NodeAt(at);
    if (target && target != dragged && (!rules_.canDrop || rules_.canDrop(dragged, target))) rules_.drop(dragged, target);
}

LRESULT SkinTreeCtrl::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (!dragged_) return Default(msg, wp, lp);
    switch (msg) {
    case WM_MOUSEMOVE:
        DragMove(POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        if (msg == releaseMessage_) EndDrag(true, POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return 0;
    case WM_KEYDOWN:
        if (wp == VK_ESCAPE) EndDrag(false, pointer_);
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lp) != hwnd()) EndDrag(false, pointer_);
        return Default(msg, wp, lp);
    case WM_TIMER:
        if (wp == kAutoScrollTimer) {
            AutoScrollTick();
            return 0;
        }
        if (wp == kAutoExpandTimer) {
            KillTimer(hwnd(), kAutoExpandTimer);
            if (hovered_ && autoExpand_) {
                // Resting on a node selects it and opens it.
                ImageList_DragShowNolock(FALSE);
                SendMessageA(hwnd(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(hovered_));
                SendMessageA(hwnd(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(hovered_));
                ImageList_DragShowNolock(TRUE);
            }
            return 0;
        }
        return Default(msg, wp, lp);
    default:
        return Default(msg, wp, lp);
    }
}

LRESULT CALLBACK SkinTreeCtrl::ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self) {
    auto* tree = reinterpret_cast<SkinTreeCtrl*>(self);
    if (msg == WM_NCDESTROY) {
        RemoveSubclass(hwnd, ParentProc, id);
        tree->parent_ = nullptr;
    } else if (msg == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lp);
        if (header->hwndFrom == tree->hwnd() &&
            (header->code == TVN_BEGINDRAGA || header->code == TVN_BEGINDRAGW || header->code == TVN_BEGINRDRAGA ||
             header->code == TVN_BEGINRDRAGW)) {
            const auto* info = reinterpret_cast<const NMTREEVIEWA*>(lp);
            const bool right = header->code == TVN_BEGINRDRAGA || header->code == TVN_BEGINRDRAGW;
            tree->BeginDrag(info->itemNew.hItem, info->ptDrag, right);
        }
    }
    return CallNextSubclass(hwnd, msg, wp, lp);
}

}  // namespace tvx::win
