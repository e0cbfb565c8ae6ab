// A dialog in the program's skin: a background picture drawn off screen
// with what the dialog paints over it, the body that drags the window,
// labels that show the picture through, owner-drawn image buttons with their
// tooltips, and report lists and trees whose scroll bars are drawn from the
// installation's images. Each window describes its frame as a table
// (SkinFrame) and puts it on with ApplyFrame.
#pragma once
#include "data/installation.h"
#include "ui/skin/win32/dialog.h"
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

class SkinnedDialog : public Dialog {
public:
    using Dialog::Dialog;
    ~SkinnedDialog() override;

protected:
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

    INT_PTR FrameMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    bool DrawButton(const DRAWITEMSTRUCT& item);
    // The background picture at the client's size, drawn once per size.
    HBITMAP Picture();
    void Paint();

    SkinImage background_;
    UniqueGdi<HBITMAP> picture_;
    SIZE pictureSize_{};
    UniqueGdi<HBRUSH> backgroundBrush_;  // of picture_
    bool dragByBody_ = false;
    bool transparentLabels_ = false;
    std::map<int, std::unique_ptr<ImageButton>> buttons_;
    std::vector<std::unique_ptr<SkinScrolledControl>> skinned_;
    HWND tooltips_ = nullptr;  // destroyed with the dialog, which owns it
};

}  // namespace tvx::win
