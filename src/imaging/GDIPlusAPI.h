// Encoder lookup and loading any picture file as pixels. GDI+ must have been started.
#pragma once
#include <windows.h>
#include "imaging/ImageHeader.h"
#include <cstdint>
#include <string>
#include <vector>

namespace Gdiplus {
class Bitmap;
}

namespace tessary {

// 1-based position of the first installed encoder whose MIME type equals mimeType, ignoring
// case; -1 when none does. clsid is written only on a match.
int GetEncoderClsid(const std::wstring& mimeType, CLSID& clsid);

// A file's format by its content, whatever its name says.
ImageFormat FileFormat(const std::wstring& path);

// Our own reading of a PNG, GIF, BMP or TIFF file, which every file passes before GDI+ may open
// it: the format by content and the size rule on the size its header claims. header receives
// what the file says.
PictureProblem CheckBeforeGdiplus(const std::wstring& path, ImageHeader& header);
// False for an RLE bitmap whose rows do not all come before its data ends (GDI+ shows the missing
// ones black); true for every other file.
bool RunLengthRowsComplete(const std::wstring& path);

// The size of a bitmap GDI+ has opened, false when it did not open or the size breaks the rule.
bool OpenedGdiplusSize(Gdiplus::Bitmap& bitmap, int& width, int& height);

// Loads any image GDI+ reads (a JPEG through libjpeg-turbo, a WebP's first frame through libwebp)
// as top-down 0xAARRGGBB pixels, turned upright as its EXIF orientation says: width and height
// are the upright size. Every file passes the size rule before anything is allocated for it, and
// nothing but the checked formats reaches a decoder. problem, when given, says why it failed.
bool LoadImagePixels(const std::wstring& path, std::vector<std::uint32_t>& pixels, int& width, int& height,
                     PictureProblem* problem = nullptr);

} // namespace tessary
