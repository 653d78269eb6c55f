// Decoding an image file and reducing it to the source picture of its thumbnail, in one call: the
// image's size gives the thumbnail divisor, the decoder reduces to exactly that size while it
// decodes (a JPEG by its DCT first). All working memory is kept between calls, so a folder of
// photos allocates it once.
#pragma once
#include "imaging/JpegCodec.h"
#include "imaging/PictureDecoder.h"
#include "imaging/Scaler.h"
#include "platform/Clock.h"
#include "platform/Surface.h"
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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
    // The same into pixels (out.width x out.height, rows out.width apart).
    bool Reduce(const std::wstring& path, std::vector<std::uint32_t>& pixels, ReducedImage& out,
                DecodeTimes& times);

    // Decodes a cached thumbnail (a JPEG) at its own size. The view stays valid until the next
    // call. False for anything but a complete JPEG.
    bool LoadThumbnail(const std::wstring& path, ConstPixelView& out, DecodeTimes& times);

    // Gives the large buffers back.
    void ReleaseBuffers();
    // The opaque pixel that transparent parts of pictures are put on.
    void SetBackground(std::uint32_t pixel) { background_ = pixel; }
    // A flag another thread raises to cut a decode short (it then fails).
    void SetCancelFlag(const std::atomic<bool>* cancel) { decoder_.SetCancelFlag(cancel); }

private:
    PictureDecoder decoder_;
    JpegDecoder thumbnails_;
    std::vector<std::uint32_t> reduced_;
    std::uint32_t background_ = 0xFFFFFFFF;
};

} // namespace tessary
