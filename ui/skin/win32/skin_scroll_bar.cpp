#include "ui/skin/win32/skin_scroll_bar.h"

#include "ui/skin/win32/subclass.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace tvx::win {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;      // every 50 ms while held
constexpr UINT_PTR kFirstDelayTimer = 2;  // 250 ms before the repeat starts
constexpr const char* kTargetProp = "TvxScrollTarget";

// Drawn where an image is missing, so that a bar without its pictures still works.
constexpr COLORREF kTrackColor = RGB(244, 250, 254);
constexpr COLORREF kArrowColor = RGB(10, 132, 198);
constexpr COLORREF kThumbColor = RGB(7, 191, 255);

void FillSolid(HDC dc, const RECT& rc, COLORREF color) {
    UniqueGdi<HBRUSH> brush(CreateSolidBrush(color));
    FillRect(dc, &rc, brush.get());
}

// A small triangle pointing up, down, left or right, for a missing arrow image.
void DrawArrowGlyph(HDC dc, const RECT& rc, bool vertical, bool forward) {
    const int cx = (rc.left + rc.right) / 2, cy = (rc.top + rc.bottom) / 2;
    POINT p[3];
    if (vertical) {
        const int d = forward ? 2 : -2;
        p[0] = {cx - 3, cy - d}; p[1] = {cx + 3, cy - d}; p[2] = {cx, cy + d};
    } else {
        const int d = forward ? 2 : -2;
        p[0] = {cx - d, cy - 3}; p[1] = {cx - d, cy + 3}; p[2] = {cx + d, cy};
    }
    UniqueGdi<HBRUSH> brush(CreateSolidBrush(kArrowColor));
    SelectGuard b(dc, brush.get());
    SelectGuard pen(dc, GetStockObject(NULL_PEN));
    Polygon(dc, p, 3);
}

}  // namespace

SkinScrollBar::SkinScrollBar(ScrollTarget& target, bool vertical) : target_(target), vertical_(vertical) {}

SkinScrollBar::~SkinScrollBar() {
    if (hwnd_) DestroyWindow(hwnd_);
}

HWND SkinScrollBar::TargetOf(HWND window) {
    if (!window) return nullptr;
    return static_cast<HWND>(GetPropA(window, kTargetProp));
}

bool SkinScrollBar::Create(const Installation& installation) {
    HWND control = target_.hwnd();
    HWND parent = control ? GetParent(control) : nullptr;
    if (!parent || hwnd_) return false;
    if (vertical_) {
        first_.Load(installation.Image("VSUp.png"));
        second_.Load(installation.Image("VSDown.png"));
        track_.Load(installation.Image("VSBar.png"));
        thumb_.Load(installation.Image("VSThumn.png"));
    } else {
        first_.Load(installation.Image("HSLeft.png"));
        second_.Load(installation.Image("HSRight.png"));
        track_.Load(installation.Image("HSBar.png"));
        thumb_.Load(installation.Image("HSThumn.png"));
    }
    // A plain static window, subclassed: no window class of our own to
    // register, so nothing outlives a module that is unloaded.
    hwnd_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_CLIPSIBLINGS | SS_NOTIFY, 0, 0, kThickness, kThickness,
                            parent, nullptr, reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)),
                            nullptr);
    if (!hwnd_) return false;
    SetPropA(hwnd_, kTargetProp, control);
    AddSubclass(hwnd_, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
    Place();
    return true;
}

void SkinScrollBar::Place() {
    if (!hwnd_) return;
    HWND control = target_.hwnd();
    HWND parent = GetParent(hwnd_);
    RECT rc{};
    GetWindowRect(control, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    RECT bar = vertical_ ? RECT{rc.right, rc.top + target_.TopInset(), rc.right + kThickness, rc.bottom}
                         : RECT{rc.left, rc.bottom, rc.right, rc.bottom + kThickness};
    // The control's own flag: while the dialog is still hidden no child counts as visible.
    const bool show = (GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE) != 0;
    RECT old{};
    GetWindowRect(hwnd_, &old);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&old), 2);
    const bool wasShown = (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
    if (show == wasShown && EqualRect(&old, &bar)) {
        Sync();
        return;
    }
    SetWindowPos(hwnd_, HWND_TOP, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top,
                 SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    Sync();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

int SkinScrollBar::Length() const {
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    return vertical_ ? rc.bottom : rc.right;
}

int SkinScrollBar::ArrowLength() const { return std::min(kThickness, Length() / 2); }
int SkinScrollBar::TrackLength() const { return std::max(0, Length() - 2 * ArrowLength()); }

void SkinScrollBar::Sync() {
    if (!hwnd_) return;
    const ScrollRange range = target_.Range(vertical_);
    const std::optional<Thumb> thumb = ThumbFor(range, TrackLength(), kMinThumb);
    const bool same = range.min == range_.min && range.max == range_.max && range.page == range_.page &&
                      range.pos == range_.pos && thumb.has_value() == thumbNow_.has_value() &&
                      (!thumb || (thumb->offset == thumbNow_->offset && thumb->length == thumbNow_->length));
    range_ = range;
    thumbNow_ = thumb;
    if (!same && pressed_ != Part::Thumb) InvalidateRect(hwnd_, nullptr, FALSE);
}

int SkinScrollBar::Along(LPARAM lp) const { return vertical_ ? GET_Y_LPARAM(lp) : GET_X_LPARAM(lp); }

SkinScrollBar::Part SkinScrollBar::HitTest(int along) const {
    const int arrow = ArrowLength(), length = Length();
    // A bar whose control cannot scroll has no part that acts, arrows included.
    if (!Scrollable(range_) || along < 0 || along >= length) return Part::None;
    if (along < arrow) return Part::First;
    if (along >= length - arrow) return Part::Second;
    if (!thumbNow_) return Part::None;
    const int start = arrow + thumbNow_->offset;
    if (along < start) return Part::TrackBefore;
    if (along >= start + thumbNow_->length) return Part::TrackAfter;
    return Part::Thumb;
}

void SkinScrollBar::StepFor(Part part) {
    int code;
    switch (part) {
    case Part::First: code = SB_LINEUP; break;
    case Part::Second: code = SB_LINEDOWN; break;
    case Part::TrackBefore: code = SB_PAGEUP; break;
    case Part::TrackAfter: code = SB_PAGEDOWN; break;
    default: return;
    }
    target_.Step(vertical_, code);
    Sync();
    SendMessageA(GetParent(hwnd_), kScrollStepMessage, MAKEWPARAM(code, vertical_ ? 1 : 0),
                 reinterpret_cast<LPARAM>(hwnd_));
}

void SkinScrollBar::OnPress(int along) {
    Sync();
    const Part part = HitTest(along);
    if (part == Part::None) return;  // nothing to scroll: the bar does nothing
    pressed_ = part;
    pressAlong_ = along;
    SetCapture(hwnd_);
    if (part == Part::Thumb) {
        grab_ = along - ArrowLength() - thumbNow_->offset;
        dragOffset_ = thumbNow_->offset;
        return;
    }
    StepFor(part);
    SetTimer(hwnd_, kFirstDelayTimer, 250, nullptr);
}

void SkinScrollBar::OnDrag(int along) {
    pressAlong_ = along;
    if (pressed_ != Part::Thumb || !thumbNow_) return;
    const int room = TrackLength() - thumbNow_->length;
    dragOffset_ = std::clamp(along - ArrowLength() - grab_, 0, std::max(room, 0));
    const long long position = PositionForThumb(range_, TrackLength(), thumbNow_->length, dragOffset_);
    if (position != target_.Range(vertical_).pos) target_.ScrollTo(vertical_, position);
    Sync();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void SkinScrollBar::StopPress() {
    KillTimer(hwnd_, kRepeatTimer);
    KillTimer(hwnd_, kFirstDelayTimer);
    pressed_ = Part::None;
}

void SkinScrollBar::OnRelease(int along) {
    const Part part = pressed_;
    StopPress();
    if (GetCapture() == hwnd_) ReleaseCapture();
    // Released over the arrow it pressed: one last step.
    if ((part == Part::First || part == Part::Second) && HitTest(along) == part) StepFor(part);
    Sync();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void SkinScrollBar::FillInfo(SCROLLBARINFO& info) const {
    GetWindowRect(hwnd_, &info.rcScrollBar);
    info.dxyLineButton = ArrowLength();
    const int arrow = ArrowLength();
    if (thumbNow_) {
        const int offset = pressed_ == Part::Thumb ? dragOffset_ : thumbNow_->offset;
        info.xyThumbTop = arrow + offset;
        info.xyThumbBottom = arrow + offset + thumbNow_->length;
        info.rgstate[0] = IsWindowVisible(hwnd_) ? 0 : STATE_SYSTEM_INVISIBLE;
    } else {
        info.xyThumbTop = info.xyThumbBottom = 0;
        info.rgstate[0] = STATE_SYSTEM_UNAVAILABLE | (IsWindowVisible(hwnd_) ? 0 : STATE_SYSTEM_INVISIBLE);
    }
}

void SkinScrollBar::Paint() {
    PaintDC paint(hwnd_);
    RECT rc{};
    GetClientRect(hwnd_, &rc);
    // Drawn off screen first, so that a held arrow does not flicker.
    MemoryDC mem(paint.get());
    UniqueGdi<HBITMAP> bitmap(
        CreateCompatibleBitmap(paint.get(), std::max<LONG>(rc.right, 1), std::max<LONG>(rc.bottom, 1)));
    SelectGuard select(mem.get(), bitmap.get());
    const HDC dc = mem.get();
    FillSolid(dc, rc, kTrackColor);
    track_.Draw(dc, rc);
    const int arrow = ArrowLength(), length = Length();
    const RECT firstRc = vertical_ ? RECT{0, 0, rc.right, arrow} : RECT{0, 0, arrow, rc.bottom};
    const RECT secondRc = vertical_ ? RECT{0, length - arrow, rc.right, length} : RECT{length - arrow, 0, length, rc.bottom};
    for (auto [image, part, forward] : {std::tuple{&first_, firstRc, false}, std::tuple{&second_, secondRc, true}}) {
        if (!image->empty()) image->Draw(dc, part);
        else DrawArrowGlyph(dc, part, vertical_, forward);
    }
    if (thumbNow_) {
        const int offset = arrow + (pressed_ == Part::Thumb ? dragOffset_ : thumbNow_->offset);
        const RECT thumbRc = vertical_ ? RECT{0, offset, rc.right, offset + thumbNow_->length}
                                       : RECT{offset, 0, offset + thumbNow_->length, rc.bottom};
        if (!thumb_.empty()) thumb_.DrawSliced(dc, thumbRc, vertical_);
        else FillSolid(dc, thumbRc, kThumbColor);
    }
    BitBlt(paint.get(), 0, 0, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
}

LRESULT CALLBACK SkinScrollBar::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR self) {
    auto* bar = reinterpret_cast<SkinScrollBar*>(self);
    if (msg == WM_NCDESTROY) {
        RemoveSubclass(hwnd, Proc, 1);
        RemovePropA(hwnd, kTargetProp);
        bar->hwnd_ = nullptr;
        return CallNextSubclass(hwnd, msg, wp, lp);
    }
    return bar->OnMessage(msg, wp, lp);
}

LRESULT SkinScrollBar::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_NCHITTEST:
        return HTCLIENT;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint();
        return 0;
    case WM_SIZE:
        Sync();
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnPress(Along(lp));
        return 0;
    case WM_MOUSEMOVE:
        if (pressed_ != Part::None) OnDrag(Along(lp));
        return 0;
    case WM_LBUTTONUP:
        if (pressed_ != Part::None) OnRelease(Along(lp));
        return 0;
    case WM_CAPTURECHANGED:
        if (pressed_ != Part::None && reinterpret_cast<HWND>(lp) != hwnd_) {
            StopPress();
            Sync();
            InvalidateRect(hwnd_, nullptr, FALSE);
        }
        return 0;
    case WM_TIMER:
        if (wp == kFirstDelayTimer) {
            KillTimer(hwnd_, kFirstDelayTimer);
            SetTimer(hwnd_, kRepeatTimer, 50, nullptr);
        } else if (wp == kRepeatTimer && pressed_ != Part::None) {
            // Steps repeat while the pointer stays on the part it pressed; a
            // page step stops once the thumb has come under the pointer.
            if (HitTest(pressAlong_) == pressed_) StepFor(pressed_);
        }
        return 0;
    case WM_SETCURSOR:
        SetCursor(LoadCursor(nullptr, IDC_ARROW));
        return TRUE;
    case SBM_GETSCROLLINFO: {
        auto* info = reinterpret_cast<SCROLLINFO*>(lp);
        if (!info) return FALSE;
        info->nMin = static_cast<int>(range_.min);
        info->nMax = static_cast<int>(range_.max);
        info->nPage = static_cast<UINT>(std::max<long long>(range_.page, 0));
        info->nPos = static_cast<int>(range_.pos);
        info->nTrackPos = thumbNow_ ? static_cast<int>(PositionForThumb(range_, TrackLength(), thumbNow_->length,
                                                                        pressed_ == Part::Thumb ? dragOffset_ : thumbNow_->offset))
                                    : 0;
        return TRUE;
    }
    case SBM_GETSCROLLBARINFO: {
        auto* info = reinterpret_cast<SCROLLBARINFO*>(lp);
        if (!info) return FALSE;
        FillInfo(*info);
        return TRUE;
    }
    default:
        return CallNextSubclass(hwnd_, msg, wp, lp);
    }
}

}  // namespace tvx::win
