// The skinned report list and its painted header.
#pragma once
#include "ui/skin/win32/skin_scrolled.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace tvx::win {

// A list header painted in one colour, each heading aligned by its column's
// code (0 left, 1 centre, 2 right) and drawn 2 pixels lower than usual; its
// height is the standard one times a factor.
class CHeaderCtrlCl {
public:
    CHeaderCtrlCl() = default;
    ~CHeaderCtrlCl();
    CHeaderCtrlCl(const CHeaderCtrlCl&) = delete;
    CHeaderCtrlCl& operator=(const CHeaderCtrlCl&) = delete;

    bool Attach(HWND header);
    HWND hwnd() const { return hwnd_; }
    void SetColor(COLORREF color);
    void SetTextColor(COLORREF color);
    void SetHeightFactor(double factor) { heightFactor_ = factor; }
    void SetAlignment(int column, int code);
    // The column whose heading carries the sort mark, or -1 for none.
    void SetSortMark(int column, bool ascending);

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR self);
    void Paint();

    HWND hwnd_ = nullptr;
    COLORREF color_ = RGB(161, 222, 255);
    COLORREF textColor_ = RGB(31, 78, 107);
    double heightFactor_ = 1.0;
    std::vector<int> alignment_;
    int sortColumn_ = -1;
    bool sortAscending_ = true;
};

// Hands an image list to a list view that only borrows it: the list is given
// LVS_SHAREIMAGELISTS first, so that it never destroys the image list with its
// window; the caller's owner (a UniqueImageList) destroys it, once, after the
// window is gone. Without that style a list view destroys the image lists it
// holds, and the owner's destroy would free them a second time.
void LendImageList(HWND listView, int which, HIMAGELIST images);

// Appends a row that shows `text` in the first column of a report list.
void AppendTextRow(HWND listView, const std::string& text);

class SkinListCtrl : public SkinScrolledControl {
public:
    enum Align { Left = 0, Center = 1, Right = 2 };

    SkinListCtrl() = default;

    // Rows of this height in pixels (used when above 0).
    void SetRowHeight(int pixels);
    void SetHeaderColor(int red, int green, int blue) { header_.SetColor(RGB(red, green, blue)); }
    CHeaderCtrlCl& header() { return header_; }
    // Adds a column whose heading is aligned by `align`.
    int InsertColumn(int index, const std::string& heading, Align align, int width);

    ScrollRange Range(bool vertical) const override;
    void Step(bool vertical, int code) override;
    void ScrollTo(bool vertical, long long position) override;
    int TopInset() const override;

protected:
    void OnAttached() override;
    void ScrollLines(bool vertical, int lines) override;

private:
    int RowHeight() const;

    CHeaderCtrlCl header_;
    UniqueImageList rowHeightImages_;
};

}  // namespace tvx::win
