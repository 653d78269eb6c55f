// A width and height in pixels, the companion of IntRect for sizes that cross into Windows code.
#pragma once

namespace tessary {

struct IntSize {
    int width = 0, height = 0;
    bool empty() const { return width < 1 || height < 1; }
    friend bool operator==(const IntSize&, const IntSize&) = default;
};

} // namespace tessary
