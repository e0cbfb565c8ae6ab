// A scroll bar painted from the skin's images that drives a list or tree
// whose own system bars are hidden. It is a child window of the dialog, laid
// beside (vertical) or under (horizontal) the control, in the 12 pixels of
// room that the dialog's control frame leaves there.
#pragma once
#include "data/installation.h"
#include "ui/skin/scroll_geometry.h"
#include "ui/skin/win32/skin_image.h"
#include "base/win32/win_handles.h"

#include <string>

namespace tvx::win {

// Sent to the dialog after every step a bar makes: wParam low word the
// scroll code (SB_LINEUP ... SB_PAGEDOWN), high word 1 for the vertical bar;
// lParam the bar's window.
constexpr UINT kScrollStepMessage = WM_USER + 300;  // 1324

// What a bar drives.
class ScrollTarget {
public:
    virtual ~ScrollTarget() = default;
    virtual HWND hwnd() const = 0;
    virtual ScrollRange Range(bool vertical) const = 0;
    // One line or page step (SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN).
    virtual void Step(bool vertical, int code) = 0;
    // Scrolls so that `position` is the first one shown.
    virtual void ScrollTo(bool vertical, long long position) = 0;
    // Pixels at the top of the control that the vertical bar leaves free
    // (a list's header).
    virtual int TopInset() const { return 0; }
};

class SkinScrollBar {
public:
    static constexpr int kThickness = 12;
    static constexpr int kMinThumb = 10;

    SkinScrollBar(ScrollTarget& target, bool vertical);
    ~SkinScrollBar();
    SkinScrollBar(const SkinScrollBar&) = delete;
    SkinScrollBar& operator=(const SkinScrollBar&) = delete;

    // Creates the bar as a child of the control's parent and loads its
    // the installation's images.
    bool Create(const Installation& installation);
    // Lays the bar beside or under the control and shows it when the
    // control is shown.
    void Place();
    // Moves the thumb to the control's position (whatever scrolled it).
    void Sync();

    HWND hwnd() const { return hwnd_; }
    bool vertical() const { return vertical_; }
    // The control that a skinned bar window drives, or null for any other window.
    static HWND TargetOf(HWND window);

private:
    enum class Part { None, First, Second, TrackBefore, TrackAfter, Thumb };

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
    void Paint();
    int Length() const;        // along the bar
    int ArrowLength() const;
    int TrackLength() const;
    int Along(LPARAM lp) const;  // a client point's coordinate along the bar
    Part HitTest(int along) const;
    void StepFor(Part part);
    void OnPress(int along);
    void OnRelease(int along);
    void OnDrag(int along);
    void StopPress();
    void FillInfo(SCROLLBARINFO& info) const;

    ScrollTarget& target_;
    const bool vertical_;
    HWND hwnd_ = nullptr;
    SkinImage first_, second_, track_, thumb_;
    ScrollRange range_{};
    std::optional<Thumb> thumbNow_;
    Part pressed_ = Part::None;
    int pressAlong_ = 0;
    int grab_ = 0;          // pointer offset inside the thumb while dragging
    int dragOffset_ = 0;    // where the dragged thumb is drawn
};

}  // namespace tvx::win
