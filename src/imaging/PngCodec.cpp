#include "imaging/PngCodec.h"
#include "imaging/DecodePlan.h"
#include "platform/Handles.h"
#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <spng.h>

namespace tessary {

namespace {

constexpr std::size_t kReadBlock = 256u << 10;

struct SpngDeleter {
    void operator()(spng_ctx* ctx) const { spng_ctx_free(ctx); }
};

// libspng asks for a few bytes at a time (8 KB at most); each is served from a block read ahead,
// so the file is read in few calls whatever its chunks.
struct FileStream {
    HANDLE file;
    unsigned char* block;
    std::size_t filled = 0, used = 0;
};

int ReadStream(spng_ctx*, void* user, void* dest, std::size_t length) {
    auto& s = *static_cast<FileStream*>(user);
    auto* out = static_cast<unsigned char*>(dest);
    while (length > 0) {
        if (s.used == s.filled) {
            DWORD got = 0;
            if (!ReadFile(s.file, s.block, static_cast<DWORD>(kReadBlock), &got, nullptr))
                return SPNG_IO_ERROR;
            if (got == 0)
                return SPNG_IO_EOF;
            s.filled = got;
            s.used = 0;
        }
        const std::size_t n = std::min(length, s.filled - s.used);
        std::memcpy(out, s.block + s.used, n);
        s.used += n;
        out += n;
        length -= n;
    }
    return 0;
}

// libspng writes R, G, B, A bytes; our words are B, G, R, A in memory.
void RgbaToBgra(std::uint32_t* p, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t v = p[i];
        p[i] = (v & 0xFF00FF00u) | ((v & 0xFFu) << 16) | ((v >> 16) & 0xFFu);
    }
}

template <typename T> T* TryEnsure(GrowBuffer<T>& buffer, std::size_t count) {
    try {
        return buffer.Ensure(count);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace

bool PngDecoder::DecodeRows(const std::wstring& path, RowSink& sink) {
    UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    unsigned char* block = TryEnsure(read_, kReadBlock);
    if (!file || !block)
        return false;
    // Each image-data chunk's CRC already proves its bytes whole, so the inflated stream's own
    // Adler-32 (a twentieth of the decode) is not computed again.
    std::unique_ptr<spng_ctx, SpngDeleter> ctx(spng_ctx_new(SPNG_CTX_IGNORE_ADLER32));
    if (!ctx)
        return false;
    FileStream stream{file.get(), block};
    spng_ctx* c = ctx.get();
    // Damaged ancillary chunks are dropped, as other readers do; damaged image data is an error.
    if (spng_set_png_stream(c, ReadStream, &stream) != 0 ||
        spng_set_chunk_limits(c, kPngMaxChunkBytes, kPngMaxChunkCacheBytes) != 0 ||
        spng_set_crc_action(c, SPNG_CRC_ERROR, SPNG_CRC_DISCARD) != 0)
        return false;
    spng_ihdr ihdr{};
    if (spng_get_ihdr(c, &ihdr) != 0 || ihdr.width > INT_MAX || ihdr.height > INT_MAX)
        return false;
    RowPicture picture;
    picture.width = picture.fullWidth = static_cast<int>(ihdr.width);
    picture.height = picture.fullHeight = static_cast<int>(ihdr.height);
    int minWidth = 0, minHeight = 0;
    if (!PictureSizeAllowed(picture.width, picture.height) ||
        !sink.Wanted(picture.width, picture.height, 1, minWidth, minHeight))
        return false;
    const bool interlaced = ihdr.interlace_method != SPNG_INTERLACE_NONE;
    const std::size_t width = ihdr.width;
    std::uint32_t* rows = TryEnsure(rows_, interlaced ? width * ihdr.height : width);
    if (!rows)
        return false;
    if (spng_decode_image(c, nullptr, 0, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE) != 0 ||
        !sink.Begin(picture))
        return false;
    const std::size_t rowBytes = width * 4;
    int error = 0;
    if (!interlaced) {
        for (std::uint32_t y = 0; y < ihdr.height && error == 0; ++y) {
            error = spng_decode_row(c, rows, rowBytes);
            if (error == 0 || error == SPNG_EOI) {
                RgbaToBgra(rows, width);
                if (!sink.Rows(rows, 1, static_cast<int>(width)))
                    return false;
            }
        }
        return error == SPNG_EOI;
    }
    do {
        spng_row_info info{};
        error = spng_get_row_info(c, &info);
        if (error == 0)
            error = spng_decode_row(c, rows + static_cast<std::size_t>(info.row_num) * width, rowBytes);
    } while (error == 0);
    if (error != SPNG_EOI)
        return false;
    RgbaToBgra(rows, width * ihdr.height);
    return sink.Rows(rows, picture.height, picture.width);
}

void PngDecoder::ReleaseBuffers() {
    read_.Release();
    rows_.Release();
}

} // namespace tessary
