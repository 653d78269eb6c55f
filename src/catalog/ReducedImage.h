// Decoding an image file and reducing it to the source picture of its thumbnail, in one call: the
// format is recognised by content, a JPEG is decoded by libjpeg-turbo already reduced by the DCT
// (1/2, 1/4 or 1/8), any other format in full by GDI+, and our area-averaging finishes at exactly
// the reduced size. All working memory is kept between calls, so a folder of photos allocates it
// once.
#pragma once
#include "catalog/DecodePlan.h"
#include "imaging/ImageFile.h"
#include "imaging/JpegCodec.h"
#include "imaging/PixelTransform.h"
#include "imaging/WebpCodec.h"
#include "imaging/Scaler.h"
#include "platform/Surface.h"
#include <cstdint>
#include <memory>
#include <string>

namespace tessary {

// Sizes are upright: a photo whose EXIF orientation turns it a quarter has its sides exchanged.
struct ReducedImage {
    int fullWidth = 0, fullHeight = 0; // the image as shown; 0 x 0 when it cannot be decoded
    int divisor = 1;
    int width = 0, height = 0; // the reduced picture, at the top left of the target surface
};

// Seconds spent, summed over calls.
struct DecodeTimes {
    double decode = 0;
    double reduce = 0;
};

// Seconds from QueryPerformanceCounter, cheap enough to bracket every step of a load.
double Seconds();

// Adds the time from its construction to its destruction to a sum of seconds.
class ScopedTimer {
public:
    explicit ScopedTimer(double& sum) : sum_(sum), start_(Seconds()) {}
    ~ScopedTimer() { sum_ += Seconds() - start_; }
    ScopedTimer(const ScopedTimer&) = delete;
    ScopedTimer& operator=(const ScopedTimer&) = delete;

private:
    double& sum_;
    double start_;
};

class ImageReducer {
public:
    ImageReducer();
    ~ImageReducer();
    ImageReducer(const ImageReducer&) = delete;
    ImageReducer& operator=(const ImageReducer&) = delete;

    // Decodes path, divides its size by the thumbnail divisor and draws the reduced picture into
    // target (grown when too small). False, with out at 0 x 0 and divisor 1, for anything that is
    // not a complete picture: a missing, empty, truncated or damaged file, an unknown format, or
    // a size too large to decode.
    bool Reduce(const std::wstring& path, Surface& target, ReducedImage& out, DecodeTimes& times);

    // Decodes a cached thumbnail (a JPEG) at its own size. The view stays valid until the next
    // call. False for anything but a complete JPEG.
    bool LoadThumbnail(const std::wstring& path, ConstPixelView& out, DecodeTimes& times);

    // Gives the large buffers back.
    void ReleaseBuffers();

private:
    bool ReduceJpeg(const std::wstring& path, Surface& target, ReducedImage& out, DecodeTimes& times);
    bool ReduceWebp(const std::wstring& path, Surface& target, ReducedImage& out, DecodeTimes& times);
    bool ReduceWithGdiplus(const std::wstring& path, const ImageHeader& header, Surface& target,
                           ReducedImage& out, DecodeTimes& times);
    bool ScaleInto(ConstPixelView source, const DecodeMapping& mapping, PixelTransform upright,
                   Surface& target, ReducedImage& out);

    struct TjHandle;
    JpegDecoder jpeg_;
    WebpDecoder webp_;
    std::unique_ptr<TjHandle> tj_;
    GrowBuffer<unsigned char> file_;
    GrowBuffer<std::uint32_t> pixels_;
    GrowBuffer<std::uint32_t> turned_; // a reduced picture before it is turned upright
    ScaleScratch scratch_;
};

} // namespace tessary
