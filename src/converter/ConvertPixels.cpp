#include "converter/ConvertPixels.h"
#include "imaging/PixelOps.h"
#include "imaging/PixelTransform.h"
#include "imaging/Scaler.h"
#include <utility>

namespace tessary {

bool HasTransparency(const PixelImage& image) {
    for (std::uint32_t p : image.pixels)
        if ((p >> 24) != 255)
            return true;
    return false;
}

PixelImage RenderPicture(PixelImage source, IntSize size, double rotateMode, AlphaHandling alpha) {
    if (source.empty() || size.width < 1 || size.height < 1)
        return {};
    const bool transparent = HasTransparency(source);
    if (transparent && alpha == AlphaHandling::OnWhite)
        FlattenOnto(source.pixels.data(), source.pixels.size(), 0xFFFFFFFFu);
    const bool premultiplied = transparent && alpha == AlphaHandling::Keep;
    if (premultiplied)
        Premultiply(source.pixels.data(), source.pixels.size());

    // Turning first and scaling to the turned size gives the same picture as the other order
    // (both filters are symmetric) from the smaller of the two buffers.
    const PixelTransform transform = TransformForRotateMode(rotateMode);
    if (transform != PixelTransform::None) {
        PixelImage turned;
        turned.pixels = TransformedPixels({source.pixels.data(), source.width, source.height, source.width},
                                          transform, turned.width, turned.height);
        source = std::move(turned);
    }

    const IntSize target = TurnedSize(size, rotateMode);
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
        Unpremultiply(out.pixels.data(), out.pixels.size());
    return out;
}

} // namespace tessary
