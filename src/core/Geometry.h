// Value types and rounding every layer shares: a rectangle and a size in pixels (converted to
// RECT and SIZE only in Windows files), and the one rounding rule of the program's arithmetic.
#pragma once

namespace tessary {

struct IntRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const IntRect&, const IntRect&) = default;
};

// Whether the two rectangles share at least one pixel.
bool Intersects(const IntRect& a, const IntRect& b);

struct IntSize {
    int width = 0, height = 0;
    bool empty() const { return width < 1 || height < 1; }
    friend bool operator==(const IntSize&, const IntSize&) = default;
};

// Rounding to the nearest integer with halves to the even neighbour.
double RoundHalfEven(double value);
// The same as an int: NaN gives 0, values beyond the int range saturate.
int RoundToInt(double value);

} // namespace tessary
