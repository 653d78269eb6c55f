// The libjpeg-turbo codec: scale choice, colour handling, damaged and hostile files, and encoding.
#include "imaging/JpegCodec.h"
#include "imaging/JpegDc.h"
#include "support/WinTest.h"
#include <turbojpeg.h>
#include <cstdio> // jpeglib.h needs FILE declared before it
#include <jpeglib.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace tessary;

namespace {

std::vector<std::uint32_t> Photo(int w, int h) {
    std::vector<std::uint32_t> px(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[static_cast<size_t>(y) * w + x] = 0xFF000000u | wintest::PhotoLike(x, y);
    return px;
}

int Channel(std::uint32_t px, int shift) {
    return static_cast<int>((px >> shift) & 0xFF);
}

// Mean absolute difference per channel of two equally sized BGRA pictures, compared in 2 x 2
// blocks: the chroma subsampling of a JPEG legitimately blurs pixel-sized detail.
double MeanAbsDiff(const std::uint32_t* a, const std::uint32_t* b, int w, int h) {
    double total = 0;
    for (int y = 0; y + 1 < h; y += 2)
        for (int x = 0; x + 1 < w; x += 2)
            for (int shift : {16, 8, 0}) {
                int sum = 0;
                for (int k = 0; k < 4; ++k) {
                    const std::size_t i = static_cast<std::size_t>(y + k / 2) * w + x + k % 2;
                    sum += Channel(a[i], shift) - Channel(b[i], shift);
                }
                total += std::abs(sum) / 4.0;
            }
    return total / (3.0 * (w / 2) * (h / 2));
}

// Offset of the first FF code marker (entropy-coded data never holds one), or npos.
size_t FindMarker(const std::vector<unsigned char>& jpeg, unsigned char code) {
    const unsigned char marker[] = {0xFF, code};
    const auto at = std::search(jpeg.begin(), jpeg.end(), marker, marker + 2);
    return at == jpeg.end() ? std::string::npos : static_cast<size_t>(at - jpeg.begin());
}

// A JPEG made by TurboJPEG straight from pixels of another format (grey or CMYK).
std::vector<unsigned char> CompressRaw(const std::vector<unsigned char>& raw, int w, int h, int pixelFormat,
                                       int subsamp) {
    tjhandle tj = tjInitCompress();
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    int rc = tjCompress2(tj, raw.data(), w, 0, h, pixelFormat, &buf, &size, subsamp, 95, 0);
    std::vector<unsigned char> out;
    if (rc == 0)
        out.assign(buf, buf + size);
    tjFree(buf);
    tjDestroy(tj);
    EXPECT_EQ(rc, 0) << tjGetErrorStr2(nullptr);
    return out;
}

// A JPEG made with libjpeg's own API, for what TurboJPEG does not write: arithmetic coding,
// restart markers, a chosen progression.
struct Coding {
    bool arithmetic = false, progressive = false, grey = false;
    int restart = 0;      // MCUs between restart markers
    int lumaSampling = 2; // 2: chroma at half the resolution both ways; 1: none subsampled
};
std::vector<unsigned char> EncodeWithLibjpeg(const std::vector<std::uint32_t>& px, int w, int h,
                                             Coding how = {.arithmetic = true}) {
    jpeg_compress_struct c{};
    jpeg_error_mgr errors{};
    c.err = jpeg_std_error(&errors);
    jpeg_create_compress(&c);
    unsigned char* buf = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buf, &size);
    c.image_width = static_cast<JDIMENSION>(w);
    c.image_height = static_cast<JDIMENSION>(h);
    c.input_components = 4;
    c.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&c);
    if (how.grey)
        jpeg_set_colorspace(&c, JCS_GRAYSCALE);
    c.comp_info[0].h_samp_factor = c.comp_info[0].v_samp_factor = how.lumaSampling;
    c.arith_code = how.arithmetic;
    c.restart_interval = static_cast<unsigned>(how.restart);
    if (how.progressive)
        jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        auto row = reinterpret_cast<JSAMPROW>(const_cast<std::uint32_t*>(px.data()) +
                                              static_cast<std::size_t>(c.next_scanline) * w);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    std::vector<unsigned char> out(buf, buf + size);
    std::free(buf);
    jpeg_destroy_compress(&c);
    return out;
}

} // namespace

TEST(JpegScale, StrongestReductionThatKeepsTheMinimum) {
    EXPECT_EQ(JpegScaledSize(1601, 8), 201);             // libjpeg rounds up
    EXPECT_EQ(ChooseJpegScale(1593, 1200, 200, 150), 8); // 200 x 150 exactly
    EXPECT_EQ(ChooseJpegScale(1592, 1200, 200, 150), 4); // 199 would be one short
    EXPECT_EQ(ChooseJpegScale(1600, 1191, 200, 150), 4); // the height decides
    EXPECT_EQ(ChooseJpegScale(640, 480, 213, 160), 2);
    EXPECT_EQ(ChooseJpegScale(100, 80, 200, 160), 1); // smaller than asked: full size
}

TEST(JpegDecode, GreyscaleAndCmyk) {
    const int w = 64, h = 32;
    std::vector<unsigned char> grey(static_cast<size_t>(w) * h);
    for (size_t i = 0; i < grey.size(); ++i)
        grey[i] = static_cast<unsigned char>(i % w * 4);
    std::vector<unsigned char> greyJpeg = CompressRaw(grey, w, h, TJPF_GRAY, TJSAMP_GRAY);

    JpegDecoder decoder;
    DecodedImage img;
    ASSERT_TRUE(decoder.DecodeMemory(greyJpeg.data(), greyJpeg.size(), w, h, img));
    ASSERT_EQ(img.width, w);
    const std::uint32_t p = img.pixels[16 * w + 30];
    EXPECT_EQ(p, 0xFF000000u | (p & 0xFF) * 0x010101u);
    EXPECT_NEAR(Channel(p, 0), 120, 4);

    // Inks as Adobe stores them (inverted): left pure red (no cyan, full magenta and yellow, no
    // black), right half-strength black only, which is mid grey.
    const unsigned char red[4] = {255, 0, 0, 255}, grey50[4] = {255, 255, 255, 128};
    std::vector<unsigned char> cmyk;
    for (int i = 0; i < w * h; ++i)
        cmyk.insert(cmyk.end(), i % w < w / 2 ? red : grey50, (i % w < w / 2 ? red : grey50) + 4);
    std::vector<unsigned char> cmykJpeg = CompressRaw(cmyk, w, h, TJPF_CMYK, TJSAMP_444);
    ASSERT_TRUE(decoder.DecodeMemory(cmykJpeg.data(), cmykJpeg.size(), w, h, img));
    std::uint32_t left = img.pixels[16 * w + 8], right = img.pixels[16 * w + 56];
    for (int shift : {16, 8, 0}) {
        EXPECT_NEAR(Channel(left, shift), shift == 16 ? 255 : 0, 6);
        EXPECT_NEAR(Channel(right, shift), 128, 6);
    }
}

TEST(JpegDecode, DamagedFilesFailOrDecodeWhatIsThere) {
    const int w = 400, h = 304;
    std::vector<std::uint32_t> px = Photo(w, h);
    std::vector<unsigned char> jpeg;
    ASSERT_TRUE(EncodeJpeg(px.data(), w, h, w * 4, 90, jpeg));
    JpegDecoder decoder;
    DecodedImage whole, img;
    ASSERT_TRUE(decoder.DecodeMemory(jpeg.data(), jpeg.size(), w, h, whole));
    std::vector<std::uint32_t> reference(whole.pixels, whole.pixels + static_cast<size_t>(w) * h);

    // Cut in the middle of the picture data: full size, the part present as before.
    std::vector<unsigned char> half(jpeg.begin(),
                                    jpeg.begin() + static_cast<std::ptrdiff_t>(jpeg.size() / 2));
    ASSERT_TRUE(decoder.DecodeMemory(half.data(), half.size(), w, h, img));
    EXPECT_FALSE(img.complete);
    EXPECT_EQ(img.height, h);
    EXPECT_LT(MeanAbsDiff(img.pixels, reference.data(), w, 32), 0.5);

    // Cut inside the header: nothing to show.
    for (size_t cut : {size_t{3}, size_t{20}, FindMarker(jpeg, 0xC4)}) {
        EXPECT_FALSE(decoder.DecodeMemory(jpeg.data(), cut, w, h, img)) << cut;
        EXPECT_EQ(img.pixels, nullptr);
    }

    // A Huffman table whose code counts add up to more codes than a table can hold.
    std::vector<unsigned char> badHuffman = jpeg;
    size_t dht = FindMarker(badHuffman, 0xC4);
    ASSERT_NE(dht, std::string::npos);
    for (int i = 0; i < 16; ++i)
        badHuffman[dht + 5 + i] = 0xFF;
    EXPECT_FALSE(decoder.DecodeMemory(badHuffman.data(), badHuffman.size(), w, h, img));

    // Stray bytes before a marker (as some cameras write) leave the picture whole, and the
    // decoder that failed before decodes it as it should.
    std::vector<unsigned char> stray = jpeg;
    size_t dqt = FindMarker(stray, 0xDB);
    ASSERT_NE(dqt, std::string::npos);
    stray.insert(stray.begin() + static_cast<std::ptrdiff_t>(dqt), {0x12, 0x34});
    ASSERT_TRUE(decoder.DecodeMemory(stray.data(), stray.size(), w, h, img));
    EXPECT_TRUE(img.complete);
    EXPECT_EQ(std::memcmp(img.pixels, reference.data(), reference.size() * 4), 0);

    // All the picture data but no end-of-image marker: complete.
    std::vector<unsigned char> noEnd(jpeg.begin(), jpeg.end() - 2);
    ASSERT_TRUE(decoder.DecodeMemory(noEnd.data(), noEnd.size(), w, h, img));
    EXPECT_TRUE(img.complete);
    EXPECT_EQ(std::memcmp(img.pixels, reference.data(), reference.size() * 4), 0);

    // Arithmetic coding: whole, and without its end marker, complete; a stray marker in the
    // middle of the scan (where the decoder silently goes on with zeros) or a cut, damaged.
    const std::vector<unsigned char> arith = EncodeWithLibjpeg(px, w, h);
    ASSERT_TRUE(decoder.DecodeMemory(arith.data(), arith.size(), w, h, img));
    EXPECT_TRUE(img.complete);
    std::vector<unsigned char> arithNoEnd(arith.begin(), arith.end() - 2);
    ASSERT_TRUE(decoder.DecodeMemory(arithNoEnd.data(), arithNoEnd.size(), w, h, img));
    EXPECT_TRUE(img.complete);
    std::vector<unsigned char> strayMarker = arith;
    strayMarker.insert(strayMarker.begin() + static_cast<std::ptrdiff_t>(arith.size() / 2), {0xFF, 0xE5});
    ASSERT_TRUE(decoder.DecodeMemory(strayMarker.data(), strayMarker.size(), w, h, img));
    EXPECT_FALSE(img.complete);
    std::vector<unsigned char> arithHalf(arith.begin(),
                                         arith.begin() + static_cast<std::ptrdiff_t>(arith.size() / 2));
    ASSERT_TRUE(decoder.DecodeMemory(arithHalf.data(), arithHalf.size(), w, h, img));
    EXPECT_FALSE(img.complete);

    // After all that the same decoder still decodes, and gives the same picture.
    ASSERT_TRUE(decoder.DecodeMemory(jpeg.data(), jpeg.size(), w, h, img));
    EXPECT_TRUE(img.complete);
    EXPECT_EQ(std::memcmp(img.pixels, reference.data(), reference.size() * 4), 0);

    // Headers claiming huge sizes: 65500 x 65500 is refused; 400 megapixels is allowed in the file
    // but not as a full decode, while reduced it is fine (incomplete: the data for it is missing).
    const size_t sof = FindMarker(jpeg, 0xC0);
    ASSERT_NE(sof, std::string::npos);
    const auto claim = [&](int size) {
        jpeg[sof + 5] = jpeg[sof + 7] = static_cast<unsigned char>(size >> 8);
        jpeg[sof + 6] = jpeg[sof + 8] = static_cast<unsigned char>(size & 0xFF);
    };
    claim(65500);
    EXPECT_FALSE(decoder.DecodeMemory(jpeg.data(), jpeg.size(), 200, 160, img));
    claim(20000);
    EXPECT_FALSE(decoder.DecodeMemory(jpeg.data(), jpeg.size(), 20000, 20000, img));
    ASSERT_TRUE(decoder.DecodeMemory(jpeg.data(), jpeg.size(), 2000, 2000, img));
    EXPECT_EQ(img.scale, 8);
    EXPECT_EQ(img.width, 2500);
    EXPECT_FALSE(img.complete);
}

// A progressive file reduced by 1/8 is read from its DC scans alone: the very picture libjpeg
// makes where no chroma is subsampled, close to it where it is. Anything irregular is left to
// libjpeg, which judges the damage as for any file.
TEST(JpegDecode, ProgressiveAtAnEighthFromDcScans) {
    const int w = 203, h = 157; // not whole blocks
    const int w8 = JpegScaledSize(w, 8), h8 = JpegScaledSize(h, 8);
    // Colours that change gently, as across most of a photo's reduced blocks.
    std::vector<std::uint32_t> px(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            px[static_cast<size_t>(y) * w + x] = 0xFF000000u | (wintest::PhotoLike(x, y) & 0xFF00FFu) |
                                                 static_cast<std::uint32_t>(40 + (x + y) / 2) << 8;
    tjhandle tj = tjInitDecompress();
    JpegDcReader reader;
    JpegDecoder decoder;
    DecodedImage img;
    for (const Coding how : {Coding{.progressive = true, .lumaSampling = 1},
                             Coding{.progressive = true, .grey = true, .restart = 5},
                             Coding{.progressive = true, .restart = 3}}) {
        const std::vector<unsigned char> jpeg = EncodeWithLibjpeg(px, w, h, how);
        std::vector<std::uint32_t> expected(static_cast<size_t>(w8) * h8), got(expected.size());
        ASSERT_EQ(tjDecompress2(tj, jpeg.data(), jpeg.size(),
                                reinterpret_cast<unsigned char*>(expected.data()), w8, 0, h8, TJPF_BGRA, 0),
                  0);
        ASSERT_TRUE(reader.Read(jpeg.data(), jpeg.size())) << how.lumaSampling << how.grey;
        ASSERT_EQ(reader.width(), w8);
        ASSERT_EQ(reader.height(), h8);
        for (int y = 0; y < h8; ++y)
            reader.Row(y, got.data() + static_cast<size_t>(y) * w8);
        if (how.lumaSampling == 1)
            EXPECT_EQ(got, expected) << how.grey;
        else
            EXPECT_LT(MeanAbsDiff(got.data(), expected.data(), w8, h8), 1.5);
        ASSERT_TRUE(decoder.DecodeMemory(jpeg.data(), jpeg.size(), w8, h8, img));
        EXPECT_TRUE(img.complete);
        EXPECT_TRUE(std::equal(got.begin(), got.end(), img.pixels));

        if (how.restart == 3) {
            // Restart markers out of sequence, or the file cut in its later scans.
            std::vector<unsigned char> swapped = jpeg;
            swapped[FindMarker(swapped, 0xD1) + 1] = 0xD2;
            EXPECT_FALSE(reader.Read(swapped.data(), swapped.size()));
            ASSERT_TRUE(decoder.DecodeMemory(swapped.data(), swapped.size(), w8, h8, img));
            EXPECT_FALSE(img.complete);
            const size_t cut = jpeg.size() * 3 / 4;
            EXPECT_FALSE(reader.Read(jpeg.data(), cut));
            ASSERT_TRUE(decoder.DecodeMemory(jpeg.data(), cut, w8, h8, img));
            EXPECT_FALSE(img.complete);
        }
    }
    tjDestroy(tj);
}

TEST(JpegEncode, RoundTripStrideAndAlpha) {
    const int w = 97, h = 61; // not multiples of the block size
    std::vector<std::uint32_t> px = Photo(w, h);
    std::vector<unsigned char> jpeg;
    ASSERT_TRUE(EncodeJpeg(px.data(), w, h, w * 4, 95, jpeg));

    JpegDecoder decoder;
    DecodedImage img;
    ASSERT_TRUE(decoder.DecodeMemory(jpeg.data(), jpeg.size(), w, h, img));
    EXPECT_EQ(img.width, w);
    EXPECT_LT(MeanAbsDiff(img.pixels, px.data(), w, h), 4.0);

    // Rows padded with junk, and alpha changed, give the very same file.
    const int pad = 5;
    std::vector<std::uint32_t> padded(static_cast<size_t>(w + pad) * h, 0x00FF00FFu);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            padded[static_cast<size_t>(y) * (w + pad) + x] = px[static_cast<size_t>(y) * w + x] & 0x00FFFFFFu;
    std::vector<unsigned char> again;
    ASSERT_TRUE(EncodeJpeg(padded.data(), w, h, (w + pad) * 4, 95, again));
    EXPECT_EQ(again, jpeg);

    std::vector<unsigned char> out = {1, 2, 3};
    EXPECT_FALSE(EncodeJpeg(px.data(), w, h, w * 4 - 1, 80, out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(EncodeJpeg(px.data(), w, h, w * 4, 101, out));
}
