// The part that the skinned list and tree share: the control keeps its own
// behaviour and messages (it is the standard control, subclassed), its system
// scroll bars are hidden, and two skinned bars beside and under it follow its
// position whatever scrolls it.
#pragma once
#include "data/installation.h"
#include "ui/skin/win32/skin_scroll_bar.h"

#include <memory>
#include <string>

namespace tvx::win {

class SkinScrolledControl : public ScrollTarget {
public:
    SkinScrolledControl();
    ~SkinScrolledControl() override;
    SkinScrolledControl(const SkinScrolledControl&) = delete;
    SkinScrolledControl& operator=(const SkinScrolledControl&) = delete;

    // Takes over the dialog's control; the bars' images come from
    // the installation's images.
    bool Attach(HWND control, const Installation& installation);
    HWND hwnd() const override { return hwnd_; }

    // Lays the bars out again and moves their thumbs (after the dialog moved
    // or resized the control itself).
    void PlaceBars();
    void SyncBars();
    const SkinScrollBar* bar(bool vertical) const { return vertical ? vbar_.get() : hbar_.get(); }

    // The dialog's frame round the control and its bars, in the parent's
    // client coordinates: from one pixel left of and above the control to
    // the bars' 12 pixels right of and below it.
    RECT FrameRect() const;
    bool Visible() const { return hwnd_ && (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VISIBLE); }

protected:
    // The derived control's own handling; the default is the standard control's.
    virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) { return Default(msg, wp, lp); }
    virtual void OnAttached() {}
    LRESULT Default(UINT msg, WPARAM wp, LPARAM lp);
    // Scrolls by whole lines, negative towards the start.
    virtual void ScrollLines(bool vertical, int lines);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
    LRESULT Dispatch(UINT msg, WPARAM wp, LPARAM lp);
    void HideSystemBars();
    void OnWheel(WPARAM wp, bool horizontal);

    HWND hwnd_ = nullptr;
    std::unique_ptr<SkinScrollBar> vbar_, hbar_;
    RECT framed_{};        // the frame last shown, empty while hidden
    int wheelRest_ = 0;
    bool hidingBars_ = false;
    bool frozen_ = false;   // WM_SETREDRAW FALSE: the bars are synced when it ends
    int syncDepth_ = 0;
};

}  // namespace tvx::win
