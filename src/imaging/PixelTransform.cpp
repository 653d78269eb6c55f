#include "imaging/PixelTransform.h"
#include <algorithm>
#include <cstddef>

namespace tessary {

PixelTransform TransformFromExifOrientation(int orientation) {
    if (orientation < 1 || orientation > 8)
        return PixelTransform::None;
    return static_cast<PixelTransform>(orientation);
}

bool SwapsSides(PixelTransform transform) {
    return static_cast<int>(transform) >= static_cast<int>(PixelTransform::Transpose);
}

bool TransformPixels(ConstPixelView src, PixelView dst, PixelTransform transform) {
    if (!src.pixels || !dst.pixels || src.width < 1 || src.height < 1 || src.stride < src.width ||
        dst.stride < dst.width)
        return false;
    const bool swap = SwapsSides(transform);
    if (dst.width != (swap ? src.height : src.width) || dst.height != (swap ? src.width : src.height))
        return false;

    // Destination pixel (u, v) reads the source at origin + u * du + v * dv.
    const std::ptrdiff_t s = src.stride;
    const std::ptrdiff_t right = src.width - 1, bottom = static_cast<std::ptrdiff_t>(src.height - 1) * s;
    std::ptrdiff_t origin = 0, du = 1, dv = s;
    switch (transform) {
    case PixelTransform::None:
        break;
    case PixelTransform::FlipHorizontal:
        origin = right, du = -1, dv = s;
        break;
    case PixelTransform::Rotate180:
        origin = right + bottom, du = -1, dv = -s;
        break;
    case PixelTransform::FlipVertical:
        origin = bottom, du = 1, dv = -s;
        break;
    case PixelTransform::Transpose:
        origin = 0, du = s, dv = 1;
        break;
    case PixelTransform::Rotate90:
        origin = bottom, du = -s, dv = 1;
        break;
    case PixelTransform::Transverse:
        origin = right + bottom, du = -s, dv = -1;
        break;
    case PixelTransform::Rotate270:
        origin = right, du = s, dv = -1;
        break;
    }
    const std::uint32_t* base = src.pixels + origin;

    // Turned copies read the source down its columns; square tiles keep both sides in the cache.
    const int tile = swap ? 64 : std::max(dst.width, dst.height);
    for (int v0 = 0; v0 < dst.height; v0 += tile) {
        const int v1 = std::min(dst.height, v0 + tile);
        for (int u0 = 0; u0 < dst.width; u0 += tile) {
            const int u1 = std::min(dst.width, u0 + tile);
            for (int v = v0; v < v1; ++v) {
                std::uint32_t* out = dst.pixels + static_cast<std::ptrdiff_t>(v) * dst.stride;
                const std::uint32_t* in = base + v * dv + u0 * du;
                for (int u = u0; u < u1; ++u, in += du)
                    out[u] = *in;
            }
        }
    }
    return true;
}

std::vector<std::uint32_t> TransformedPixels(ConstPixelView src, PixelTransform transform, int& width,
                                             int& height) {
    const bool swap = SwapsSides(transform);
    width = swap ? src.height : src.width;
    height = swap ? src.width : src.height;
    std::vector<std::uint32_t> out(static_cast<std::size_t>(std::max(width, 0)) *
                                   static_cast<std::size_t>(std::max(height, 0)));
    if (!TransformPixels(src, PixelView{out.data(), width, height, width}, transform)) {
        out.clear();
        width = height = 0;
    }
    return out;
}

} // namespace tessary
