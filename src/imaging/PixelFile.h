// Writing 32-bit pixels as an image file of a chosen format, safely: the file is encoded in
// memory, written beside the target, read back, and only then renamed over the target. A failure
// at any step leaves an existing target as it was, leaves nothing else behind, and says which
// step failed.
#pragma once
#include "imaging/ImageHeader.h"
#include <cstdint>
#include <string>

namespace tessary {

struct WriteResult {
    enum Status {
        Ok,
        NoEncoder,    // no installed encoder for the format
        EncodeFailed, // the encoder refused the picture
        WriteFailed,  // creating, writing or renaming the file failed: systemError says why
        Unreadable,   // the written file does not read back as that format and size
        OutOfMemory,
    } status = Ok;
    unsigned long systemError = 0; // GetLastError of the failed file operation
    bool ok() const { return status == Ok; }
};

// pixels: top-down rows of width 0xAARRGGBB words with straight alpha. BMP and JPEG ignore alpha
// (flatten first), GIF keeps up to 256 colours exactly (others go to the 6 x 6 x 6 cube), PNG and
// WebP keep the alpha channel. quality: JPEG and WebP, 0 to 100. TIFF is written by GDI+'s encoder.
WriteResult WritePixelsAs(const std::uint32_t* pixels, int width, int height, ImageFormat format, int quality,
                          const std::wstring& target);

} // namespace tessary
