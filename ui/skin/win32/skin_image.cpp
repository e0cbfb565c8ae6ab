#include "ui/skin/win32/skin_image.h"

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace tvx::win {

GdiplusSession::GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token_, &input, nullptr) != Gdiplus::Ok) token_ = 0;
}

GdiplusSession::~GdiplusSession() {
    if (token_ != 0) Gdiplus::GdiplusShutdown(token_);
}

SkinImage::SkinImage() = default;
SkinImage::~SkinImage() = default;
SkinImage::SkinImage(SkinImage&&) noexcept = default;
SkinImage& SkinImage::operator=(SkinImage&&) noexcept = default;

void SkinImage::Reset() { bitmap_.reset(); }

bool SkinImage::Load(const std::string& ansiPath) {
    bitmap_.reset();
    // Per thread: GDI+ does not let two threads draw one image at once (the
    // shell extension's dialogs run on Explorer's threads). The images of a
    // thread are drawn one after the other.
    thread_local std::unordered_map<std::string, std::weak_ptr<Gdiplus::Bitmap>> decoded;
    auto found = decoded.find(ansiPath);
    if (found != decoded.end()) {
        bitmap_ = found->second.lock();
        if (bitmap_) return true;
        decoded.erase(found);
    }
    int n = MultiByteToWideChar(CP_ACP, 0, ansiPath.c_str(), -1, nullptr, 0);
    if (n <= 0) return false;
    std::vector<wchar_t> wide(static_cast<size_t>(n));
    MultiByteToWideChar(CP_ACP, 0, ansiPath.c_str(), -1, wide.data(), n);
    if (GetFileAttributesW(wide.data()) == INVALID_FILE_ATTRIBUTES) return false;
    std::shared_ptr<Gdiplus::Bitmap> bmp(new Gdiplus::Bitmap(wide.data()));
    if (!bmp || bmp->GetLastStatus() != Gdiplus::Ok || bmp->GetWidth() == 0) return false;
    bitmap_ = std::move(bmp);
    decoded[ansiPath] = bitmap_;
    return true;
}

namespace {
// Draws a part of the bitmap into a part of the target. Tiling at the edges
// keeps a stretched image from fading into its surroundings.
void DrawPart(Gdiplus::Graphics& g, Gdiplus::Bitmap& bitmap, const Gdiplus::Rect& dest, INT sx, INT sy, INT sw, INT sh) {
    if (dest.Width <= 0 || dest.Height <= 0 || sw <= 0 || sh <= 0) return;
    Gdiplus::ImageAttributes attributes;
    attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
    g.DrawImage(&bitmap, dest, sx, sy, sw, sh, Gdiplus::UnitPixel, &attributes);
}
}  // namespace

void SkinImage::Draw(HDC dc, const RECT& target) const {
    if (!bitmap_) return;
    Gdiplus::Graphics g(dc);
    Gdiplus::Rect dest(target.left, target.top, target.right - target.left, target.bottom - target.top);
    DrawPart(g, *bitmap_, dest, 0, 0, static_cast<INT>(bitmap_->GetWidth()), static_cast<INT>(bitmap_->GetHeight()));
}

void SkinImage::DrawKeepingEnds(HDC dc, const RECT& target) const {
    if (!bitmap_) return;
    const long long w = bitmap_->GetWidth(), h = bitmap_->GetHeight();
    const long long destW = target.right - target.left, destH = target.bottom - target.top;
    // More than a quarter wider than the image's own proportions.
    if (h > 0 && destH > 0 && destW * h * 4 > w * destH * 5) DrawSliced(dc, target, false);
    else Draw(dc, target);
}

void SkinImage::DrawSliced(HDC dc, const RECT& target, bool vertical) const {
    if (!bitmap_) return;
    const INT w = static_cast<INT>(bitmap_->GetWidth()), h = static_cast<INT>(bitmap_->GetHeight());
    const INT destW = target.right - target.left, destH = target.bottom - target.top;
    const INT sourceLength = vertical ? h : w, destLength = vertical ? destH : destW;
    // The ends keep the scale the image has across the bar.
    const INT across = vertical ? w : h, destAcross = vertical ? destW : destH;
    const INT cap = sourceLength / 3;
    const INT destCap = across > 0 ? cap * destAcross / across : cap;
    if (cap <= 0 || destCap <= 0 || 2 * destCap >= destLength) {
        Draw(dc, target);
        return;
    }
    Gdiplus::Graphics g(dc);
    const INT x = target.left, y = target.top;
    // The middle first, reaching two pixels under each end: the ends' scaled
    // edges are partly transparent, and without it a light line shows there.
    const INT under = std::min<INT>(2, destCap);
    if (vertical) {
        DrawPart(g, *bitmap_, {x, y + destCap - under, destW, destH - 2 * destCap + 2 * under}, 0, cap, w, h - 2 * cap);
        DrawPart(g, *bitmap_, {x, y, destW, destCap}, 0, 0, w, cap);
        DrawPart(g, *bitmap_, {x, y + destH - destCap, destW, destCap}, 0, h - cap, w, cap);
    } else {
        DrawPart(g, *bitmap_, {x + destCap - under, y, destW - 2 * destCap + 2 * under, destH}, cap, 0, w - 2 * cap, h);
        DrawPart(g, *bitmap_, {x, y, destCap, destH}, 0, 0, cap, h);
        DrawPart(g, *bitmap_, {x + destW - destCap, y, destCap, destH}, w - cap, 0, cap, h);
    }
}

}  // namespace tvx::win
