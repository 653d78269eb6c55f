#include "catalog/ReducedImage.h"
#include "catalog/ThumbGeometry.h"
#include "imaging/PixelOps.h"
#include <algorithm>
#include <climits>

namespace tessary {

ImageReducer::ImageReducer() = default;
ImageReducer::~ImageReducer() = default;

void ImageReducer::ReleaseBuffers() {
    decoder_.ReleaseBuffers();
    thumbnails_.ReleaseBuffers();
    reduced_ = {};
}

bool ImageReducer::Reduce(const std::wstring& path, Surface& target, ReducedImage& out, DecodeTimes& times) {
    if (!Reduce(path, reduced_, out, times))
        return false;
    if (out.width < 1 || out.height < 1)
        return true;
    if (target.width() < out.width || target.height() < out.height) {
        if (!target.Create(std::max(target.width(), out.width), std::max(target.height(), out.height))) {
            out = ReducedImage{};
            return false;
        }
    }
    for (int y = 0; y < out.height; ++y)
        std::copy_n(reduced_.data() + static_cast<std::size_t>(y) * out.width, out.width,
                    target.bits() + static_cast<std::size_t>(y) * target.width());
    return true;
}

bool ImageReducer::Reduce(const std::wstring& path, std::vector<std::uint32_t>& pixels, ReducedImage& out,
                          DecodeTimes& times) {
    out = ReducedImage{};
    const auto rule = [&out](int fullWidth, int fullHeight, int& width, int& height) {
        out.divisor = DecodeDivisor(fullWidth, fullHeight);
        const IntSize reduced = ReducedSourceSize(fullWidth, fullHeight, out.divisor);
        width = reduced.width;
        height = reduced.height;
        return true;
    };
    DecodedPicture picture;
    bool ok = false;
    {
        const double start = Seconds();
        // Transparent parts show the background the preview and the wallpaper bitmap give them.
        const std::uint32_t background = background_;
        ok = decoder_.Decode(
            path, rule,
            [background](std::uint32_t* pixels, std::size_t count) {
                FlattenOnto(pixels, count, background);
            },
            ScaleFilter::AreaAverage, pixels, picture);
        times.decode += Seconds() - start - picture.reduceSeconds;
        times.reduce += picture.reduceSeconds;
    }
    // A damaged or cut-off JPEG is not shown half grey.
    if (!ok || !picture.complete) {
        out = ReducedImage{};
        return false;
    }
    out.fullWidth = picture.fullWidth;
    out.fullHeight = picture.fullHeight;
    // A reduced side can round to nothing (4000 x 1 gives 200 x 0): the image is still listed,
    // with an empty picture.
    out.width = picture.width;
    out.height = picture.height;
    return true;
}

bool ImageReducer::LoadThumbnail(const std::wstring& path, ConstPixelView& out, DecodeTimes& times) {
    out = ConstPixelView{};
    ScopedTimer t(times.decode);
    DecodedImage decoded;
    if (!thumbnails_.Decode(path, INT_MAX, INT_MAX, decoded) || !decoded.complete)
        return false;
    out = ConstPixelView(decoded.pixels, decoded.width, decoded.height, decoded.width);
    return true;
}

} // namespace tessary
