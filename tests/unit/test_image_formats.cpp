#include "imaging/ExifOrientation.h"
#include "imaging/ImageHeader.h"
#include "../common/ImageBytes.h"
#include <gtest/gtest.h>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

using namespace tessary;
using namespace imagebytes;

namespace {

// SOI, a JFIF APP0, an XMP APP1 (not Exif), the Exif APP1, then SOS.
Bytes Jpeg(const Bytes& exifPayload) {
    Bytes b{0xFF, 0xD8};
    Bytes jfif;
    Append(jfif, std::string("JFIF\0\1\1\0\0\1\0\1\0\0", 14));
    for (const Bytes& s : {Segment(0xE0, jfif), Segment(0xE1, Bytes{'h', 't', 't', 'p', ':'}),
                           Segment(0xE1, exifPayload), Segment(0xDA, Bytes{1, 2, 3})})
        b.insert(b.end(), s.begin(), s.end());
    return b;
}

int Orientation(const Bytes& b) {
    return OrientationFromFileStart(b.data(), b.size());
}

Bytes PngHeader(std::uint32_t w, std::uint32_t h) {
    Bytes b{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
    Put(b, w, 4, false);
    Put(b, h, 4, false);
    return b;
}

// A bitmap's file header and the start of its info header (12 bytes: the old core header).
Bytes BmpHeader(std::int32_t w, std::int32_t h, std::uint32_t infoSize = 40) {
    Bytes b{'B', 'M'};
    b.resize(14);
    Put(b, infoSize, 4);
    Put(b, static_cast<std::uint32_t>(w), infoSize == 12 ? 2 : 4);
    Put(b, static_cast<std::uint32_t>(h), infoSize == 12 ? 2 : 4);
    b.resize(26);
    return b;
}

ImageHeader Probe(const Bytes& b) {
    return ProbeImageHeader(b.data(), b.size());
}

} // namespace

TEST(ExifOrientation, ReadFromJpegTiffAndWebp) {
    for (std::uint32_t o = 1; o <= 8; ++o) {
        EXPECT_EQ(Orientation(Jpeg(Exif(Tiff(o)))), static_cast<int>(o));
        EXPECT_EQ(Orientation(Jpeg(Exif(Tiff(o, false)))), static_cast<int>(o)) << "big-endian";
    }
    EXPECT_EQ(Orientation(Tiff(6)), 6);
    EXPECT_EQ(Orientation(Tiff(8, false, 4)), 8) << "a LONG value";
    // A WebP EXIF chunk after an odd-sized one, with and without the "Exif" prefix.
    EXPECT_EQ(Orientation(Webp({Vp8x(64, 48), Chunk("ICCP", Bytes{1, 2, 3}), Chunk("EXIF", Tiff(6))})), 6);
    EXPECT_EQ(Orientation(Webp({Vp8x(64, 48), Chunk("EXIF", Exif(Tiff(3)))})), 3);
}

TEST(ExifOrientation, AnythingOddReadsAsUpright) {
    EXPECT_EQ(Orientation(Jpeg(Exif(Tiff(0)))), 1);
    EXPECT_EQ(Orientation(Jpeg(Exif(Tiff(9)))), 1);
    EXPECT_EQ(Orientation(Jpeg(Exif(Tiff(6, true, 7)))), 1) << "an UNDEFINED-typed value";
    // Exif after the picture data does not count.
    Bytes late{0xFF, 0xD8};
    for (const Bytes& s : {Segment(0xDA, Bytes{1}), Segment(0xE1, Exif(Tiff(6)))})
        late.insert(late.end(), s.begin(), s.end());
    EXPECT_EQ(Orientation(late), 1);
    // IFD0 pointing past the end or into the header; a directory claiming 65535 entries.
    Bytes pastEnd = Tiff(6);
    pastEnd[4] = 0xF0;
    EXPECT_EQ(Orientation(pastEnd), 1);
    Bytes intoHeader = Tiff(6);
    intoHeader[4] = 2;
    EXPECT_EQ(Orientation(intoHeader), 1);
    Bytes manyEntries = Tiff(6);
    manyEntries[8] = manyEntries[9] = 0xFF;
    EXPECT_EQ(Orientation(manyEntries), 6) << "the entries that are there are read";
    // A directory chain that loops back onto IFD0 is not followed.
    EXPECT_EQ(Orientation(Tiff(5, true, 3, 8)), 5);
    // A segment length below 2; a WebP chunk claiming 4 GB.
    Bytes shortSegment{0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x01, 0xFF, 0xD9};
    EXPECT_EQ(Orientation(shortSegment), 1);
    Bytes hugeChunk = Webp({Vp8x(64, 48), Chunk("EXIF", Tiff(6))});
    for (int i = 0; i < 4; ++i)
        hugeChunk[12 + 4 + i] = 0xFF;
    EXPECT_EQ(Orientation(hugeChunk), 1);
}

// Every cut and many random damages of valid files: the sanitizers see each read.
TEST(ExifOrientation, CutAndDamagedInputsStayInBounds) {
    std::mt19937 random(13);
    for (const Bytes& valid : {Jpeg(Exif(Tiff(6))), Jpeg(Exif(Tiff(7, false))), Tiff(8),
                               Webp({Vp8x(9, 9), Chunk("EXIF", Exif(Tiff(2)))})}) {
        for (std::size_t cut = 0; cut <= valid.size(); ++cut) {
            const Bytes part(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(cut));
            const int o = Orientation(part);
            EXPECT_TRUE(o == 1 || o == Orientation(valid)) << cut;
        }
        for (int round = 0; round < 2000; ++round) {
            Bytes damaged = valid;
            for (int k = 0; k < 3; ++k)
                damaged[random() % damaged.size()] = static_cast<unsigned char>(random());
            const int o = Orientation(damaged);
            EXPECT_TRUE(o >= 1 && o <= 8);
        }
    }
}

TEST(ImageHeader, WebpAndTiffAreKnownByContent) {
    Bytes vp8x = Webp({Vp8x(16384, 16384)});
    ImageHeader h = Probe(vp8x);
    EXPECT_EQ(h.format, ImageFormat::Webp);
    EXPECT_EQ(h.width, 16384);
    EXPECT_EQ(h.height, 16384);
    Bytes vp8l = Webp({Vp8l(300, 200)});
    h = Probe(vp8l);
    EXPECT_EQ(h.width, 300);
    EXPECT_EQ(h.height, 200);
    // Lossy key frame: frame tag, start code, 14-bit sizes (the top bits are scaling hints).
    Bytes vp8 = Webp({Chunk("VP8 ", Bytes{0, 0, 0, 0x9D, 0x01, 0x2A, 0x80, 0x47, 0x38, 0x04})});
    h = Probe(vp8);
    EXPECT_EQ(h.width, 0x780);
    EXPECT_EQ(h.height, 0x438);
    EXPECT_EQ(Probe(Bytes{'I', 'I', '*', 0}).format, ImageFormat::Tiff);
    EXPECT_EQ(Probe(Bytes{'M', 'M', 0, '*'}).format, ImageFormat::Tiff);
    EXPECT_EQ(Probe(Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}).format, ImageFormat::Unknown);
}

TEST(ImageHeader, FormatsAndSizesAreKnownByTheirBytes) {
    EXPECT_EQ(Probe(Bytes{0xFF, 0xD8, 0xFF, 0xE0}).format, ImageFormat::Jpeg);
    EXPECT_EQ(Probe(PngHeader(4000, 3000)).height, 3000);
    const auto gif = Probe(Bytes{'G', 'I', 'F', '8', '9', 'a', 0x20, 0x03, 0x58, 0x02});
    EXPECT_EQ(gif.format, ImageFormat::Gif);
    EXPECT_EQ(gif.width, 800);
    EXPECT_EQ(Probe(BmpHeader(640, 480)).format, ImageFormat::Bmp);
    // Top-down bitmaps store a negative height; old core headers 16-bit sizes.
    EXPECT_EQ(Probe(BmpHeader(640, -480)).height, 480);
    EXPECT_EQ(Probe(BmpHeader(300, 200, 12)).width, 300);
}

TEST(ImageHeader, TextEmptyShortAndHugeHeaders) {
    Bytes text;
    Append(text, "just some text, named .jpg");
    EXPECT_EQ(Probe(text).format, ImageFormat::Unknown);
    EXPECT_EQ(ProbeImageHeader(nullptr, 0).format, ImageFormat::Unknown);
    EXPECT_EQ(Probe(Bytes{0xFF, 0xD8}).format, ImageFormat::Unknown);
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

TEST(ImageHeader, JpegFrameSizeBehindOtherMarkers) {
    // SOI, an APP1 of 6 bytes, fill bytes, SOF2 (progressive) claiming 30000 wide x 20000 high.
    Bytes jpeg{0xFF, 0xD8, 0xFF, 0xE1, 0,    6,    1,    2,    3, 4, 0xFF, 0xFF,
               0xC2, 0,    11,   8,    0x4E, 0x20, 0x75, 0x30, 1, 1, 0x11, 0};
    EXPECT_EQ(Probe(jpeg).width, 30000);
    EXPECT_EQ(Probe(jpeg).height, 20000);
    // DHT is no frame; a scan, or the end of the bytes, before any frame leaves the size unknown.
    EXPECT_EQ(Probe(Bytes{0xFF, 0xD8, 0xFF, 0xC4, 0, 2, 0xFF, 0xDA, 0, 2}).width, 0);
    jpeg.resize(18);
    EXPECT_EQ(Probe(jpeg).width, 0);
}
