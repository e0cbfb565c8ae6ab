// A push button drawn from images: normal, pressed (also while focused) and
// hover; tooltip, hand cursor, check and radio modes and an optional shape.
// It is the dialog's own owner-drawn button, subclassed.
#pragma once
#include "ui/skin/win32/skin_image.h"
#include "base/win32/win_handles.h"

#include <string>

namespace tvx::win {

class ImageButton {
public:
    enum Mode { Plain = 0, Check = 2, Radio = 4 };

    ImageButton() = default;
    ~ImageButton();
    ImageButton(const ImageButton&) = delete;
    ImageButton& operator=(const ImageButton&) = delete;

    // Takes over the dialog's button (it must have BS_OWNERDRAW).
    bool Attach(HWND button);
    HWND hwnd() const { return hwnd_; }

    // A missing path keeps the image loaded before.
    void SetImages(const std::string& normal, const std::string& pressed, const std::string& hover = std::string());
    void SetTooltip(const std::string& text);
    // The tooltip window while it exists (the dialog destroys it with itself).
    HWND tooltip() const { return tooltip_; }
    void SetMode(Mode mode) { mode_ = mode; }
    void SetChecked(bool checked);
    bool checked() const { return checked_; }
    void SetTextColor(COLORREF color) { textColor_ = color; }
    void SetFocusInset(int pixels) { focusInset_ = pixels; }
    // The window region becomes the bitmap's non-white pixels, and the
    // button takes the bitmap's size.
    void SetShape(HBITMAP shape);

    // Called by the parent for the button's WM_DRAWITEM.
    void Draw(const DRAWITEMSTRUCT& item) const;
    bool hovering() const { return hover_; }

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
    static LRESULT CALLBACK TooltipProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);

    HWND hwnd_ = nullptr;
    HWND tooltip_ = nullptr;
    SkinImage normal_, pressed_, hover_image_;
    bool hover_ = false;
    bool tracking_ = false;
    // A picture button's window text is its name for screen readers (its
    // tooltip's text), never drawn.
    bool textIsNameOnly_ = false;
    bool checked_ = false;
    Mode mode_ = Plain;
    COLORREF textColor_ = RGB(255, 255, 255);
    int focusInset_ = 0;
};

// The hand cursor: the system's, else cursor 106 of the Windows folder's
// winhlp32.exe; null when neither exists (the arrow stays).
HCURSOR HandCursor();

}  // namespace tvx::win
