#include "catalog/ReducedImage.h"
#include "catalog/DecodePlan.h"
#include "catalog/ThumbGeometry.h"
#include <objidl.h> // GDI+ needs it, and WIN32_LEAN_AND_MEAN leaves it out
#include "platform/GdiPlus.h"
#include "wallpaper/PreviewPixels.h"
#include <algorithm>
#include <climits>
#include <new>
#include <turbojpeg.h>

namespace tessary {

double Seconds() {
    static const double frequency = [] {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

struct ImageReducer::TjHandle {
    tjhandle handle = tjInitDecompress();
    ~TjHandle() {
        if (handle)
            tjDestroy(handle);
    }
};

ImageReducer::ImageReducer() : tj_(std::make_unique<TjHandle>()) {}
ImageReducer::~ImageReducer() = default;

void ImageReducer::ReleaseBuffers() {
    jpeg_.ReleaseBuffers();
    file_.Release();
    pixels_.Release();
}

bool ImageReducer::Reduce(const std::wstring& path, Surface& target, ReducedImage& out, DecodeTimes& times) {
    out = ReducedImage{};
    try {
        unsigned char head[kImageHeaderBytes] = {};
        std::size_t got = 0;
        ImageHeader header;
        {
            ScopedTimer t(times.decode);
            if (!ReadFileStart(path, head, sizeof head, got))
                return false;
            header = ProbeImageHeader(head, got);
        }
        bool ok = false;
        switch (header.format) {
        case ImageFormat::Jpeg:
            ok = ReduceJpeg(path, target, out, times);
            break;
        case ImageFormat::Png:
        case ImageFormat::Gif:
        case ImageFormat::Bmp:
            ok = ReduceWithGdiplus(path, header.width, header.height, target, out, times);
            break;
        case ImageFormat::Unknown:
            break;
        }
        if (!ok)
            out = ReducedImage{};
        return ok;
    } catch (const std::bad_alloc&) {
        out = ReducedImage{};
        return false;
    }
}

bool ImageReducer::ReduceJpeg(const std::wstring& path, Surface& target, ReducedImage& out,
                              DecodeTimes& times) {
    DecodedImage decoded;
    IntSize reduced;
    {
        ScopedTimer t(times.decode);
        std::size_t size = 0;
        if (!tj_->handle || !ReadWholeFile(path, file_, size, kJpegMaxFileBytes) || size > ULONG_MAX)
            return false;
        // The frame header gives the size, which decides the divisor and so the DCT scale.
        int width = 0, height = 0, subsampling = 0, colourspace = 0;
        if (tjDecompressHeader3(tj_->handle, file_.data(), static_cast<unsigned long>(size), &width, &height,
                                &subsampling, &colourspace) != 0 ||
            width <= 0 || height <= 0)
            return false;
        out.divisor = DecodeDivisor(width, height);
        reduced = ReducedSourceSize(width, height, out.divisor);
        if (!jpeg_.DecodeMemory(file_.data(), size, std::max(reduced.width, 1), std::max(reduced.height, 1),
                                decoded) ||
            !decoded.complete)
            return false; // a damaged or cut-off file is not shown half grey
    }
    ScopedTimer t(times.reduce);
    out.fullWidth = decoded.fullWidth;
    out.fullHeight = decoded.fullHeight;
    out.width = reduced.width;
    out.height = reduced.height;
    const ConstPixelView source(decoded.pixels, decoded.width, decoded.height, decoded.width);
    return ScaleInto(source,
                     ScaledDecodeMapping(decoded.fullWidth, decoded.fullHeight, decoded.scale, reduced.width,
                                         reduced.height),
                     target, out);
}

bool ImageReducer::ReduceWithGdiplus(const std::wstring& path, int claimedWidth, int claimedHeight,
                                     Surface& target, ReducedImage& out, DecodeTimes& times) {
    // Refused before GDI+ allocates anything for it.
    if (!FullDecodeAffordable(claimedWidth, claimedHeight))
        return false;
    int width = 0, height = 0;
    {
        ScopedTimer t(times.decode);
        Gdiplus::Bitmap bitmap(path.c_str(), FALSE);
        if (bitmap.GetLastStatus() != Gdiplus::Ok)
            return false;
        const UINT w = bitmap.GetWidth(), h = bitmap.GetHeight();
        if (w > INT_MAX || h > INT_MAX || !FullDecodeAffordable(static_cast<int>(w), static_cast<int>(h)))
            return false;
        width = static_cast<int>(w);
        height = static_cast<int>(h);
        const std::size_t count = static_cast<std::size_t>(w) * h;
        // GDI+ converts straight into our buffer.
        Gdiplus::BitmapData data{};
        data.Width = w;
        data.Height = h;
        data.Stride = static_cast<INT>(w * 4);
        data.PixelFormat = PixelFormat32bppARGB;
        data.Scan0 = pixels_.Ensure(count);
        Gdiplus::Rect rect(0, 0, width, height);
        if (bitmap.LockBits(&rect, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                            PixelFormat32bppARGB, &data) != Gdiplus::Ok)
            return false;
        bitmap.UnlockBits(&data);
        // Transparent pixels show the 3-D face colour, as the cell around them does.
        FlattenOnto(pixels_.data(), count, PixelFromColorRef(GetSysColor(COLOR_BTNFACE)));
    }
    ScopedTimer t(times.reduce);
    out.fullWidth = width;
    out.fullHeight = height;
    out.divisor = DecodeDivisor(width, height);
    const IntSize reduced = ReducedSourceSize(width, height, out.divisor);
    out.width = reduced.width;
    out.height = reduced.height;
    return ScaleInto(ConstPixelView(pixels_.data(), width, height, width),
                     ScaledDecodeMapping(width, height, 1, reduced.width, reduced.height), target, out);
}

bool ImageReducer::ScaleInto(ConstPixelView source, const DecodeMapping& mapping, Surface& target,
                             ReducedImage& out) {
    // A reduced side can round to nothing (4000 x 1 gives 200 x 0): the image is still listed,
    // with an empty picture.
    if (out.width < 1 || out.height < 1)
        return true;
    if (target.width() < out.width || target.height() < out.height) {
        if (!target.Create(std::max(target.width(), out.width), std::max(target.height(), out.height)))
            return false;
    }
    // Clipped to the reduced size: the mapping reaches beyond it.
    const PixelView dest{target.bits(), out.width, out.height, target.width()};
    return ScalePixels(source, mapping.source, dest, mapping.dest, ScaleFilter::AreaAverage, scratch_);
}

bool ImageReducer::LoadThumbnail(const std::wstring& path, ConstPixelView& out, DecodeTimes& times) {
    out = ConstPixelView{};
    ScopedTimer t(times.decode);
    DecodedImage decoded;
    if (!jpeg_.Decode(path, INT_MAX, INT_MAX, decoded) || !decoded.complete)
        return false;
    out = ConstPixelView(decoded.pixels, decoded.width, decoded.height, decoded.width);
    return true;
}

} // namespace tessary
