// Loading a picture to be shown smaller than it is (the wallpaper preview): a JPEG decoded reduced
// by the DCT, a WebP reduced by libwebp, any other format whole; always turned upright as its EXIF
// orientation says. The buffers are kept from one picture to the next.
#pragma once
#include "imaging/GDIPlusAPI.h"
#include "imaging/ImageFile.h"
#include "imaging/JpegCodec.h"
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

class PictureLoader {
public:
    // The loaded picture is at least minWidth wide (upright) unless the file is narrower. Every
    // file passes the size rule first; problem, when given, says why a load failed.
    bool Load(const std::wstring& path, int minWidth, LoadedPicture& out, PictureProblem* problem = nullptr);
    void ReleaseBuffers();

private:
    bool Upright(ConstPixelView stored, int orientation, LoadedPicture& out);

    JpegDecoder jpeg_;
    WebpDecoder webp_;
    GrowBuffer<unsigned char> file_;
    std::vector<std::uint32_t> pixels_;
};

} // namespace tessary
