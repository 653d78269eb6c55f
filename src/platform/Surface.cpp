#include "platform/Surface.h"

namespace tessary {

Surface& Surface::operator=(Surface&& o) noexcept {
    if (this != &o) {
        Reset();
        dc_ = std::move(o.dc_);
        bmp_ = std::move(o.bmp_);
        oldBitmap_ = std::exchange(o.oldBitmap_, nullptr);
        bits_ = std::exchange(o.bits_, nullptr);
        w_ = std::exchange(o.w_, 0);
        h_ = std::exchange(o.h_, 0);
    }
    return *this;
}

bool Surface::Create(int width, int height) {
    Reset();
    if (width <= 0 || height <= 0)
        return false;
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height; // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemDC dc(CreateCompatibleDC(nullptr));
    if (!bmp || !dc || !bits)
        return false;
    oldBitmap_ = SelectObject(dc.get(), bmp.get());
    dc_ = std::move(dc);
    bmp_ = std::move(bmp);
    bits_ = static_cast<std::uint32_t*>(bits);
    w_ = width;
    h_ = height;
    return true;
}

void Surface::Reset() {
    if (dc_ && oldBitmap_)
        SelectObject(dc_.get(), oldBitmap_);
    oldBitmap_ = nullptr;
    dc_.reset();
    bmp_.reset();
    bits_ = nullptr;
    w_ = h_ = 0;
}

void Surface::Fill(COLORREF colour) {
    const std::uint32_t px =
        0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (std::ptrdiff_t i = 0, n = static_cast<std::ptrdiff_t>(w_) * h_; i < n; ++i)
        bits_[i] = px;
}

void Surface::BlitTo(HDC dc, int x, int y) const {
    if (bits_)
        BitBlt(dc, x, y, w_, h_, dc_.get(), 0, 0, SRCCOPY);
}

} // namespace tessary
