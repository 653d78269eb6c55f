#include "imaging/PictureDecoder.h"
#include "platform/Clock.h"
#include "imaging/GDIPlusAPI.h"
#include "imaging/BmpFile.h"
#include "imaging/PixelTransform.h"
#include <objidl.h> // GDI+ needs it, and WIN32_LEAN_AND_MEAN leaves it out
#include "platform/GdiPlus.h"
#include "platform/Handles.h"
#include <algorithm>
#include <climits>
#include <new>

namespace tessary {

namespace {

// Takes the rows of any decoder, puts them on the background and averages them onto the picture.
class ReducingSink final : public RowSink {
public:
    ReducingSink(const PictureSizeRule& rule, const TransparencyRule* flatten, ScaleFilter filter,
                 RowReducer& reducer, std::vector<std::uint32_t>& pixels, std::vector<std::uint32_t>& stored,
                 DecodedPicture& out, const std::atomic<bool>* cancel)
        : rule_(rule), flatten_(flatten), filter_(filter), reducer_(reducer), pixels_(pixels),
          stored_(stored), out_(out), cancel_(cancel) {}

    // The size is decided upright; the picture is reduced as stored and turned at the end.
    bool Wanted(int fullWidth, int fullHeight, int orientation, int& minWidth, int& minHeight) override {
        upright_ = TransformFromExifOrientation(orientation);
        const bool swaps = SwapsSides(upright_);
        int width = 0, height = 0;
        if (!rule_(swaps ? fullHeight : fullWidth, swaps ? fullWidth : fullHeight, width, height) ||
            width < 0 || height < 0)
            return false;
        out_.fullWidth = swaps ? fullHeight : fullWidth;
        out_.fullHeight = swaps ? fullWidth : fullHeight;
        out_.width = width;
        out_.height = height;
        storedWidth_ = swaps ? height : width;
        storedHeight_ = swaps ? width : height;
        minWidth = std::max(storedWidth_, 1);
        minHeight = std::max(storedHeight_, 1);
        return true;
    }
    int storedWidth() const { return storedWidth_; }
    int storedHeight() const { return storedHeight_; }

    // After the last row: the picture upright in pixels.
    bool Finish() {
        if (!reducing_ || upright_ == PixelTransform::None)
            return true;
        try {
            pixels_.resize(static_cast<std::size_t>(out_.width) * static_cast<std::size_t>(out_.height));
        } catch (const std::bad_alloc&) {
            return false;
        }
        return TransformPixels(ConstPixelView(stored_.data(), storedWidth_, storedHeight_, storedWidth_),
                               PixelView{pixels_.data(), out_.width, out_.height, out_.width}, upright_);
    }

    bool Begin(const RowPicture& picture) override {
        decodedWidth_ = picture.width;
        if (out_.width == 0 || out_.height == 0) {
            out_.width = out_.height = 0;
            return true;
        }
        std::vector<std::uint32_t>& target = upright_ == PixelTransform::None ? pixels_ : stored_;
        try {
            target.resize(static_cast<std::size_t>(storedWidth_) * static_cast<std::size_t>(storedHeight_));
        } catch (const std::bad_alloc&) {
            return false;
        }
        // Each side of a DCT-scaled decode covers full / scale pixels of image, the last one partly.
        const DecodeMapping mapping = ScaledDecodeMapping(picture.fullWidth, picture.fullHeight,
                                                          picture.scale, storedWidth_, storedHeight_);
        reducing_ = reducer_.Start(picture.width, picture.height, mapping.source,
                                   PixelView{target.data(), storedWidth_, storedHeight_, storedWidth_},
                                   mapping.dest, filter_);
        return reducing_;
    }

    bool Rows(std::uint32_t* rows, int count, int stride) override {
        if (cancel_ && cancel_->load(std::memory_order_relaxed))
            return false;
        if (!reducing_)
            return true;
        const double start = Seconds();
        if (flatten_ && *flatten_) {
            for (int y = 0; y < count; ++y)
                (*flatten_)(rows + static_cast<std::ptrdiff_t>(y) * stride,
                            static_cast<std::size_t>(decodedWidth_));
        }
        reducer_.Push(rows, count, stride);
        out_.reduceSeconds += Seconds() - start;
        return true;
    }

private:
    const PictureSizeRule& rule_;
    const TransparencyRule* flatten_; // none for a format without transparency
    ScaleFilter filter_;
    RowReducer& reducer_;
    std::vector<std::uint32_t>& pixels_;
    std::vector<std::uint32_t>& stored_;
    DecodedPicture& out_;
    const std::atomic<bool>* cancel_;
    bool reducing_ = false;
    int decodedWidth_ = 0;
    PixelTransform upright_ = PixelTransform::None;
    int storedWidth_ = 0, storedHeight_ = 0;
};

bool DecodeWebp(WebpDecoder& webp, const std::wstring& path, ReducingSink& sink) {
    WebpInfo info;
    if (webp.Open(path, info) != WebpStatus::Ok || !PictureSizeAllowed(info.width, info.height, 8))
        return false;
    int minWidth = 0, minHeight = 0;
    if (!sink.Wanted(info.width, info.height, info.orientation, minWidth, minHeight))
        return false;
    // libwebp reduces while it decodes, averaging what it drops; our reduction then only copies.
    WebpPicture decoded;
    if (sink.storedWidth() < 1 || sink.storedHeight() < 1 ||
        webp.Decode(sink.storedWidth(), sink.storedHeight(), decoded) != WebpStatus::Ok)
        return false;
    RowPicture picture;
    picture.width = picture.fullWidth = decoded.width;
    picture.height = picture.fullHeight = decoded.height;
    return sink.Begin(picture) &&
           sink.Rows(const_cast<std::uint32_t*>(decoded.pixels), decoded.height, decoded.width);
}

// Takes the rows of a picture stored upright and writes them into a BMP file as they come: the
// file's rows go bottom-up, so the rows are gathered into strips of about a megabyte (a PNG comes
// a row at a time), each written at its place with one call.
class BmpFileSink final : public RowSink {
public:
    BmpFileSink(HANDLE file, const TransparencyRule& flatten) : file_(file), flatten_(flatten) {}

    bool Wanted(int fullWidth, int fullHeight, int orientation, int& minWidth, int& minHeight) override {
        turned_ = orientation != 1;
        minWidth = fullWidth;
        minHeight = fullHeight;
        return !turned_;
    }
    bool Begin(const RowPicture& picture) override {
        width_ = picture.width;
        height_ = picture.height;
        layout_ = Bmp24LayoutFor(width_, height_);
        if (layout_.totalBytes == 0)
            return false;
        const auto rowBytes = static_cast<std::size_t>(layout_.rowBytes);
        stripRows_ = static_cast<int>(
            std::clamp<std::size_t>(kStripBytes / rowBytes, 1, static_cast<std::size_t>(height_)));
        try {
            strip_.assign(rowBytes * static_cast<std::size_t>(stripRows_), 0);
        } catch (const std::bad_alloc&) {
            return false;
        }
        const std::vector<unsigned char> header = Bmp24Header(width_, height_);
        return WriteAt(0, header.data(), header.size());
    }
    bool Rows(std::uint32_t* rows, int count, int stride) override {
        const auto rowBytes = static_cast<std::size_t>(layout_.rowBytes);
        for (int r = 0; r < count; ++r) {
            if (next_ + held_ >= height_)
                return false;
            std::uint32_t* row = rows + static_cast<std::ptrdiff_t>(r) * stride;
            if (flatten_)
                flatten_(row, static_cast<std::size_t>(width_));
            // The strip fills from its end: its last row comes first in the file.
            PackBmp24Row(row, width_,
                         strip_.data() + static_cast<std::size_t>(stripRows_ - 1 - held_) * rowBytes);
            if (++held_ == stripRows_ && !Flush())
                return false;
        }
        return true;
    }
    // Writes the rows still held; true once every row of the picture is in the file.
    bool Finish() { return Flush() && next_ == height_; }
    bool turned() const { return turned_; }

private:
    static constexpr std::size_t kStripBytes = std::size_t{1} << 20;

    bool Flush() {
        if (held_ == 0)
            return true;
        const auto rowBytes = static_cast<std::size_t>(layout_.rowBytes);
        const int lastRow = next_ + held_ - 1;
        const unsigned char* first = strip_.data() + static_cast<std::size_t>(stripRows_ - held_) * rowBytes;
        const bool ok =
            WriteAt(layout_.headerBytes + static_cast<std::uint64_t>(height_ - 1 - lastRow) * rowBytes, first,
                    rowBytes * static_cast<std::size_t>(held_));
        next_ += held_;
        held_ = 0;
        return ok;
    }
    bool WriteAt(std::uint64_t offset, const unsigned char* data, std::size_t size) {
        LARGE_INTEGER at;
        at.QuadPart = static_cast<LONGLONG>(offset);
        DWORD written = 0;
        return SetFilePointerEx(file_, at, nullptr, FILE_BEGIN) &&
               WriteFile(file_, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
    }
    HANDLE file_;
    const TransparencyRule& flatten_;
    bool turned_ = false;
    int width_ = 0, height_ = 0;
    int next_ = 0;      // rows already written
    int held_ = 0;      // rows gathered in the strip
    int stripRows_ = 1; // rows the strip holds
    Bmp24Layout layout_;
    std::vector<unsigned char> strip_;
};

} // namespace

bool PictureDecoder::WriteBmp(const std::wstring& source, const std::wstring& target,
                              const TransparencyRule& flatten) {
    try {
        unsigned char head[kImageHeaderBytes] = {};
        std::size_t got = 0;
        if (!ReadFileStart(source, head, sizeof head, got))
            return false;
        const ImageFormat format = ProbeImageHeader(head, got).format;
        if (format == ImageFormat::Jpeg || format == ImageFormat::Png) {
            TempFileBeside temp(target);
            bool turned = false;
            {
                UniqueFile file(CreateFileW(temp.path().c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
                if (!temp.ok() || !file)
                    return false;
                BmpFileSink sink(file.get(), flatten);
                bool complete = true;
                const bool ok = format == ImageFormat::Jpeg ? jpeg_.DecodeRows(source, sink, complete)
                                                            : png_.DecodeRows(source, sink);
                turned = sink.turned();
                if (!turned && !(ok && complete && sink.Finish()))
                    return false;
            }
            if (!turned)
                return temp.Commit();
        }
        // Turned upright, or decoded by GDI+ or libwebp: the whole picture first.
        std::vector<std::uint32_t> pixels;
        DecodedPicture picture;
        const PictureSizeRule fullSize = [](int w, int h, int& width, int& height) {
            width = w;
            height = h;
            return true;
        };
        if (!Decode(source, fullSize, flatten, ScaleFilter::AreaAverage, pixels, picture) ||
            picture.width < 1)
            return false;
        const std::vector<unsigned char> file =
            EncodeBmp24(pixels.data(), picture.width, picture.height, picture.width);
        return !file.empty() && WriteFileReplacing(target, file.data(), file.size());
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool PictureDecoder::Decode(const std::wstring& path, const PictureSizeRule& rule,
                            const TransparencyRule& flatten, ScaleFilter filter,
                            std::vector<std::uint32_t>& pixels, DecodedPicture& out) {
    out = DecodedPicture{};
    bool ok = false;
    try {
        unsigned char head[kImageHeaderBytes] = {};
        std::size_t got = 0;
        if (!ReadFileStart(path, head, sizeof head, got))
            return false;
        const ImageHeader header = ProbeImageHeader(head, got);
        out.format = header.format;
        ReducingSink sink(rule, header.format == ImageFormat::Jpeg ? nullptr : &flatten, filter, reducer_,
                          pixels, stored_, out, cancel_);
        switch (header.format) {
        case ImageFormat::Jpeg:
            ok = jpeg_.DecodeRows(path, sink, out.complete);
            break;
        case ImageFormat::Png:
            ok = png_.DecodeRows(path, sink);
            break;
        case ImageFormat::Webp:
            ok = DecodeWebp(webp_, path, sink);
            break;
        case ImageFormat::Gif:
        case ImageFormat::Bmp:
        case ImageFormat::Tiff:
            ok = DecodeWithGdiplus(path, header, sink);
            break;
        case ImageFormat::Unknown:
            break;
        }
        // A damaged picture is refused whole, never drawn with its missing part filled in.
        ok = ok && sink.Finish() && out.complete;
    } catch (const std::bad_alloc&) {
        ok = false;
    }
    if (!ok)
        out = DecodedPicture{};
    return ok;
}

bool PictureDecoder::DecodeWithGdiplus(const std::wstring& path, const ImageHeader& header, RowSink& sink) {
    // Refused before GDI+ sees it: over the size rule, or run-length rows missing.
    ImageHeader checked;
    if (CheckBeforeGdiplus(path, checked) != PictureProblem::None || !RunLengthRowsComplete(path))
        return false;
    Gdiplus::Bitmap bitmap(path.c_str(), FALSE);
    int w = 0, h = 0;
    if (!OpenedGdiplusSize(bitmap, w, h))
        return false;
    RowPicture picture;
    picture.width = picture.fullWidth = w;
    picture.height = picture.fullHeight = h;
    int minWidth = 0, minHeight = 0;
    const int orientation = header.format == ImageFormat::Tiff ? FileOrientation(path) : 1;
    if (!sink.Wanted(picture.width, picture.height, orientation, minWidth, minHeight))
        return false;
    // GDI+ converts straight into our buffer.
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(w);
    data.Height = static_cast<UINT>(h);
    data.Stride = w * 4;
    data.PixelFormat = PixelFormat32bppARGB;
    data.Scan0 = whole_.Ensure(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    Gdiplus::Rect rect(0, 0, picture.width, picture.height);
    if (bitmap.LockBits(&rect, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                        PixelFormat32bppARGB, &data) != Gdiplus::Ok)
        return false;
    bitmap.UnlockBits(&data);
    return sink.Begin(picture) && sink.Rows(whole_.data(), picture.height, picture.width);
}

void PictureDecoder::ReleaseBuffers() {
    jpeg_.ReleaseBuffers();
    png_.ReleaseBuffers();
    webp_.ReleaseBuffers();
    stored_ = {};
    reducer_.Release();
    whole_.Release();
}

} // namespace tessary
