#include "imaging/PixelFile.h"
#include "imaging/GDIPlusAPI.h"
#include "imaging/GifPalette.h"
#include "imaging/ImageFile.h"
#include "imaging/JpegCodec.h"
#include "imaging/WebpCodec.h"
#include "platform/Handles.h"
#include <objidl.h> // GDI+ needs it, and WIN32_LEAN_AND_MEAN leaves it out
#include "platform/GdiPlus.h"
#include <wincodec.h>
#include <cstring>
#include <new>
#include <vector>

namespace tessary {

namespace {

const wchar_t* MimeTypeOf(ImageFormat format) {
    switch (format) {
    case ImageFormat::Bmp:
        return L"image/bmp";
    case ImageFormat::Jpeg:
        break;
    case ImageFormat::Gif:
        return L"image/gif";
    case ImageFormat::Png:
        return L"image/png";
    case ImageFormat::Tiff:
        return L"image/tiff";
    case ImageFormat::Webp:
    case ImageFormat::Unknown:
        break;
    }
    return L"image/jpeg";
}

GUID ContainerOf(ImageFormat format) {
    switch (format) {
    case ImageFormat::Bmp:
        return GUID_ContainerFormatBmp;
    case ImageFormat::Jpeg:
        break;
    case ImageFormat::Gif:
        return GUID_ContainerFormatGif;
    case ImageFormat::Png:
        return GUID_ContainerFormatPng;
    case ImageFormat::Tiff:
        return GUID_ContainerFormatTiff;
    case ImageFormat::Webp:
    case ImageFormat::Unknown:
        break;
    }
    return GUID_ContainerFormatJpeg;
}

// The bytes GDI+ wrote into a memory stream.
bool StreamBytes(IStream* stream, std::vector<unsigned char>& out) {
    STATSTG stat{};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart == 0 ||
        stat.cbSize.QuadPart > 0xFFFFFFFFull)
        return false;
    out.resize(static_cast<std::size_t>(stat.cbSize.QuadPart));
    LARGE_INTEGER zero{};
    if (FAILED(stream->Seek(zero, STREAM_SEEK_SET, nullptr)))
        return false;
    ULONG read = 0;
    return SUCCEEDED(stream->Read(out.data(), static_cast<ULONG>(out.size()), &read)) && read == out.size();
}

WriteResult::Status SaveToMemory(Gdiplus::Image& image, const CLSID& clsid, std::vector<unsigned char>& out) {
    ComPtr<IStream> stream;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put())))
        return WriteResult::OutOfMemory;
    const Gdiplus::Status status = image.Save(stream.get(), &clsid, nullptr);
    if (status == Gdiplus::OutOfMemory)
        return WriteResult::OutOfMemory;
    if (status != Gdiplus::Ok || !StreamBytes(stream.get(), out))
        return WriteResult::EncodeFailed;
    return WriteResult::Ok;
}

// Wine's GIF encoder writes an empty picture, and still reports success, for anything but an
// 8-bit indexed image; so the picture is reduced to a palette first, as Windows' encoder would.
WriteResult::Status EncodeGif(const std::uint32_t* pixels, int width, int height, const CLSID& clsid,
                              std::vector<unsigned char>& out) {
    const IndexedPixels indexed = ToIndexed(pixels, static_cast<std::size_t>(width) * height);
    Gdiplus::Bitmap bitmap(width, height, PixelFormat8bppIndexed);
    if (bitmap.GetLastStatus() != Gdiplus::Ok)
        return WriteResult::OutOfMemory;
    // ColorPalette ends in a one-entry array standing for Count entries.
    std::vector<Gdiplus::ARGB> paletteBlock(2 + indexed.palette.size());
    auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(paletteBlock.data());
    palette->Flags = 0;
    palette->Count = static_cast<UINT>(indexed.palette.size());
    std::memcpy(palette->Entries, indexed.palette.data(), indexed.palette.size() * sizeof(Gdiplus::ARGB));
    if (bitmap.SetPalette(palette) != Gdiplus::Ok)
        return WriteResult::EncodeFailed;
    Gdiplus::Rect rect(0, 0, width, height);
    Gdiplus::BitmapData data{};
    if (bitmap.LockBits(&rect, Gdiplus::ImageLockModeWrite, PixelFormat8bppIndexed, &data) != Gdiplus::Ok)
        return WriteResult::EncodeFailed;
    for (int y = 0; y < height; ++y)
        std::memcpy(static_cast<BYTE*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride,
                    indexed.indices.data() + static_cast<std::size_t>(y) * width,
                    static_cast<std::size_t>(width));
    if (bitmap.UnlockBits(&data) != Gdiplus::Ok)
        return WriteResult::EncodeFailed;
    return SaveToMemory(bitmap, clsid, out);
}

WriteResult::Status Encode(const std::uint32_t* pixels, int width, int height, ImageFormat format,
                           int quality, std::vector<unsigned char>& out) {
    if (format == ImageFormat::Jpeg)
        return EncodeJpeg(pixels, width, height, width * 4, quality, out) ? WriteResult::Ok
                                                                          : WriteResult::EncodeFailed;
    if (format == ImageFormat::Webp)
        return EncodeWebp(pixels, width, height, width * 4, quality, out) ? WriteResult::Ok
                                                                          : WriteResult::EncodeFailed;
    CLSID clsid{};
    if (GetEncoderClsid(MimeTypeOf(format), clsid) < 0)
        return WriteResult::NoEncoder;
    if (format == ImageFormat::Gif)
        return EncodeGif(pixels, width, height, clsid, out);
    // GDI+ reads the pixels where they are. BMP takes them as opaque colour; PNG keeps alpha.
    Gdiplus::Bitmap bitmap(width, height, width * 4,
                           format == ImageFormat::Png ? PixelFormat32bppARGB : PixelFormat32bppRGB,
                           reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(pixels)));
    if (bitmap.GetLastStatus() != Gdiplus::Ok)
        return WriteResult::EncodeFailed;
    return SaveToMemory(bitmap, clsid, out);
}

// Whether the file reads as the format and size written (WIC reads the header and the frame's
// description; the pixels are not decoded).
bool ReadsBack(const std::wstring& path, ImageFormat format, int width, int height) {
    if (format == ImageFormat::Webp) { // WIC has no WebP decoder everywhere: libwebp reads it
        WebpDecoder decoder;
        WebpInfo info;
        return decoder.Open(path, info) == WebpStatus::Ok && info.width == width && info.height == height;
    }
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.put()))))
        return false;
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.put())))
        return false;
    GUID container{};
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT w = 0, h = 0;
    return SUCCEEDED(decoder->GetContainerFormat(&container)) && container == ContainerOf(format) &&
           SUCCEEDED(decoder->GetFrame(0, frame.put())) && SUCCEEDED(frame->GetSize(&w, &h)) &&
           w == static_cast<UINT>(width) && h == static_cast<UINT>(height);
}

} // namespace

WriteResult WritePixelsAs(const std::uint32_t* pixels, int width, int height, ImageFormat format, int quality,
                          const std::wstring& target) {
    WriteResult result;
    if (!pixels || width < 1 || height < 1 || quality < 0 || quality > 100) {
        result.status = WriteResult::EncodeFailed;
        return result;
    }
    try {
        std::vector<unsigned char> bytes;
        result.status = Encode(pixels, width, height, format, quality, bytes);
        if (!result.ok())
            return result;
        TempFileBeside temp(target);
        if (!temp.ok() || !temp.Write(bytes.data(), bytes.size())) {
            result.systemError = GetLastError();
            result.status = WriteResult::WriteFailed;
            return result;
        }
        bytes = {};
        if (!ReadsBack(temp.path(), format, width, height)) {
            result.status = WriteResult::Unreadable;
            return result;
        }
        if (!temp.Commit()) {
            result.systemError = GetLastError();
            result.status = WriteResult::WriteFailed;
        }
    } catch (const std::bad_alloc&) {
        result.status = WriteResult::OutOfMemory;
    }
    return result;
}

} // namespace tessary
