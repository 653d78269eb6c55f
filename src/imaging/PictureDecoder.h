// An image file decoded straight to the size it is wanted at, turned upright as its EXIF
// orientation says: the format recognised by content, a JPEG decoded by libjpeg-turbo already
// reduced by its DCT as far as that size allows, a PNG by libspng a row at a time, a WebP by
// libwebp at the size wanted, GIF, BMP and TIFF whole by GDI+; the rows are area-averaged as they
// arrive, so of the full picture only a few rows are ever held (GDI+'s formats and interlaced PNGs
// excepted). Each decoder has its own codecs and buffers: one per thread.
#pragma once
#include "imaging/DecodePlan.h"
#include "imaging/ImageFile.h"
#include "imaging/JpegCodec.h"
#include "imaging/PngCodec.h"
#include "imaging/Scaler.h"
#include "imaging/WebpCodec.h"
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tessary {

// The size to decode to, from the image's full size (both upright); false refuses the picture. A
// size of zero (an image too thin to reduce) still decodes the file, so that a damaged one is
// refused, and gives no pixels.
using PictureSizeRule = std::function<bool(int fullWidth, int fullHeight, int& width, int& height)>;

// Puts transparent pixels on a background (count pixels of a row, in place); empty: left as decoded.
using TransparencyRule = std::function<void(std::uint32_t* pixels, std::size_t count)>;

struct DecodedPicture {
    ImageFormat format = ImageFormat::Unknown;
    int fullWidth = 0, fullHeight = 0; // the image in its file, upright
    int width = 0, height = 0;         // the pixels: width x height words, rows width apart
    bool complete = true;              // false: a JPEG with damaged or missing data, filled in by libjpeg
    double reduceSeconds = 0;          // time spent averaging rows (the rest was decoding)
};

class PictureDecoder {
public:
    // Decodes path to the size rule gives, with filter (area-averaging wherever the size is
    // reduced), every row of a format that may be transparent first given to flatten. pixels
    // receives the picture. False, with out cleared, for a missing, empty, truncated or damaged file (a JPEG
    // with damaged data only when it gives no rows at all), an unknown format, or an image over
    // the decoders' limits.
    bool Decode(const std::wstring& path, const PictureSizeRule& rule, const TransparencyRule& flatten,
                ScaleFilter filter, std::vector<std::uint32_t>& pixels, DecodedPicture& out);
    // Writes the picture at its full size, upright and flattened, as a 24-bit BMP file at target
    // (replaced only once written whole). A JPEG or PNG stored upright goes from the decoder to the
    // file a strip of rows at a time, never held whole; anything else is decoded whole first.
    bool WriteBmp(const std::wstring& source, const std::wstring& target, const TransparencyRule& flatten);
    // Gives the large buffers back.
    void ReleaseBuffers();
    // A flag another thread may raise to stop a decode between two strips of rows (it then fails).
    void SetCancelFlag(const std::atomic<bool>* cancel) {
        cancel_ = cancel;
        jpeg_.SetCancelFlag(cancel);
    }

private:
    bool DecodeWithGdiplus(const std::wstring& path, const ImageHeader& header, RowSink& sink);

    JpegDecoder jpeg_;
    PngDecoder png_;
    WebpDecoder webp_;
    std::vector<std::uint32_t> stored_; // a reduced picture before it is turned upright
    RowReducer reducer_;
    GrowBuffer<std::uint32_t> whole_; // a picture GDI+ decoded
    const std::atomic<bool>* cancel_ = nullptr;
};

} // namespace tessary
