#include "catalog/ReducedImage.h"
#include "catalog/DecodePlan.h"
#include "catalog/ThumbGeometry.h"
#include "imaging/ExifOrientation.h"
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
    webp_.ReleaseBuffers();
    turned_.Release();
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
        case ImageFormat::Webp:
            ok = ReduceWebp(path, target, out, times);
            break;
        case ImageFormat::Png:
        case ImageFormat::Gif:
        case ImageFormat::Bmp:
        case ImageFormat::Tiff:
            ok = ReduceWithGdiplus(path, header, target, out, times);
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

namespace {

// The thumbnail plan of an image stored at width x height and shown turned as orientation says:
// the divisor follows the upright size, the reduction is made at the stored one.
struct UprightPlan {
    PixelTransform upright = PixelTransform::None;
    IntSize shown; // the upright full size
    int divisor = 1;
    IntSize reducedShown;  // the reduced picture, upright
    IntSize reducedStored; // the same before turning
};

UprightPlan PlanFor(int width, int height, int orientation) {
    UprightPlan plan;
    plan.upright = TransformFromExifOrientation(orientation);
    const bool swaps = SwapsSides(plan.upright);
    plan.shown = swaps ? IntSize{height, width} : IntSize{width, height};
    plan.divisor = DecodeDivisor(plan.shown.width, plan.shown.height);
    plan.reducedShown = ReducedSourceSize(plan.shown.width, plan.shown.height, plan.divisor);
    plan.reducedStored =
        swaps ? IntSize{plan.reducedShown.height, plan.reducedShown.width} : plan.reducedShown;
    return plan;
}

void TakePlan(const UprightPlan& plan, ReducedImage& out) {
    out.fullWidth = plan.shown.width;
    out.fullHeight = plan.shown.height;
    out.divisor = plan.divisor;
    out.width = plan.reducedShown.width;
    out.height = plan.reducedShown.height;
}

} // namespace

bool ImageReducer::ReduceJpeg(const std::wstring& path, Surface& target, ReducedImage& out,
                              DecodeTimes& times) {
    DecodedImage decoded;
    UprightPlan plan;
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
        plan = PlanFor(width, height, OrientationFromJpeg(file_.data(), size));
        if (!jpeg_.DecodeMemory(file_.data(), size, std::max(plan.reducedStored.width, 1),
                                std::max(plan.reducedStored.height, 1), decoded) ||
            !decoded.complete)
            return false; // a damaged or cut-off file is not shown half grey
    }
    ScopedTimer t(times.reduce);
    TakePlan(plan, out);
    const ConstPixelView source(decoded.pixels, decoded.width, decoded.height, decoded.width);
    return ScaleInto(source,
                     ScaledDecodeMapping(decoded.fullWidth, decoded.fullHeight, decoded.scale,
                                         plan.reducedStored.width, plan.reducedStored.height),
                     plan.upright, target, out);
}

bool ImageReducer::ReduceWebp(const std::wstring& path, Surface& target, ReducedImage& out,
                              DecodeTimes& times) {
    WebpPicture picture;
    UprightPlan plan;
    {
        ScopedTimer t(times.decode);
        WebpInfo info;
        if (webp_.Open(path, info) != WebpStatus::Ok)
            return false;
        plan = PlanFor(info.width, info.height, info.orientation);
        // libwebp reduces while it decodes, averaging what it drops.
        if (plan.reducedStored.width < 1 || plan.reducedStored.height < 1 ||
            webp_.Decode(plan.reducedStored.width, plan.reducedStored.height, picture) != WebpStatus::Ok)
            return false;
        FlattenOnto(const_cast<std::uint32_t*>(picture.pixels),
                    static_cast<std::size_t>(picture.width) * picture.height,
                    PixelFromColorRef(GetSysColor(COLOR_BTNFACE)));
    }
    ScopedTimer t(times.reduce);
    TakePlan(plan, out);
    return ScaleInto(ConstPixelView(picture.pixels, picture.width, picture.height, picture.width),
                     ScaledDecodeMapping(picture.width, picture.height, 1, plan.reducedStored.width,
                                         plan.reducedStored.height),
                     plan.upright, target, out);
}

bool ImageReducer::ReduceWithGdiplus(const std::wstring& path, const ImageHeader& header, Surface& target,
                                     ReducedImage& out, DecodeTimes& times) {
    // Refused before GDI+ allocates anything for it (a TIFF's size is known only once it is opened).
    if (header.format != ImageFormat::Tiff && !FullDecodeAffordable(header.width, header.height))
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
    const UprightPlan plan =
        PlanFor(width, height, header.format == ImageFormat::Tiff ? FileOrientation(path) : 1);
    TakePlan(plan, out);
    return ScaleInto(
        ConstPixelView(pixels_.data(), width, height, width),
        ScaledDecodeMapping(width, height, 1, plan.reducedStored.width, plan.reducedStored.height),
        plan.upright, target, out);
}

bool ImageReducer::ScaleInto(ConstPixelView source, const DecodeMapping& mapping, PixelTransform upright,
                             Surface& target, ReducedImage& out) {
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
    if (upright == PixelTransform::None)
        return ScalePixels(source, mapping.source, dest, mapping.dest, ScaleFilter::AreaAverage, scratch_);
    // Reduced as stored, then turned upright into the target.
    const int storedWidth = SwapsSides(upright) ? out.height : out.width;
    const int storedHeight = SwapsSides(upright) ? out.width : out.height;
    std::uint32_t* stored = turned_.Ensure(static_cast<std::size_t>(storedWidth) * storedHeight);
    const PixelView storedView{stored, storedWidth, storedHeight, storedWidth};
    return ScalePixels(source, mapping.source, storedView, mapping.dest, ScaleFilter::AreaAverage,
                       scratch_) &&
           TransformPixels(storedView, dest, upright);
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
