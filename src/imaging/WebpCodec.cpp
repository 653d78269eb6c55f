#include "imaging/WebpCodec.h"
#include "imaging/ExifOrientation.h"
#include <climits>
#include <cstring>
#include <new>
#include <webp/decode.h>
#include <webp/demux.h>
#include <webp/encode.h>

namespace tessary {

namespace {

struct DemuxDeleter {
    void operator()(WebPDemuxer* demux) const { WebPDemuxDelete(demux); }
};
using UniqueDemux = std::unique_ptr<WebPDemuxer, DemuxDeleter>;

class FrameIterator {
public:
    FrameIterator() = default;
    ~FrameIterator() {
        if (valid)
            WebPDemuxReleaseIterator(&iter);
    }
    FrameIterator(const FrameIterator&) = delete;
    FrameIterator& operator=(const FrameIterator&) = delete;
    WebPIterator iter{};
    bool valid = false;
};

class ChunkIterator {
public:
    ChunkIterator() = default;
    ~ChunkIterator() {
        if (valid)
            WebPDemuxReleaseChunkIterator(&iter);
    }
    ChunkIterator(const ChunkIterator&) = delete;
    ChunkIterator& operator=(const ChunkIterator&) = delete;
    WebPChunkIterator iter{};
    bool valid = false;
};

template <typename T> T* TryEnsure(GrowBuffer<T>& buffer, std::size_t count) {
    try {
        return buffer.Ensure(count);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool Affordable(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width * height <= kWebpMaxImagePixels;
}

} // namespace

struct WebpDecoder::State {
    GrowBuffer<unsigned char> file;
    GrowBuffer<std::uint32_t> pixels;
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    UniqueDemux demux;
    WebpInfo info;

    WebpStatus DecodeInto(const WebPData& bitstream, int width, int height, std::uint32_t* dest,
                          int strideWords);
};

WebpDecoder::WebpDecoder() : state_(std::make_unique<State>()) {}
WebpDecoder::~WebpDecoder() = default;

void WebpDecoder::ReleaseBuffers() {
    state_->demux.reset();
    state_->data = nullptr;
    state_->size = 0;
    state_->file.Release();
    state_->pixels.Release();
}

WebpStatus WebpDecoder::Open(const std::wstring& path, WebpInfo& info) {
    info = WebpInfo{};
    state_->demux.reset();
    state_->data = nullptr;
    std::size_t size = 0;
    try {
        if (!ReadWholeFile(path, state_->file, size, kWebpMaxFileBytes))
            return WebpStatus::NotWebp;
    } catch (const std::bad_alloc&) {
        return WebpStatus::OutOfMemory;
    }
    return OpenMemory(state_->file.data(), size, info);
}

WebpStatus WebpDecoder::OpenMemory(const unsigned char* data, std::size_t size, WebpInfo& info) {
    info = WebpInfo{};
    state_->demux.reset();
    state_->data = nullptr;
    state_->size = 0;
    if (!data || size < 12 || std::memcmp(data, "RIFF", 4) != 0 || std::memcmp(data + 8, "WEBP", 4) != 0)
        return WebpStatus::NotWebp;
    // The demuxer reads only the chunk headers; a file cut short or with chunks running past its
    // end is refused here.
    WebPData whole{data, size};
    UniqueDemux demux(WebPDemux(&whole));
    if (!demux)
        return WebpStatus::Damaged;
    const auto width = static_cast<std::int64_t>(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH));
    const auto height = static_cast<std::int64_t>(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT));
    if (width <= 0 || height <= 0)
        return WebpStatus::Damaged;
    if (!Affordable(width, height))
        return WebpStatus::TooLarge;
    const std::uint32_t flags = WebPDemuxGetI(demux.get(), WEBP_FF_FORMAT_FLAGS);
    info.width = static_cast<int>(width);
    info.height = static_cast<int>(height);
    info.animated = (flags & ANIMATION_FLAG) != 0 || WebPDemuxGetI(demux.get(), WEBP_FF_FRAME_COUNT) > 1;
    info.alpha = (flags & ALPHA_FLAG) != 0;
    {
        ChunkIterator exif;
        exif.valid = WebPDemuxGetChunk(demux.get(), "EXIF", 1, &exif.iter) != 0;
        if (exif.valid)
            info.orientation = OrientationFromExif(exif.iter.chunk.bytes, exif.iter.chunk.size);
    }
    state_->demux = std::move(demux);
    state_->data = data;
    state_->size = size;
    state_->info = info;
    return WebpStatus::Ok;
}

WebpStatus WebpDecoder::State::DecodeInto(const WebPData& bitstream, int width, int height,
                                          std::uint32_t* dest, int strideWords) {
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config))
        return WebpStatus::OutOfMemory;
    // The frame's own header must agree with what the container said, or the buffer would not fit.
    if (WebPGetFeatures(bitstream.bytes, bitstream.size, &config.input) != VP8_STATUS_OK)
        return WebpStatus::Damaged;
    if (!Affordable(config.input.width, config.input.height))
        return WebpStatus::TooLarge;
    if (width != config.input.width || height != config.input.height) {
        config.options.use_scaling = 1;
        config.options.scaled_width = width;
        config.options.scaled_height = height;
    }
    config.output.colorspace = MODE_BGRA;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = reinterpret_cast<std::uint8_t*>(dest);
    config.output.u.RGBA.stride = strideWords * 4;
    config.output.u.RGBA.size = static_cast<std::size_t>(strideWords) * 4 * static_cast<std::size_t>(height);
    const VP8StatusCode status = WebPDecode(bitstream.bytes, bitstream.size, &config);
    WebPFreeDecBuffer(&config.output);
    if (status == VP8_STATUS_OUT_OF_MEMORY)
        return WebpStatus::OutOfMemory;
    return status == VP8_STATUS_OK ? WebpStatus::Ok : WebpStatus::Damaged;
}

WebpStatus WebpDecoder::Decode(int width, int height, WebpPicture& out) {
    out = WebpPicture{};
    State& s = *state_;
    if (!s.demux)
        return WebpStatus::NotWebp;
    if (width <= 0 || height <= 0) {
        width = s.info.width;
        height = s.info.height;
    }
    if (!Affordable(width, height))
        return WebpStatus::TooLarge;
    FrameIterator frame;
    frame.valid = WebPDemuxGetFrame(s.demux.get(), 1, &frame.iter) != 0;
    if (!frame.valid || !frame.iter.complete)
        return WebpStatus::Damaged;
    const WebPIterator& it = frame.iter;
    const bool wholeCanvas =
        it.x_offset == 0 && it.y_offset == 0 && it.width == s.info.width && it.height == s.info.height;
    if (!wholeCanvas) {
        // Drawn at its place on a transparent canvas of full size (it is the first frame: nothing
        // lies below it); reducing that is left to the caller.
        width = s.info.width;
        height = s.info.height;
        if (it.x_offset < 0 || it.y_offset < 0 || it.width <= 0 || it.height <= 0 ||
            it.x_offset + it.width > width || it.y_offset + it.height > height)
            return WebpStatus::Damaged;
    }
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::uint32_t* pixels = TryEnsure(s.pixels, count);
    if (!pixels)
        return WebpStatus::OutOfMemory;
    WebpStatus status = WebpStatus::Ok;
    if (wholeCanvas) {
        status = s.DecodeInto(it.fragment, width, height, pixels, width);
    } else {
        std::memset(pixels, 0, count * 4);
        status = s.DecodeInto(it.fragment, it.width, it.height,
                              pixels + static_cast<std::size_t>(it.y_offset) * width + it.x_offset, width);
    }
    if (status != WebpStatus::Ok)
        return status;
    out.pixels = pixels;
    out.width = width;
    out.height = height;
    return WebpStatus::Ok;
}

bool EncodeWebp(const std::uint32_t* bgra, int width, int height, int strideBytes, int quality,
                std::vector<unsigned char>& out) {
    out.clear();
    if (!bgra || width <= 0 || height <= 0 || quality < 0 || quality > 100 || width > WEBP_MAX_DIMENSION ||
        height > WEBP_MAX_DIMENSION ||
        static_cast<std::int64_t>(strideBytes) < static_cast<std::int64_t>(width) * 4)
        return false;
    std::uint8_t* encoded = nullptr;
    const std::size_t size = WebPEncodeBGRA(reinterpret_cast<const std::uint8_t*>(bgra), width, height,
                                            strideBytes, static_cast<float>(quality), &encoded);
    if (size == 0 || !encoded) {
        WebPFree(encoded);
        return false;
    }
    try {
        out.assign(encoded, encoded + size);
    } catch (const std::bad_alloc&) {
        WebPFree(encoded);
        out.clear();
        return false;
    }
    WebPFree(encoded);
    return true;
}

} // namespace tessary
