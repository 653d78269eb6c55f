#include "imaging/GDIPlusAPI.h"
#include "imaging/GifPalette.h"
#include "imaging/ImageFile.h"
#include "imaging/JpegCodec.h"
#include "imaging/PixelTransform.h"
#include "imaging/WebpCodec.h"
#include <objidl.h> // GDI+ needs it, and WIN32_LEAN_AND_MEAN leaves it out
#include "platform/GdiPlus.h"
#include <climits>
#include <cstring>
#include <new>

namespace tessary {

int GetEncoderClsid(const std::wstring& mimeType, CLSID& clsid) {
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || count == 0 || size == 0)
        return -1;
    // The block holds the records followed by the texts they point to; allocating it as records
    // keeps it aligned for them.
    std::vector<Gdiplus::ImageCodecInfo> block((size + sizeof(Gdiplus::ImageCodecInfo) - 1) /
                                               sizeof(Gdiplus::ImageCodecInfo));
    if (count > block.size() || Gdiplus::GetImageEncoders(count, size, block.data()) != Gdiplus::Ok)
        return -1;
    for (UINT i = 0; i < count; ++i) {
        const WCHAR* mime = block[i].MimeType;
        if (mime && CompareStringOrdinal(mime, -1, mimeType.c_str(), static_cast<int>(mimeType.size()),
                                         TRUE) == CSTR_EQUAL) {
            clsid = block[i].Clsid;
            return static_cast<int>(i) + 1;
        }
    }
    return -1;
}

namespace {

// Every format but JPEG and WebP, through GDI+ (a TIFF's first page).
bool LoadWithGdiplus(const std::wstring& path, std::vector<std::uint32_t>& pixels, int& width, int& height) {
    Gdiplus::Bitmap bitmap(path.c_str(), FALSE);
    if (bitmap.GetLastStatus() != Gdiplus::Ok)
        return false;
    const UINT w = bitmap.GetWidth(), h = bitmap.GetHeight();
    if (w == 0 || h == 0 || w > INT_MAX / 4 || h > INT_MAX / 4)
        return false;
    pixels.resize(static_cast<std::size_t>(w) * h);
    Gdiplus::Rect rect(0, 0, static_cast<INT>(w), static_cast<INT>(h));
    Gdiplus::BitmapData data{};
    if (bitmap.LockBits(&rect, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok)
        return false;
    // The stride is negative for bitmaps stored bottom-up.
    for (UINT y = 0; y < h; ++y)
        std::memcpy(pixels.data() + static_cast<std::size_t>(y) * w,
                    static_cast<const BYTE*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride,
                    static_cast<std::size_t>(w) * 4);
    bitmap.UnlockBits(&data);
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

bool LoadStored(const std::wstring& path, ImageFormat format, std::vector<std::uint32_t>& pixels, int& width,
                int& height, int& orientation) {
    if (format == ImageFormat::Jpeg) {
        JpegDecoder decoder;
        DecodedImage image;
        if (!decoder.Decode(path, INT_MAX, INT_MAX, image))
            return false;
        pixels.assign(image.pixels, image.pixels + static_cast<std::size_t>(image.width) * image.height);
        width = image.width;
        height = image.height;
        orientation = image.orientation;
        return true;
    }
    if (format == ImageFormat::Webp) {
        WebpDecoder decoder;
        WebpInfo info;
        WebpPicture picture;
        if (decoder.Open(path, info) != WebpStatus::Ok || decoder.Decode(0, 0, picture) != WebpStatus::Ok)
            return false;
        pixels.assign(picture.pixels,
                      picture.pixels + static_cast<std::size_t>(picture.width) * picture.height);
        width = picture.width;
        height = picture.height;
        orientation = info.orientation;
        return true;
    }
    if (!LoadWithGdiplus(path, pixels, width, height))
        return false;
    orientation = format == ImageFormat::Tiff ? FileOrientation(path) : 1;
    return true;
}

} // namespace

ImageFormat FileFormat(const std::wstring& path) {
    unsigned char head[kImageHeaderBytes] = {};
    std::size_t got = 0;
    return ReadFileStart(path, head, sizeof head, got) ? ProbeImageHeader(head, got).format
                                                       : ImageFormat::Unknown;
}

bool LoadImagePixels(const std::wstring& path, std::vector<std::uint32_t>& pixels, int& width, int& height) {
    pixels.clear();
    width = height = 0;
    try {
        int orientation = 1;
        if (!LoadStored(path, FileFormat(path), pixels, width, height, orientation)) {
            pixels.clear();
            width = height = 0;
            return false;
        }
        const PixelTransform upright = TransformFromExifOrientation(orientation);
        if (upright != PixelTransform::None)
            pixels = TransformedPixels(ConstPixelView(pixels.data(), width, height, width), upright, width,
                                       height);
        return true;
    } catch (const std::bad_alloc&) {
        pixels.clear();
        width = height = 0;
        return false;
    }
}

bool SaveAsJpeg(const std::wstring& sourcePath, const std::wstring& targetPath, int quality) {
    if (quality < 0 || quality > 100)
        return false;
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
    return LoadImagePixels(sourcePath, pixels, width, height) &&
           WriteJpegFile(targetPath, pixels.data(), width, height, width * 4, quality);
}

bool SaveWithEncoder(const std::wstring& sourcePath, const std::wstring& targetPath,
                     const std::wstring& mimeType) {
    if (CompareStringOrdinal(mimeType.c_str(), -1, L"image/gif", -1, TRUE) == CSTR_EQUAL)
        return SaveAsGif(sourcePath, targetPath);
    CLSID clsid{};
    if (GetEncoderClsid(mimeType, clsid) < 0)
        return false;
    TempFileBeside temp(targetPath);
    if (!temp.ok())
        return false;
    if (FileFormat(sourcePath) == ImageFormat::Webp || FileOrientation(sourcePath) != 1) {
        // GDI+ reads no WebP and ignores the orientation: the picture goes through our decoding.
        try {
            std::vector<std::uint32_t> pixels;
            int width = 0, height = 0;
            if (!LoadImagePixels(sourcePath, pixels, width, height))
                return false;
            Gdiplus::Bitmap bitmap(width, height, width * 4, PixelFormat32bppARGB,
                                   reinterpret_cast<BYTE*>(pixels.data()));
            if (bitmap.GetLastStatus() != Gdiplus::Ok ||
                bitmap.Save(temp.path().c_str(), &clsid, nullptr) != Gdiplus::Ok)
                return false;
        } catch (const std::bad_alloc&) {
            return false;
        }
        return temp.Commit();
    }
    {
        // The image keeps its file open until it is destroyed, which must happen before the
        // rename when source and target are the same file.
        Gdiplus::Image image(sourcePath.c_str(), FALSE);
        if (image.GetLastStatus() != Gdiplus::Ok || image.GetWidth() == 0 ||
            image.Save(temp.path().c_str(), &clsid, nullptr) != Gdiplus::Ok)
            return false;
    }
    return temp.Commit();
}

bool SaveAsWebp(const std::wstring& sourcePath, const std::wstring& targetPath, int quality) {
    if (quality < 0 || quality > 100)
        return false;
    std::vector<std::uint32_t> pixels;
    int width = 0, height = 0;
    return LoadImagePixels(sourcePath, pixels, width, height) &&
           WriteWebpFile(targetPath, pixels.data(), width, height, width * 4, quality);
}

// Wine's GIF encoder writes an empty picture, and still reports success, for anything but an
// 8-bit indexed image; so the image is reduced to a palette first, as Windows' encoder would.
bool SaveAsGif(const std::wstring& sourcePath, const std::wstring& targetPath) {
    CLSID clsid{};
    if (GetEncoderClsid(L"image/gif", clsid) < 0)
        return false;
    try {
        std::vector<std::uint32_t> pixels;
        int width = 0, height = 0;
        if (!LoadImagePixels(sourcePath, pixels, width, height))
            return false;
        const IndexedPixels indexed = ToIndexed(pixels.data(), pixels.size());
        pixels = {};

        Gdiplus::Bitmap bitmap(width, height, PixelFormat8bppIndexed);
        if (bitmap.GetLastStatus() != Gdiplus::Ok)
            return false;
        // ColorPalette ends in a one-entry array standing for Count entries.
        std::vector<Gdiplus::ARGB> paletteBlock(2 + indexed.palette.size());
        auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(paletteBlock.data());
        palette->Flags = 0;
        palette->Count = static_cast<UINT>(indexed.palette.size());
        std::memcpy(palette->Entries, indexed.palette.data(), indexed.palette.size() * sizeof(Gdiplus::ARGB));
        if (bitmap.SetPalette(palette) != Gdiplus::Ok)
            return false;
        Gdiplus::Rect rect(0, 0, width, height);
        Gdiplus::BitmapData data{};
        if (bitmap.LockBits(&rect, Gdiplus::ImageLockModeWrite, PixelFormat8bppIndexed, &data) != Gdiplus::Ok)
            return false;
        for (int y = 0; y < height; ++y)
            std::memcpy(static_cast<BYTE*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride,
                        indexed.indices.data() + static_cast<std::size_t>(y) * width,
                        static_cast<std::size_t>(width));
        if (bitmap.UnlockBits(&data) != Gdiplus::Ok)
            return false;

        TempFileBeside temp(targetPath);
        return temp.ok() && bitmap.Save(temp.path().c_str(), &clsid, nullptr) == Gdiplus::Ok && temp.Commit();
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool SaveAsBmp(const std::wstring& sourcePath, const std::wstring& targetPath) {
    return SaveWithEncoder(sourcePath, targetPath, L"image/bmp");
}

bool SaveAsPng(const std::wstring& sourcePath, const std::wstring& targetPath) {
    return SaveWithEncoder(sourcePath, targetPath, L"image/png");
}

} // namespace tessary
