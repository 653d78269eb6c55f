#include "imaging/GDIPlusAPI.h"
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

bool OpenedGdiplusSize(Gdiplus::Bitmap& bitmap, int& width, int& height) {
    if (bitmap.GetLastStatus() != Gdiplus::Ok)
        return false;
    const UINT w = bitmap.GetWidth(), h = bitmap.GetHeight();
    if (w > INT_MAX || h > INT_MAX || !PictureSizeAllowed(static_cast<int>(w), static_cast<int>(h)))
        return false;
    width = static_cast<int>(w);
    height = static_cast<int>(h);
    return true;
}

namespace {

// Every format but JPEG and WebP, through GDI+ (a TIFF's first page).
bool LoadWithGdiplus(const std::wstring& path, std::vector<std::uint32_t>& pixels, int& width, int& height) {
    Gdiplus::Bitmap bitmap(path.c_str(), FALSE);
    int w = 0, h = 0;
    if (!OpenedGdiplusSize(bitmap, w, h))
        return false;
    pixels.resize(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    Gdiplus::Rect rect(0, 0, w, h);
    Gdiplus::BitmapData data{};
    if (bitmap.LockBits(&rect, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok)
        return false;
    // The stride is negative for bitmaps stored bottom-up.
    for (int y = 0; y < h; ++y)
        std::memcpy(pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w),
                    static_cast<const BYTE*>(data.Scan0) + static_cast<std::ptrdiff_t>(y) * data.Stride,
                    static_cast<std::size_t>(w) * 4);
    bitmap.UnlockBits(&data);
    width = w;
    height = h;
    return true;
}

// Why a JPEG gave no picture: its frame claims a size over the rule, or it is damaged.
PictureProblem JpegProblem(const std::wstring& path) {
    std::vector<unsigned char> head(64 * 1024);
    std::size_t got = 0;
    if (!ReadFileStart(path, head.data(), head.size(), got))
        return PictureProblem::Unreadable;
    const ImageHeader header = ProbeImageHeader(head.data(), got);
    return header.width > 0 && !PictureSizeAllowed(header.width, header.height) ? PictureProblem::TooLarge
                                                                                : PictureProblem::Damaged;
}

bool LoadStored(const std::wstring& path, ImageFormat format, std::vector<std::uint32_t>& pixels, int& width,
                int& height, int& orientation, PictureProblem& problem) {
    problem = PictureProblem::Damaged;
    if (format == ImageFormat::Jpeg) {
        JpegDecoder decoder;
        DecodedImage image;
        if (!decoder.Decode(path, INT_MAX, INT_MAX, image)) {
            problem = JpegProblem(path);
            return false;
        }
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
        if (decoder.Open(path, info) != WebpStatus::Ok)
            return false;
        if (!PictureSizeAllowed(info.width, info.height)) {
            problem = PictureProblem::TooLarge;
            return false;
        }
        if (decoder.Decode(0, 0, picture) != WebpStatus::Ok)
            return false;
        pixels.assign(picture.pixels,
                      picture.pixels + static_cast<std::size_t>(picture.width) * picture.height);
        width = picture.width;
        height = picture.height;
        orientation = info.orientation;
        return true;
    }
    ImageHeader header;
    problem = CheckBeforeGdiplus(path, header);
    if (problem != PictureProblem::None)
        return false;
    problem = PictureProblem::Damaged;
    if (!LoadWithGdiplus(path, pixels, width, height))
        return false;
    orientation = format == ImageFormat::Tiff ? FileOrientation(path) : 1;
    return true;
}

} // namespace

PictureProblem CheckBeforeGdiplus(const std::wstring& path, ImageHeader& header) {
    unsigned char head[kImageHeaderBytes] = {};
    std::size_t got = 0;
    header = {};
    if (!ReadFileStart(path, head, sizeof head, got))
        return PictureProblem::Unreadable;
    header = ProbeImageHeader(head, got);
    if (header.format == ImageFormat::Tiff)
        header = ProbeTiffFile(path);
    if (header.format != ImageFormat::Png && header.format != ImageFormat::Gif &&
        header.format != ImageFormat::Bmp && header.format != ImageFormat::Tiff)
        return PictureProblem::Unreadable;
    if (header.width <= 0)
        return PictureProblem::Damaged;
    return PictureSizeAllowed(header.width, header.height) ? PictureProblem::None : PictureProblem::TooLarge;
}

bool RunLengthRowsComplete(const std::wstring& path) {
    unsigned char head[34] = {};
    std::size_t got = 0;
    if (!ReadFileStart(path, head, sizeof head, got) || got < 34 || head[0] != 'B' || head[1] != 'M' ||
        (head[30] != 1 && head[30] != 2) || head[31] || head[32] || head[33])
        return true;
    // The size rule bounds the file worth reading.
    GrowBuffer<unsigned char> file;
    std::size_t size = 0;
    return ReadWholeFile(path, file, size, static_cast<std::size_t>(kMaxDecodedPixels) * 2) &&
           BmpRowsComplete(file.data(), size);
}

ImageFormat FileFormat(const std::wstring& path) {
    unsigned char head[kImageHeaderBytes] = {};
    std::size_t got = 0;
    return ReadFileStart(path, head, sizeof head, got) ? ProbeImageHeader(head, got).format
                                                       : ImageFormat::Unknown;
}

bool LoadImagePixels(const std::wstring& path, std::vector<std::uint32_t>& pixels, int& width, int& height,
                     PictureProblem* problem) {
    pixels.clear();
    width = height = 0;
    PictureProblem why = PictureProblem::Unreadable;
    if (problem)
        *problem = PictureProblem::None;
    try {
        int orientation = 1;
        const ImageFormat format = FileFormat(path);
        if (format == ImageFormat::Unknown ||
            !LoadStored(path, format, pixels, width, height, orientation, why)) {
            pixels.clear();
            width = height = 0;
            if (problem)
                *problem = format == ImageFormat::Unknown ? PictureProblem::Unreadable : why;
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
        if (problem)
            *problem = PictureProblem::TooLarge;
        return false;
    }
}

} // namespace tessary
