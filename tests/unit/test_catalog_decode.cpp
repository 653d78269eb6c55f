#include "imaging/BmpFile.h"
#include "imaging/DecodePlan.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace tessary;

namespace {

std::vector<unsigned char> Bytes(std::initializer_list<int> values) {
    std::vector<unsigned char> out;
    for (int v : values)
        out.push_back(static_cast<unsigned char>(v));
    return out;
}

std::vector<unsigned char> PngHeader(std::uint32_t w, std::uint32_t h) {
    auto b = Bytes({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'});
    for (std::uint32_t v : {w, h})
        for (int shift = 24; shift >= 0; shift -= 8)
            b.push_back(static_cast<unsigned char>(v >> shift));
    return b;
}

std::vector<unsigned char> BmpHeader(std::int32_t w, std::int32_t h, std::uint32_t infoSize = 40) {
    std::vector<unsigned char> b(26, 0);
    b[0] = 'B';
    b[1] = 'M';
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    put32(14, infoSize);
    if (infoSize == 12) {
        b[18] = static_cast<unsigned char>(w);
        b[19] = static_cast<unsigned char>(w >> 8);
        b[20] = static_cast<unsigned char>(h);
        b[21] = static_cast<unsigned char>(h >> 8);
    } else {
        put32(18, static_cast<std::uint32_t>(w));
        put32(22, static_cast<std::uint32_t>(h));
    }
    return b;
}

ImageHeader Probe(const std::vector<unsigned char>& b) {
    return ProbeImageHeader(b.data(), b.size());
}

} // namespace

TEST(ImageHeader, FormatsAndSizesAreKnownByTheirBytes) {
    EXPECT_EQ(Probe(Bytes({0xFF, 0xD8, 0xFF, 0xE0})).format, ImageFormat::Jpeg);
    const auto png = Probe(PngHeader(4000, 3000));
    EXPECT_EQ(png.format, ImageFormat::Png);
    EXPECT_EQ(png.height, 3000);
    const auto gif = Probe(Bytes({'G', 'I', 'F', '8', '9', 'a', 0x20, 0x03, 0x58, 0x02}));
    EXPECT_EQ(gif.format, ImageFormat::Gif);
    EXPECT_EQ(gif.width, 800);
    EXPECT_EQ(Probe(BmpHeader(640, 480)).format, ImageFormat::Bmp);
    // Top-down bitmaps store a negative height; old core headers 16-bit sizes.
    EXPECT_EQ(Probe(BmpHeader(640, -480)).height, 480);
    EXPECT_EQ(Probe(BmpHeader(300, 200, 12)).width, 300);
}

TEST(ImageHeader, TextEmptyShortAndHugeHeaders) {
    const std::string text = "just some text, named .jpg";
    EXPECT_EQ(ProbeImageHeader(reinterpret_cast<const unsigned char*>(text.data()), text.size()).format,
              ImageFormat::Unknown);
    EXPECT_EQ(ProbeImageHeader(nullptr, 0).format, ImageFormat::Unknown);
    EXPECT_EQ(Probe(Bytes({0xFF, 0xD8})).format, ImageFormat::Unknown);
    // The format is known, the size is not.
    auto shortPng = PngHeader(10, 10);
    shortPng.resize(20);
    EXPECT_EQ(Probe(shortPng).format, ImageFormat::Png);
    EXPECT_EQ(Probe(shortPng).width, 0);
    // Sizes beyond int, zero or negative widths, unknown header kinds are not sizes.
    EXPECT_EQ(Probe(PngHeader(0x80000000u, 10)).width, 0);
    EXPECT_EQ(Probe(BmpHeader(-5, 10)).width, 0);
    EXPECT_EQ(Probe(BmpHeader(5, 10, 20)).width, 0);
}

TEST(ImageHeader, OneSizeRuleForEveryDecode) {
    EXPECT_TRUE(PictureSizeAllowed(10000, 10000));
    EXPECT_FALSE(PictureSizeAllowed(10000, 10001));
    EXPECT_FALSE(PictureSizeAllowed(0, 100));
    // A decode reduced by the DCT counts the pixels it makes, up to a limit on the whole picture.
    EXPECT_TRUE(PictureSizeAllowed(30000, 30000, 8));
    EXPECT_FALSE(PictureSizeAllowed(65535, 65535, 8));
}

TEST(ImageHeader, JpegFrameSizeBehindOtherMarkers) {
    // SOI, an APP1 of 6 bytes, fill bytes, SOF2 (progressive) claiming 30000 wide x 20000 high.
    auto jpeg = Bytes({0xFF, 0xD8, 0xFF, 0xE1, 0,    6,    1,    2,    3, 4, 0xFF, 0xFF,
                       0xC2, 0,    11,   8,    0x4E, 0x20, 0x75, 0x30, 1, 1, 0x11, 0});
    EXPECT_EQ(Probe(jpeg).width, 30000);
    EXPECT_EQ(Probe(jpeg).height, 20000);
    // DHT is no frame; a scan, or the end of the bytes, before any frame leaves the size unknown.
    EXPECT_EQ(Probe(Bytes({0xFF, 0xD8, 0xFF, 0xC4, 0, 2, 0xFF, 0xDA, 0, 2})).width, 0);
    jpeg.resize(18);
    EXPECT_EQ(Probe(jpeg).width, 0);
}

TEST(ImageHeader, RleBitmapsMustReachTheirLastRow) {
    // A 4 x 3 RLE8 bitmap: one run per row, end of line after each, then end of bitmap.
    std::vector<unsigned char> bmp(54, 0);
    bmp[0] = 'B', bmp[1] = 'M', bmp[10] = 54, bmp[14] = 40, bmp[18] = 4, bmp[22] = 3, bmp[28] = 8,
    bmp[30] = 1;
    const auto rows = Bytes({4, 1, 0, 0, 4, 2, 0, 0, 4, 3, 0, 0, 0, 1});
    bmp.insert(bmp.end(), rows.begin(), rows.end());
    EXPECT_TRUE(BmpRowsComplete(bmp.data(), bmp.size()));
    // Cut short, or ended two rows early: damaged.
    EXPECT_FALSE(BmpRowsComplete(bmp.data(), bmp.size() - 2));
    auto early = bmp;
    early.erase(early.begin() + 58, early.begin() + 66);
    EXPECT_FALSE(BmpRowsComplete(early.data(), early.size()));
    // A literal run reaching past the end.
    bmp.resize(54);
    for (int v : {0, 5, 1, 2})
        bmp.push_back(static_cast<unsigned char>(v));
    EXPECT_FALSE(BmpRowsComplete(bmp.data(), bmp.size()));
}

namespace {

// One row of grey pixels.
std::vector<std::uint32_t> Row(const std::vector<double>& values) {
    std::vector<std::uint32_t> row;
    for (double v : values) {
        const auto g = static_cast<std::uint32_t>(v + 0.5);
        row.push_back(0xFF000000u | g << 16 | g << 8 | g);
    }
    return row;
}

std::vector<int> Reduce(const std::vector<std::uint32_t>& source, ScaleRect from, ScaleRect to, int width) {
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width), 0);
    ScaleScratch scratch;
    const ConstPixelView src(source.data(), static_cast<int>(source.size()), 1,
                             static_cast<int>(source.size()));
    EXPECT_TRUE(ScalePixels(src, from, PixelView{out.data(), width, 1, width}, to, ScaleFilter::AreaAverage,
                            scratch));
    std::vector<int> grey;
    for (std::uint32_t p : out)
        grey.push_back(static_cast<int>(p & 0xFF));
    return grey;
}

int MaxDifference(const std::vector<int>& a, const std::vector<int>& b) {
    int most = 0;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        most = std::max(most, std::abs(a[i] - b[i]));
    return most;
}

} // namespace

TEST(ScaledDecode, ReducedPixelsAverageTheAreaTheyStandFor) {
    // A ramp 301 pixels wide, reduced by 5 to 60 pixels: directly, and from a decode at 1/4 whose
    // 76 pixels stand for 75.25 (libjpeg pads the last block with the edge pixel).
    const int full = 301, scale = 4, reduced = 60;
    std::vector<double> ramp;
    for (int x = 0; x < full; ++x)
        ramp.push_back(x * 255.0 / (full - 1));
    std::vector<double> decoded;
    for (int block = 0; block * scale < full; ++block) {
        double sum = 0;
        for (int k = 0; k < scale; ++k)
            sum += ramp[static_cast<std::size_t>(std::min(block * scale + k, full - 1))];
        decoded.push_back(sum / scale);
    }
    ASSERT_EQ(decoded.size(), 76u);

    const auto direct = Reduce(Row(ramp), ScaleRect{0, 0, full, 1}, ScaleRect{0, 0, reduced, 1}, reduced);
    const DecodeMapping mapping = ScaledDecodeMapping(full, 1, scale, reduced, 1);
    EXPECT_EQ(mapping.source.width, full);
    EXPECT_EQ(mapping.dest.width, reduced * scale);
    const auto scaled = Reduce(Row(decoded), mapping.source, mapping.dest, reduced);
    EXPECT_LE(MaxDifference(scaled, direct), 1);
    // Stretching the decoded pixels as if they were all image shifts the picture by more.
    const auto naive = Reduce(Row(decoded), ScaleRect{0, 0, 76, 1}, ScaleRect{0, 0, reduced, 1}, reduced);
    EXPECT_GE(MaxDifference(naive, direct), 2);

    // Without DCT scaling the mapping is the plain reduction.
    EXPECT_EQ(ScaledDecodeMapping(1600, 1200, 1, 200, 150).dest.height, 150);
}

TEST(BmpFile, HeaderRowsAndPadding) {
    // 3 x 2 pixels in a buffer 4 pixels wide: rows of 9 bytes padded to 12, stored bottom-up.
    const std::uint32_t px[] = {0xFF102030, 0xFF405060, 0xFF708090, 0xDEADBEEF,
                                0x00A0B0C0, 0xFFD0E0F0, 0xFF010203, 0xDEADBEEF};
    auto bmp = EncodeBmp24(px, 3, 2, 4);
    ASSERT_EQ(bmp.size(), 14u + 40u + 24u);
    auto le32 = [&](std::size_t at) {
        return static_cast<std::uint32_t>(bmp[at] | (bmp[at + 1] << 8) | (bmp[at + 2] << 16) |
                                          (static_cast<std::uint32_t>(bmp[at + 3]) << 24));
    };
    EXPECT_EQ(le32(2), bmp.size());
    EXPECT_EQ(le32(10), 54u);
    EXPECT_EQ(bmp[28], 24);
    EXPECT_EQ(le32(30), 0u); // uncompressed
    // First stored row is the bottom one (B, G, R order), then padding.
    const unsigned char bottom[] = {0xC0, 0xB0, 0xA0, 0xF0, 0xE0, 0xD0, 0x03, 0x02, 0x01, 0, 0, 0};
    const unsigned char top[] = {0x30, 0x20, 0x10, 0x60, 0x50, 0x40, 0x90, 0x80, 0x70, 0, 0, 0};
    EXPECT_EQ(std::memcmp(bmp.data() + 54, bottom, 12), 0);
    EXPECT_EQ(std::memcmp(bmp.data() + 66, top, 12), 0);
    // It reads back as a BMP of its size.
    auto probed = ProbeImageHeader(bmp.data(), bmp.size());
    EXPECT_EQ(probed.format, ImageFormat::Bmp);
    EXPECT_EQ(probed.width, 3);
    EXPECT_EQ(probed.height, 2);
    const std::uint32_t none[4] = {};
    EXPECT_TRUE(EncodeBmp24(nullptr, 1, 1, 1).empty());
    EXPECT_TRUE(EncodeBmp24(none, 2, 1, 1).empty());             // stride below width
    EXPECT_TRUE(EncodeBmp24(none, 40000, 40000, 40000).empty()); // over 2 GB
    EXPECT_EQ(EncodeBmp24(none, 4, 1, 4).size(), 54u + 12u);     // 12 bytes need no padding
}
