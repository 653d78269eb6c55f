#include "converter/ConvertPixels.h"
#include "imaging/PixelTransform.h"
#include "imaging/Scaler.h"
#include <utility>

namespace tessary {

namespace {

std::uint32_t Channel(std::uint32_t p, int shift) {
    return (p >> shift) & 0xFFu;
}

void FlattenOnWhite(std::vector<std::uint32_t>& pixels) {
    for (std::uint32_t& p : pixels) {
        const std::uint32_t a = p >> 24;
        if (a == 255)
            continue;
        std::uint32_t out = 0xFF000000u;
        for (int shift = 0; shift <= 16; shift += 8)
            out |= ((Channel(p, shift) * a + 255 * (255 - a) + 127) / 255) << shift;
        p = out;
    }
}

void Premultiply(std::vector<std::uint32_t>& pixels) {
    for (std::uint32_t& p : pixels) {
        const std::uint32_t a = p >> 24;
        if (a == 255)
            continue;
        std::uint32_t out = a << 24;
        for (int shift = 0; shift <= 16; shift += 8)
            out |= ((Channel(p, shift) * a + 127) / 255) << shift;
        p = out;
    }
}

void Unpremultiply(std::vector<std::uint32_t>& pixels) {
    for (std::uint32_t& p : pixels) {
        const std::uint32_t a = p >> 24;
        if (a == 255)
            continue;
        if (a == 0) {
            p = 0;
            continue;
        }
        std::uint32_t out = a << 24;
        for (int shift = 0; shift <= 16; shift += 8) {
            const std::uint32_t c = (Channel(p, shift) * 255 + a / 2) / a;
            out |= (c > 255 ? 255 : c) << shift;
        }
        p = out;
    }
}

} // namespace

bool HasTransparency(const PixelImage& image) {
    for (std::uint32_t p : image.pixels)
        if ((p >> 24) != 255)
            return true;
    return false;
}

PixelImage RenderPicture(PixelImage source, PixelSize size, double rotateMode, AlphaHandling alpha) {
    if (source.empty() || size.width < 1 || size.height < 1)
        return {};
    const bool transparent = HasTransparency(source);
    if (transparent && alpha == AlphaHandling::OnWhite)
        FlattenOnWhite(source.pixels);
    const bool premultiplied = transparent && alpha == AlphaHandling::Keep;
    if (premultiplied)
        Premultiply(source.pixels);

    // Turning first and scaling to the turned size gives the same picture as the other order
    // (both filters are symmetric) from the smaller of the two buffers.
    const PixelTransform transform = TransformForRotateMode(rotateMode);
    if (transform != PixelTransform::None) {
        PixelImage turned;
        turned.pixels = TransformedPixels({source.pixels.data(), source.width, source.height, source.width},
                                          transform, turned.width, turned.height);
        source = std::move(turned);
    }

    const PixelSize target = TurnedSize(size, rotateMode);
    PixelImage out;
    if (target.width == source.width && target.height == source.height) {
        out = std::move(source);
    } else {
        out.width = target.width;
        out.height = target.height;
        out.pixels.resize(static_cast<std::size_t>(target.width) * static_cast<std::size_t>(target.height));
        ScaleScratch scratch;
        const ConstPixelView from{source.pixels.data(), source.width, source.height, source.width};
        ScalePixels(from, WholeOf(from), {out.pixels.data(), out.width, out.height, out.width},
                    {0, 0, out.width, out.height}, ScaleFilter::Bicubic, scratch);
    }
    if (premultiplied)
        Unpremultiply(out.pixels);
    return out;
}

} // namespace tessary
