// What a file is, by its content rather than its name, and the picture size its header claims:
// enough to choose a decoder and to refuse an absurd size before anything is allocated for it.
#pragma once
#include <cstddef>

namespace tessary {

enum class ImageFormat { Unknown, Jpeg, Png, Gif, Bmp, Webp, Tiff };

struct ImageHeader {
    ImageFormat format = ImageFormat::Unknown;
    // The size the header claims; 0 x 0 for JPEG (its size sits in a frame marker further on), for
    // TIFF (in a directory anywhere in the file) and for a header too short or malformed to tell.
    int width = 0, height = 0;
};

// Bytes from the start of a file that ProbeImageHeader looks at.
inline constexpr std::size_t kImageHeaderBytes = 32;
ImageHeader ProbeImageHeader(const unsigned char* data, std::size_t size);

} // namespace tessary
