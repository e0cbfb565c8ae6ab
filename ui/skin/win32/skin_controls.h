// Skinned forms of the standard combo box and edit box (both subclassed, so
// they keep the standard controls' messages and behaviour).
#pragma once
#include "base/win32/win_handles.h"

#include <string>

namespace tvx::win {

// A drop-down list combo (owner-drawn, with strings) that paints its items
// on white and its arrow from an image; its drop-down list can be made
// taller by some pixels.
struct SkinComboBox {
    static void Attach(HWND combo, const std::string& arrowImage, int extraDropHeight);
    // The parent forwards WM_MEASUREITEM and WM_DRAWITEM of the combo here.
    static LRESULT HandleOwnerDraw(UINT msg, LPARAM lp);
    // The text of a row, whatever its length.
    static std::string ItemText(HWND combo, int index);
};

// An edit box with a flat border of two one-pixel rectangles in the
// button-highlight colour, redrawn when the pointer enters or leaves it and
// when it gains or loses the focus.
struct FlatEdit {
    static void Attach(HWND edit);
};

}  // namespace tvx::win
