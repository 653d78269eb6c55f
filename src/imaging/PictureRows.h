// How a decoder hands a picture over a few rows at a time, so that whoever takes it (a reducer,
// usually) never needs the whole picture in memory.
#pragma once
#include <cstdint>

namespace tessary {

struct RowPicture {
    int width = 0, height = 0;         // the decoded picture, which the rows make up
    int fullWidth = 0, fullHeight = 0; // the image in its file
    int scale = 1;                     // JPEG: decoded at 1/scale by the DCT (width = ceil(full / scale))
};

class RowSink {
public:
    // The image's size as stored and its EXIF orientation (1 to 8), before anything is decoded.
    // The sink gives the smallest decoded size it wants, as stored (a JPEG is then reduced by its
    // DCT as far as that allows; other formats decode at full size), or false to refuse the
    // picture.
    virtual bool Wanted(int fullWidth, int fullHeight, int orientation, int& minWidth, int& minHeight) = 0;
    // The decoded size, before the first row. False refuses the picture.
    virtual bool Begin(const RowPicture& picture) = 0;
    // The next count rows, top-down 0xAARRGGBB words with straight alpha, rows stride pixels
    // apart. The sink may change them in place. False stops the decode (the picture is refused).
    virtual bool Rows(std::uint32_t* rows, int count, int stride) = 0;

protected:
    ~RowSink() = default;
};

} // namespace tessary
