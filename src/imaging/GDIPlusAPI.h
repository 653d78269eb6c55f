// Encoder lookup and file-to-file re-encoding. GDI+ must have been started. JPEG is written by
// libjpeg-turbo, so the quality asked is the quality written (Wine's GDI+ encoder ignores it);
// the other formats go through GDI+'s encoders. Every save writes beside the target and renames
// over it, so a failed save leaves the target as it was and creates nothing.
#pragma once
#include <windows.h>
#include "imaging/ImageHeader.h"
#include <cstdint>
#include <string>
#include <vector>

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

// Loads any image GDI+ reads (a JPEG through libjpeg-turbo, a WebP's first frame through libwebp)
// as top-down 0xAARRGGBB pixels, turned upright as its EXIF orientation says: width and height
// are the upright size. Every file passes the size rule before anything is allocated for it, and
// nothing but the checked formats reaches a decoder. problem, when given, says why it failed.
bool LoadImagePixels(const std::wstring& path, std::vector<std::uint32_t>& pixels, int& width, int& height,
                     PictureProblem* problem = nullptr);

// Each returns true only when the target was written completely. Source and target may be the
// same file. Quality outside 0 to 100 is refused.
bool SaveAsJpeg(const std::wstring& sourcePath, const std::wstring& targetPath, int quality);
bool SaveAsBmp(const std::wstring& sourcePath, const std::wstring& targetPath);
// GIF keeps up to 256 colours exactly; pictures with more go to the 6 x 6 x 6 colour cube.
bool SaveAsGif(const std::wstring& sourcePath, const std::wstring& targetPath);
bool SaveAsPng(const std::wstring& sourcePath, const std::wstring& targetPath);
// Lossy WebP at quality 0 to 100 (through libwebp; GDI+ has no WebP encoder).
bool SaveAsWebp(const std::wstring& sourcePath, const std::wstring& targetPath, int quality);
// Load and save with the GDI+ encoder found for mimeType, without encoder parameters ("image/gif"
// goes to SaveAsGif).
bool SaveWithEncoder(const std::wstring& sourcePath, const std::wstring& targetPath,
                     const std::wstring& mimeType);

} // namespace tessary
