// PNG images of the skin, decoded with GDI+ and drawn stretched.
#pragma once
#include "base/win32/win_handles.h"

#include <memory>
#include <string>

namespace Gdiplus { class Bitmap; }

namespace tvx::win {

// GDI+ for the lifetime of the object (the program starts it once; the shell
// extension around each dialog).
class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool started() const { return token_ != 0; }

private:
    ULONG_PTR token_ = 0;
};

class SkinImage {
public:
    SkinImage();
    ~SkinImage();
    SkinImage(SkinImage&&) noexcept;
    SkinImage& operator=(SkinImage&&) noexcept;

    // Loads from an ANSI path; an image that cannot be loaded stays empty and
    // is simply not drawn.
    bool Load(const std::string& ansiPath);
    bool empty() const { return !bitmap_; }
    void Reset();
    // The whole image stretched into the rectangle.
    void Draw(HDC dc, const RECT& target) const;
    // Stretched along one direction only between its two ends, which keep
    // their size (a scroll thumb keeps its rounded ends at any length).
    void DrawSliced(HDC dc, const RECT& target, bool vertical) const;
    // Stretched whole, unless the target is much wider than the image in
    // proportion: then its rounded ends keep their shape (a wide text button
    // looks like the others instead of showing drawn-out corners).
    void DrawKeepingEnds(HDC dc, const RECT& target) const;

private:
    // Shared with the other images of this thread loaded from the same file
    // while any of them lives: a dialog's buttons mostly show the same two
    // pictures, and decoding a PNG file is what costs.
    std::shared_ptr<Gdiplus::Bitmap> bitmap_;
};

}  // namespace tvx::win
