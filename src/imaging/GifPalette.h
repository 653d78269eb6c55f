// Reducing 32-bit pixels to the at most 256 palette entries a GIF holds. Header-only and free of
// Windows headers, so the native unit tests check it directly.
#pragma once
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace tessary {

struct IndexedPixels {
    std::vector<std::uint32_t> palette; // 0xFFRRGGBB entries
    std::vector<std::uint8_t> indices;  // one per pixel
};

// Level 0 to 5 of the 6 x 6 x 6 colour cube nearest to a channel value; entry level * 51.
inline int CubeLevel(int channel) {
    return (channel * 5 + 127) / 255;
}

// A picture of at most 256 colours keeps them exactly (palette in order of first appearance);
// any other maps each pixel to the nearest colour of the 6 x 6 x 6 cube, the palette Windows
// itself falls back to. Alpha is ignored.
inline IndexedPixels ToIndexed(const std::uint32_t* pixels, std::size_t count) {
    IndexedPixels out;
    out.indices.resize(count);
    std::unordered_map<std::uint32_t, std::uint8_t> exact;
    bool fits = true;
    for (std::size_t i = 0; i < count && fits; ++i) {
        const std::uint32_t colour = pixels[i] | 0xFF000000u;
        auto [it, added] = exact.try_emplace(colour, static_cast<std::uint8_t>(out.palette.size()));
        if (added) {
            if (out.palette.size() == 256)
                fits = false;
            else
                out.palette.push_back(colour);
        }
        out.indices[i] = it->second;
    }
    if (fits)
        return out;

    out.palette.clear();
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                out.palette.push_back(0xFF000000u | static_cast<std::uint32_t>(r * 51) << 16 |
                                      static_cast<std::uint32_t>(g * 51) << 8 |
                                      static_cast<std::uint32_t>(b * 51));
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t p = pixels[i];
        const int r = CubeLevel(static_cast<int>(p >> 16 & 0xFF)),
                  g = CubeLevel(static_cast<int>(p >> 8 & 0xFF)), b = CubeLevel(static_cast<int>(p & 0xFF));
        out.indices[i] = static_cast<std::uint8_t>(r * 36 + g * 6 + b);
    }
    return out;
}

} // namespace tessary
