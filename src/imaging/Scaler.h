// Our own scaler for 32-bit pixel buffers. Reductions average over the exact area each destination
// pixel covers (what GDI's HALFTONE mode promises and Wine does not do); enlargements interpolate.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessary {

// 32-bit pixels (0xAARRGGBB words, BGRA bytes), top-down rows, stride counted in pixels.
struct PixelView {
    std::uint32_t* pixels = nullptr;
    int width = 0, height = 0, stride = 0;
};
struct ConstPixelView {
    const std::uint32_t* pixels = nullptr;
    int width = 0, height = 0, stride = 0;
    ConstPixelView() = default;
    ConstPixelView(const std::uint32_t* p, int w, int h, int s) : pixels(p), width(w), height(h), stride(s) {}
    ConstPixelView(const PixelView& v)
        : pixels(v.pixels), width(v.width), height(v.height), stride(v.stride) {}
};

// A rectangle by position and size, in the order StretchBlt takes them.
struct ScaleRect {
    int x = 0, y = 0, width = 0, height = 0;
};

enum class ScaleFilter {
    AreaAverage, // box filter with fractional coverage in both directions
    Bilinear,    // area-averages along a reduced axis, interpolates linearly along an enlarged one
    Bicubic,     // area-averages along a reduced axis, Catmull-Rom along an enlarged one
};

// Working memory kept between calls, so scaling one image after another allocates nothing new.
class ScaleScratch {
public:
    struct Axis {
        int dstFirst = 0;             // first destination pixel drawn
        int srcFirst = 0, srcEnd = 0; // source pixels read: [srcFirst, srcEnd)
        std::vector<int> tapStart;    // per drawn pixel: first source pixel
        std::vector<int> tapOffset;   // per drawn pixel + 1: index into weights
        std::vector<std::int32_t> weights;
        int count() const { return static_cast<int>(tapStart.size()); }
    };

private:
    friend bool ScalePixels(ConstPixelView, ScaleRect, PixelView, ScaleRect, ScaleFilter, ScaleScratch&);
    friend class RowReducer;
    Axis x_, y_;
    std::vector<std::int32_t> columnSums_;
    std::vector<double> taps_;
};

// Scales srcRect of src onto dstRect of dst, like StretchBlt: destination pixels outside dst, or
// whose area lies outside src, are left as they were. src and dst must not overlap. Returns false
// for unusable arguments (no pixels, sizes below 1, stride below width); a rectangle that is
// entirely clipped away is fine and draws nothing.
bool ScalePixels(ConstPixelView src, ScaleRect srcRect, PixelView dst, ScaleRect dstRect, ScaleFilter filter,
                 ScaleScratch& scratch);

// ScalePixels for a source that arrives a few rows at a time, top to bottom, as a decoder gives
// them: only the rows still needed are kept (as running column sums), so a picture is reduced
// without ever being held whole. The result is exactly ScalePixels' on the whole source.
class RowReducer {
public:
    // ScalePixels' arguments, the source known only by its size. False for unusable arguments.
    bool Start(int srcWidth, int srcHeight, ScaleRect srcRect, PixelView dst, ScaleRect dstRect,
               ScaleFilter filter);
    // The next count source rows (stride in pixels), in order from the top.
    void Push(const std::uint32_t* rows, int count, int stride);
    // Every destination row has been drawn (the rest of the source is not needed).
    bool Done() const { return nextDone_ >= scratch_.y_.count(); }
    // Gives the working memory back.
    void Release();

private:
    void AddRow(const std::uint32_t* row, int y);
    int RowEnd(int j) const; // one past destination row j's last source row
    ScaleScratch scratch_;
    PixelView dst_;
    int nextRow_ = 0;                // source row expected next
    int nextOpen_ = 0;               // first destination row not yet begun
    int nextDone_ = 0;               // first destination row not yet drawn
    int slots_ = 0;                  // destination rows summed at once, at most
    std::size_t span_ = 0;           // bytes of a source row summed
    std::vector<std::int32_t> sums_; // slots_ rows of span_ sums, destination row j in slot j % slots_
    std::vector<int> openFrom_;      // per destination row: the source row at which it is begun
};

// The whole of a buffer as a rectangle.
inline ScaleRect WholeOf(const ConstPixelView& v) {
    return {0, 0, v.width, v.height};
}

} // namespace tessary
