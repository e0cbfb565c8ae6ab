#include "ui/skin/win32/skin_image.h"

#include <objidl.h>
#include <gdiplus.h>

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
    int n = MultiByteToWideChar(CP_ACP, 0, ansiPath.c_str(), -1, nullptr, 0);
    if (n <= 0) return false;
    std::vector<wchar_t> wide(static_cast<size_t>(n));
    MultiByteToWideChar(CP_ACP, 0, ansiPath.c_str(), -1, wide.data(), n);
    if (GetFileAttributesW(wide.data()) == INVALID_FILE_ATTRIBUTES) return false;
    std::unique_ptr<Gdiplus::Bitmap> bmp(new Gdiplus::Bitmap(wide.data()));
    if (!bmp || bmp->GetLastStatus() != Gdiplus::Ok || bmp->GetWidth() == 0) return false;
    bitmap_ = std::move(bmp);
    return true;
}

void SkinImage::Draw(HDC dc, const RECT& target) const {
    if (!bitmap_) return;
    Gdiplus::Graphics g(dc);
    Gdiplus::Rect dest(target.left, target.top, target.right - target.left, target.bottom - target.top);
    g.DrawImage(bitmap_.get(), dest, 0, 0, static_cast<INT>(bitmap_->GetWidth()),
                static_cast<INT>(bitmap_->GetHeight()), Gdiplus::UnitPixel);
}

}  // namespace tvx::win
