// Pixel work GDI would otherwise do for us, on 0xAARRGGBB words: putting transparent images on a
// background, preparing overlays for alpha blending, making a screen capture opaque.
#pragma once
#include "imaging/Scaler.h"
#include <cstddef>
#include <cstdint>

namespace tessary {

// A Windows colour value (0x00BBGGRR) as an opaque pixel word (0xFFRRGGBB).
std::uint32_t PixelFromColorRef(std::uint32_t colorRef);

// Draws straight-alpha pixels over an opaque background pixel, as drawing an image with its
// transparency onto a filled surface does; every pixel comes out opaque.
void FlattenOnto(std::uint32_t* pixels, std::size_t count, std::uint32_t background);

// Straight alpha to premultiplied alpha, the form alpha blending takes its source in.
void Premultiply(std::uint32_t* pixels, std::size_t count);

// Premultiplied alpha back to straight alpha (fully transparent pixels become 0).
void Unpremultiply(std::uint32_t* pixels, std::size_t count);

// Sets every pixel's alpha to 255 (a screen capture leaves it undefined).
void MakeOpaque(PixelView view);

} // namespace tessary
