// Base of every dialog of the program: created from a template of the
// resource module, run either modeless or by the program's own modal loop.
//
// The system's DialogBox loop drops thread messages (hot keys registered for
// the thread arrive with no window), so modal dialogs run their own loop that
// first offers every message to the main window's pre-translation.
#pragma once
#include "data/installation.h"
#include "ui/skin/win32/image_button.h"
#include "ui/skin/win32/skin_frame.h"
#include "ui/skin/win32/skin_image.h"
#include "ui/skin/win32/skin_list.h"
#include "ui/skin/win32/skin_tree.h"
#include "base/win32/win_handles.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace tvx::win {

// A child window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND parent, HWND child);

class Dialog {
public:
    explicit Dialog(UINT templateId);
    virtual ~Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog modally and returns the result given to End; -1 when
    // the template could not be created.
    INT_PTR RunModal(HWND owner);
    // Creates the dialog modeless (not shown).
    bool Create(HWND owner);
    // Ends a modal run with the result, or destroys a modeless dialog.
    void End(INT_PTR result);
    // No C++ exception leaves the window procedure into the system (or into
    // Explorer, where the extension's dialog runs): one that reaches it ends
    // the dialog with IDABORT, and this says why (E_OUTOFMEMORY for a failed
    // allocation, E_UNEXPECTED otherwise; S_OK while nothing went wrong).
    HRESULT Failure() const { return failure_; }

    HWND hwnd() const { return hwnd_; }
    // A control of the dialog. Found once and remembered: under Wine each
    // GetDlgItem asks the wineserver for the dialog's children.
    HWND Item(int id) const;
    // The whole text of control `id`.
    std::string BoxText(int id) const;
    // Shows the message of a MessageTexts key in a box this dialog owns;
    // returns the button the user pressed.
    int ShowKey(const char* key, UINT type = MB_OK) const;

    // Shows the message of a MessageTexts key once the message being handled
    // is done, so that a program waiting in SendMessage is not held up by
    // the box. `key` must live as long as the program (a literal); `detail`
    // (a path, say) follows the text on a line of its own.
    void ShowMessageLater(const char* key, std::string detail = std::string());

    // The window whose pre-translation sees every message of every modal
    // loop of the program first (the launcher window).
    static void SetMainWindow(Dialog* main);
    static Dialog* MainWindow();

    // Return true when the message was consumed.
    virtual bool PreTranslateMessage(MSG& msg);

    // The name a screen reader says for a control whose label is painted,
    // not a control of its own (Microsoft Active Accessibility's annotation;
    // nothing happens where the system lacks it).
    void NameForScreenReaders(int id, const std::string& name);


protected:
    virtual bool OnInitDialog() { return true; }
    // Return true when handled; `result` is then the message's result.
    virtual bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    virtual void OnCommand(int id, int code, HWND control);
    virtual void OnOk() { End(IDOK); }
    virtual void OnCancel() { End(IDCANCEL); }
    virtual void OnDestroy() {}
    // What the dialog draws over its picture (outlines, frames, its title):
    // the picture and this are drawn off screen and shown in one go, so that
    // nothing flickers. The default draws the frames of the skinned controls.
    virtual void PaintOver(HDC dc);

    // Skin frame: a background picture drawn on erase, the body drags the
    // window, labels show the picture through, and owner-drawn buttons are
    // drawn from a normal and a pressed image.
    void SetBackground(const std::string& path);
    void SetDragByBody(bool on) { dragByBody_ = on; }
    void SetTransparentLabels(bool on) { transparentLabels_ = on; }
    // Makes the template's owner-drawn button `id` an image button with a
    // normal and a pressed/hover image, and an optional tooltip.
    ImageButton* SetButtonImages(int id, const std::string& normal, const std::string& pressed,
                                 const std::string& tooltip = std::string());
    ImageButton* Button(int id);
    // The whole frame at once: background, labels that show it through,
    // dragging by the body, and every button of the table.
    void ApplyFrame(const Installation& installation, const SkinFrame& frame);
    ImageButton* ApplyButton(const Installation& installation, const FrameButton& button);
    // A tooltip for any control (image buttons have their own).
    void AddTooltip(int id, const std::string& text);
    void PaintBackground(HDC dc, HWND child, const RECT& childRect);
    // A brush of the background picture lined up with `child`, for controls
    // that paint their own background (labels, check boxes, read-only
    // boxes): text they change never leaves the old text behind.
    HBRUSH BackgroundBrushFor(HDC dc, HWND child);

    // Makes the template's report list or tree a skinned one whose scroll
    // bars are drawn from the installation's images.
    SkinListCtrl* SkinList(int id, const Installation& installation);
    SkinTreeCtrl* SkinTree(int id, const Installation& installation);
    // The frame round each skinned list and tree that is shown, with the
    // room of its bars. Dialogs that paint themselves call it; the others
    // get it from the default painting.
    void PaintControlFrames(HDC dc) const;
    // Text boxes without a border sit on white with a light outline; with
    // `widenTo`, the outline reaches to the right edge of that control too
    // (a drop button that belongs to the box).
    void OutlineTextBoxes(HDC dc, const std::vector<int>& ids, int widenTo = 0) const;

private:
    static INT_PTR CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    INT_PTR Proc(UINT msg, WPARAM wp, LPARAM lp);
    bool DrawButton(const DRAWITEMSTRUCT& item);
    // The background picture at the client's size, drawn once per size.
    HBITMAP Picture();
    void Paint();

    UINT templateId_;
    HWND hwnd_ = nullptr;
    bool modal_ = false;
    bool ended_ = false;
    INT_PTR result_ = 0;
    HRESULT failure_ = S_OK;
    SkinImage background_;
    UniqueGdi<HBITMAP> picture_;
    SIZE pictureSize_{};
    UniqueGdi<HBRUSH> backgroundBrush_;  // of picture_
    bool dragByBody_ = false;
    bool transparentLabels_ = false;
    std::map<int, std::unique_ptr<ImageButton>> buttons_;
    std::vector<std::unique_ptr<SkinScrolledControl>> skinned_;
    HWND tooltips_ = nullptr;  // destroyed with the dialog, which owns it
    std::vector<std::string> laterDetails_;  // one per posted message, in order
    mutable std::map<int, HWND> items_;       // of Item; emptied with the window
};

}  // namespace tvx::win
