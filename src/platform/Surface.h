// An off-screen 32-bit drawing surface: a top-down DIB section selected into its own memory DC.
// Pixels are 0xAARRGGBB words (BGRA bytes), directly addressable for our own scalers.
#pragma once
#include "platform/Handles.h"
#include <cstdint>
#include <utility>

namespace tessary {

class Surface {
public:
    Surface() = default;
    Surface(int width, int height) { Create(width, height); }
    // A moved-from surface is empty (a defaulted move would leave it pointing at the pixels).
    Surface(Surface&& o) noexcept { *this = std::move(o); }
    Surface& operator=(Surface&&) noexcept;
    ~Surface() { Reset(); }

    // (Re)creates the surface; returns false (and leaves it empty) when the size is not positive
    // or the bitmap cannot be made. Contents start black.
    bool Create(int width, int height);
    void Reset();

    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return bmp_.get(); }
    int width() const { return w_; }
    int height() const { return h_; }
    bool empty() const { return !bits_; }
    std::uint32_t* bits() const { return bits_; }
    std::uint32_t* row(int y) const { return bits_ + static_cast<std::ptrdiff_t>(y) * w_; }
    std::uint32_t Pixel(int x, int y) const { return row(y)[x]; }
    void Fill(COLORREF colour);
    // Copies the whole surface to dc at (x, y).
    void BlitTo(HDC dc, int x, int y) const;

private:
    UniqueMemDC dc_;
    UniqueBitmap bmp_;
    HGDIOBJ oldBitmap_ = nullptr;
    std::uint32_t* bits_ = nullptr;
    int w_ = 0, h_ = 0;
};

} // namespace tessary
