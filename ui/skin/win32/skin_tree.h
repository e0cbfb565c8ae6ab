// The skinned tree: hidden system scroll bars with skinned ones, the mouse
// wheel, and dragging of nodes with either button, with auto-scroll near
// the edges and auto-expansion of a node the pointer rests on.
#pragma once
#include "ui/skin/win32/skin_scrolled.h"

#include <commctrl.h>

#include <functional>

namespace tvx::win {

class SkinTreeCtrl : public SkinScrolledControl {
public:
    SkinTreeCtrl() = default;
    ~SkinTreeCtrl() override;

    // Dragging is on once a drop handler is set. `canDrag` decides which
    // nodes may be picked up, `canDrop` where one may land; `drop` is told
    // the dragged node and the node it was released on.
    struct DragRules {
        std::function<bool(HTREEITEM node)> canDrag;
        std::function<bool(HTREEITEM dragged, HTREEITEM target)> canDrop;
        std::function<void(HTREEITEM dragged, HTREEITEM target)> drop;
    };
    void EnableDragging(DragRules rules);
    void SetAutoExpand(bool on) { autoExpand_ = on; }
    bool dragging() const { return dragged_ != nullptr; }

    ScrollRange Range(bool vertical) const override;
    void Step(bool vertical, int code) override;
    void ScrollTo(bool vertical, long long position) override;

protected:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    void OnAttached() override;

private:
    static LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
    void BeginDrag(HTREEITEM node, POINT at, bool rightButton);
    void DragMove(POINT at);
    void EndDrag(bool dropHere, POINT at);
    void AutoScrollTick();
    HTREEITEM NodeAt(POINT client) const;
    void Highlight(HTREEITEM node);

    HWND parent_ = nullptr;
    DragRules rules_;
    bool autoExpand_ = true;
    HTREEITEM dragged_ = nullptr;
    HTREEITEM hovered_ = nullptr;
    HTREEITEM highlighted_ = nullptr;
    POINT pointer_{};  // where the pointer was last seen while dragging, client coordinates
    UINT releaseMessage_ = 0;
    UniqueImageList dragImage_;
    int ticks_ = 0;
};

}  // namespace tvx::win
