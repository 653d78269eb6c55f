#include "imaging/PixelOps.h"
#include <algorithm>

namespace tessary {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

std::uint32_t Channel(std::uint32_t pixel, int shift) {
    return (pixel >> shift) & 0xFFu;
}

// a * b / 255, rounded to nearest.
std::uint32_t MulDiv255(std::uint32_t a, std::uint32_t b) {
    const std::uint32_t t = a * b + 128;
    return (t + (t >> 8)) >> 8;
}

} // namespace

std::uint32_t PixelFromColorRef(std::uint32_t colorRef) {
    return kOpaque | ((colorRef & 0xFFu) << 16) | (colorRef & 0xFF00u) | ((colorRef >> 16) & 0xFFu);
}

void FlattenOnto(std::uint32_t* pixels, std::size_t count, std::uint32_t background) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t p = pixels[i];
        const std::uint32_t a = p >> 24;
        if (a == 255)
            continue;
        std::uint32_t out = kOpaque;
        for (int shift = 0; shift <= 16; shift += 8)
            out |= ((Channel(p, shift) * a + Channel(background, shift) * (255 - a) + 127) / 255) << shift;
        pixels[i] = out;
    }
}

void Premultiply(std::uint32_t* pixels, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t p = pixels[i];
        const std::uint32_t a = p >> 24;
        if (a == 255)
            continue;
        std::uint32_t out = a << 24;
        for (int shift = 0; shift <= 16; shift += 8)
            out |= MulDiv255(Channel(p, shift), a) << shift;
        pixels[i] = out;
    }
}

void Unpremultiply(std::uint32_t* pixels, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t p = pixels[i];
        const std::uint32_t a = p >> 24;
        if (a == 255)
            continue;
        if (a == 0) {
            pixels[i] = 0;
            continue;
        }
        std::uint32_t out = a << 24;
        for (int shift = 0; shift <= 16; shift += 8)
            out |= std::min<std::uint32_t>(255, (Channel(p, shift) * 255 + a / 2) / a) << shift;
        pixels[i] = out;
    }
}

void MakeOpaque(PixelView view) {
    if (!view.pixels)
        return;
    for (int y = 0; y < view.height; ++y) {
        std::uint32_t* row = view.pixels + static_cast<std::ptrdiff_t>(y) * view.stride;
        for (int x = 0; x < view.width; ++x)
            row[x] |= kOpaque;
    }
}

} // namespace tessary
