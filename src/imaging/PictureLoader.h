// Loading a picture to be shown smaller than it is (the wallpaper preview): a JPEG decoded reduced
// by the DCT, a WebP reduced by libwebp, any other format whole, or, when the caller says how,
// reduced a few rows at a time as it is decoded; always turned upright as its EXIF orientation
// says. The buffers are kept from one picture to the next.
#pragma once
#include "imaging/GDIPlusAPI.h"
#include "imaging/ImageFile.h"
#include "imaging/JpegCodec.h"
#include "imaging/PictureDecoder.h"
#include "imaging/Scaler.h"
#include "imaging/WebpCodec.h"
#include <cstdint>
#include <string>
#include <vector>

namespace tessary {

struct LoadedPicture {
    // Top-down 0xAARRGGBB pixels (alpha as stored: the caller flattens); valid until the next load.
    PixelView pixels;
    int fullWidth = 0, fullHeight = 0; // the upright size of the picture in the file
};

// How a format that neither the DCT nor its decoder can reduce (PNG, GIF, BMP, TIFF) is reduced
// while it is decoded: to the size the rule gives for the upright full size, every row flattened
// first and then averaged with filter, which gives exactly what ScalePixels would make of the
// whole flattened picture. A large PNG is then never held whole.
struct WholeFormatReduction {
    PictureSizeRule size;
    TransparencyRule flatten;
    ScaleFilter filter = ScaleFilter::AreaAverage;
};

class PictureLoader {
public:
    // The loaded picture is at least minWidth wide (upright) unless the file is narrower, or, when
    // reduce is given, of the size it asks for the formats it covers and at least that size for a
    // JPEG. Every file passes the size rule first; problem, when given, says why a load failed.
    bool Load(const std::wstring& path, int minWidth, LoadedPicture& out, PictureProblem* problem = nullptr,
              const WholeFormatReduction* reduce = nullptr);
    void ReleaseBuffers();

private:
    bool Upright(ConstPixelView stored, int orientation, LoadedPicture& out);
    bool LoadReduced(const std::wstring& path, const WholeFormatReduction& reduce, LoadedPicture& out,
                     PictureProblem& why);

    PictureDecoder decoder_;
    JpegDecoder jpeg_;
    WebpDecoder webp_;
    GrowBuffer<unsigned char> file_;
    std::vector<std::uint32_t> pixels_;
};

} // namespace tessary
