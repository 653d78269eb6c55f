// PNGs decoded a row at a time by libspng and reduced as they arrive: the same picture as GDI+'s
// whole decode reduced afterwards, for every kind of PNG; and files built to exhaust memory are
// refused without it.
#include "imaging/GDIPlusAPI.h"
#include "imaging/PictureDecoder.h"
#include "support/WinTest.h"
#include "imaging/PixelOps.h"
#include <spng.h>
#include <zlib.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

using namespace tessary;
using namespace wintest;

namespace {

using Encoder = std::unique_ptr<spng_ctx, decltype(&spng_ctx_free)>;

Encoder NewEncoder(std::uint32_t w, std::uint32_t h, std::uint8_t colourType, std::uint8_t depth,
                   bool interlaced) {
    Encoder e(spng_ctx_new(SPNG_CTX_ENCODER), &spng_ctx_free);
    spng_set_option(e.get(), SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr{w, h, depth, colourType, 0, 0, static_cast<std::uint8_t>(interlaced)};
    spng_set_ihdr(e.get(), &ihdr);
    return e;
}

bool Finish(Encoder& e, const std::vector<unsigned char>& raw, const std::wstring& path) {
    if (spng_encode_image(e.get(), raw.data(), raw.size(), SPNG_FMT_PNG, SPNG_ENCODE_FINALIZE) != 0)
        return false;
    std::size_t size = 0;
    int error = 0;
    std::unique_ptr<void, decltype(&std::free)> png(spng_get_png_buffer(e.get(), &size, &error), &std::free);
    return png && WriteFileReplacing(path, png.get(), size);
}

const PictureSizeRule kThird = [](int w, int h, int& rw, int& rh) {
    rw = w / 3;
    rh = h / 3;
    return true;
};

} // namespace

// 8-bit RGBA with every alpha, 16-bit RGB, grey with alpha, and a palette with transparent
// entries, each plain and interlaced: reduced by a third onto the face colour.
TEST(PngRows, SameAsAWholeDecodeReduced) {
    TempDir dir(L"pngrows");
    const int w = 301, h = 203;
    struct Kind {
        std::uint8_t colourType, depth;
        int bytesPerPixel;
    };
    const std::uint32_t face = PixelFromColorRef(GetSysColor(COLOR_BTNFACE));
    for (const Kind k : {Kind{SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, 8, 4}, Kind{SPNG_COLOR_TYPE_TRUECOLOR, 16, 6},
                         Kind{SPNG_COLOR_TYPE_GRAYSCALE_ALPHA, 8, 2}, Kind{SPNG_COLOR_TYPE_INDEXED, 8, 1}}) {
        for (bool interlaced : {false, true}) {
            SCOPED_TRACE(std::to_string(k.colourType) + (interlaced ? " interlaced" : ""));
            std::vector<unsigned char> raw(static_cast<std::size_t>(w) * h * k.bytesPerPixel);
            for (std::size_t i = 0; i < raw.size(); ++i)
                raw[i] = static_cast<unsigned char>((i * 7 + i / (w * k.bytesPerPixel) * 13) ^ (i >> 5));
            Encoder e = NewEncoder(w, h, k.colourType, k.depth, interlaced);
            if (k.colourType == SPNG_COLOR_TYPE_INDEXED) {
                spng_plte plte{};
                spng_trns trns{};
                plte.n_entries = trns.n_type3_entries = 256;
                for (int i = 0; i < 256; ++i) {
                    plte.entries[i] = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                                       static_cast<std::uint8_t>(i * 3), 0};
                    trns.type3_alpha[i] = static_cast<std::uint8_t>(i * 5);
                }
                spng_set_plte(e.get(), &plte);
                spng_set_trns(e.get(), &trns);
            }
            const std::wstring path = dir / L"p.png";
            ASSERT_TRUE(Finish(e, raw, path));

            PictureDecoder decoder;
            std::vector<std::uint32_t> pixels;
            DecodedPicture picture;
            ASSERT_TRUE(decoder.Decode(
                path, kThird, [face](std::uint32_t* p, std::size_t n) { FlattenOnto(p, n, face); },
                ScaleFilter::AreaAverage, pixels, picture));
            EXPECT_EQ(picture.fullWidth, w);
            EXPECT_EQ(picture.fullHeight, h);
            ASSERT_EQ(picture.width, w / 3);
            ASSERT_EQ(picture.height, h / 3);

            Picture whole = ReadPicture(path);
            ASSERT_EQ(whole.width, w);
            FlattenOnto(whole.pixels.data(), whole.pixels.size(), face);
            std::vector<std::uint32_t> reference(pixels.size());
            ScaleScratch scratch;
            ASSERT_TRUE(ScalePixels(ConstPixelView(whole.pixels.data(), w, h, w), {0, 0, w, h},
                                    {reference.data(), w / 3, h / 3, w / 3}, {0, 0, w / 3, h / 3},
                                    ScaleFilter::AreaAverage, scratch));
            int worst = 0;
            for (std::size_t i = 0; i < pixels.size(); ++i)
                for (int shift = 0; shift < 32; shift += 8)
                    worst = std::max(worst, std::abs(static_cast<int>((pixels[i] >> shift) & 0xFF) -
                                                     static_cast<int>((reference[i] >> shift) & 0xFF)));
            EXPECT_LE(worst, 1); // 16-bit channels may round either way
        }
    }
}

// A PNG comes a row at a time and the bitmap is written bottom-up in strips of many rows, the last
// one partly filled: every row must land at its own place, flattened.
TEST(PngRows, WrittenAsABitmapRowForRow) {
    TempDir dir(L"pngbmp");
    const int w = 700, h = 1601;
    std::vector<unsigned char> raw(static_cast<std::size_t>(w) * h * 4);
    for (std::size_t i = 0; i < raw.size(); ++i)
        raw[i] = static_cast<unsigned char>(i % 4 == 3 ? (i / (w * 4)) * 3 : (i * 7) ^ (i / (w * 4)));
    Encoder e = NewEncoder(w, h, SPNG_COLOR_TYPE_TRUECOLOR_ALPHA, 8, false);
    ASSERT_TRUE(Finish(e, raw, dir / L"tall.png"));
    const std::uint32_t face = PixelFromColorRef(GetSysColor(COLOR_BTNFACE));
    const TransparencyRule flatten = [face](std::uint32_t* p, std::size_t n) { FlattenOnto(p, n, face); };
    PictureDecoder decoder;
    ASSERT_TRUE(decoder.WriteBmp(dir / L"tall.png", dir / L"tall.bmp", flatten));

    Picture expected = ReadPicture(dir / L"tall.png");
    const Picture written = ReadPicture(dir / L"tall.bmp");
    ASSERT_EQ(written.size(), std::make_pair(w, h));
    flatten(expected.pixels.data(), expected.pixels.size());
    EXPECT_TRUE(expected.pixels == written.pixels);
}

// A colour profile and a compressed text, each a few kilobytes inflating to 64 MB. (A header
// claiming 30000 x 30000 pixels is refused by the folder load's own test.)
TEST(PngRows, BombsAreRefusedWithoutTheirMemory) {
    TempDir dir(L"pngbomb");
    std::vector<char> zeros(64u << 20, 0);
    std::vector<unsigned char> raw(16 * 16 * 3, 90);
    {
        Encoder e = NewEncoder(16, 16, SPNG_COLOR_TYPE_TRUECOLOR, 8, false);
        spng_iccp iccp{};
        std::snprintf(iccp.profile_name, sizeof iccp.profile_name, "bomb");
        iccp.profile_len = zeros.size();
        iccp.profile = zeros.data();
        spng_set_iccp(e.get(), &iccp);
        ASSERT_TRUE(Finish(e, raw, dir / L"iccp.png"));
    }
    {
        // A zTXt chunk before the image data (libspng's encoder puts text after it, where a decode
        // that stops at the last row never reads it).
        Encoder e = NewEncoder(16, 16, SPNG_COLOR_TYPE_TRUECOLOR, 8, false);
        ASSERT_TRUE(Finish(e, raw, dir / L"ztxt.png"));
        std::string png = ReadBytes(dir / L"ztxt.png");
        uLongf packedSize = compressBound(static_cast<uLong>(zeros.size()));
        std::string text("Comment\0\0", 9); // the keyword, its end, the method, then the stream
        text.resize(9 + packedSize);
        ASSERT_EQ(compress2(reinterpret_cast<Bytef*>(text.data() + 9), &packedSize,
                            reinterpret_cast<const Bytef*>(zeros.data()), static_cast<uLong>(zeros.size()),
                            9),
                  Z_OK);
        text.resize(9 + packedSize);
        png.insert(33, PngChunk("zTXt", text)); // after the signature and IHDR
        ASSERT_TRUE(WriteTextFile(dir / L"ztxt.png", png));
    }
    zeros = {};
    zeros.shrink_to_fit();

    const std::uint64_t peakBefore = PeakMemory();
    PictureDecoder decoder;
    std::vector<std::uint32_t> pixels;
    DecodedPicture picture;
    for (const wchar_t* name : {L"iccp.png", L"ztxt.png"}) {
        SCOPED_TRACE(Narrow(name));
        EXPECT_FALSE(decoder.Decode(dir / name, kThird, {}, ScaleFilter::AreaAverage, pixels, picture));
        EXPECT_EQ(picture.width, 0);
    }
    EXPECT_LT(PeakMemory(), peakBefore + (24u << 20))
        << "peak working set grew by " << (PeakMemory() - peakBefore) / (1 << 20) << " MB";
}
