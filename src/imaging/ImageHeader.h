// What a file is, by its content rather than its name, and the picture size its header claims:
// enough to choose a decoder and to refuse an absurd size before anything is allocated for it.
#pragma once
#include <cstddef>
#include <cstdint>

namespace tessary {

// Why a picture file gives no pixels.
enum class PictureProblem { None, Unreadable, TooLarge, Damaged };

enum class ImageFormat { Unknown, Jpeg, Png, Gif, Bmp, Webp, Tiff };

struct ImageHeader {
    ImageFormat format = ImageFormat::Unknown;
    // The size the header claims; 0 x 0 for TIFF (in a directory anywhere in the file), for a JPEG
    // whose frame marker lies beyond the bytes given, and for a header too short or malformed to
    // tell.
    int width = 0, height = 0;
};

// Bytes from the start of a file that tell the format and, for PNG, GIF, WebP and BMP, the size.
// A JPEG's size is found by walking its markers through as many bytes as are given.
inline constexpr std::size_t kImageHeaderBytes = 32;
ImageHeader ProbeImageHeader(const unsigned char* data, std::size_t size);

// A TIFF's size from its first directory (the bytes read from the offset its header gives), tags
// ImageWidth and ImageLength; header keeps 0 x 0 when either is missing.
void SizeFromTiffDirectory(const unsigned char* data, std::size_t size, bool littleEndian,
                           ImageHeader& header);

// The size rule. A decode may produce at most kMaxDecodedPixels pixels (400 MB at 32 bits) after
// its reduction by 1/scale (libjpeg's DCT scaling; 1 for every full decode), and no picture above
// kMaxPicturePixels is decoded at all (even a reduced decode works through the whole image).
inline constexpr std::int64_t kMaxDecodedPixels = 100'000'000;
inline constexpr std::int64_t kMaxPicturePixels = 1'000'000'000;
bool PictureSizeAllowed(int width, int height, int scale = 1);

// Whether the pixel data of an RLE8 or RLE4 bitmap file covers the whole picture: its runs reach
// the end-of-bitmap mark on the last row or beyond, inside the file. Decoders fill what a cut-off
// file lacks with black; such a picture is damaged, not complete. True for any other file.
bool BmpRowsComplete(const unsigned char* file, std::size_t size);

} // namespace tessary
