// The picture formats beyond the first four and the EXIF orientation: WebP decoding (reduced,
// animated, refused), and photos turned upright.
#include "imaging/GDIPlusAPI.h"
#include "imaging/WebpCodec.h"
#include "support/WinTest.h"
#include <cstdlib>
#include <string>
#include <vector>

using namespace tessary;
using wintest::TempDir;

namespace {

using Bytes = std::vector<unsigned char>;

void Put(Bytes& b, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

Bytes Chunk(const char* fourcc, const Bytes& payload) {
    Bytes b(fourcc, fourcc + 4);
    Put(b, static_cast<std::uint32_t>(payload.size()), 4);
    b.insert(b.end(), payload.begin(), payload.end());
    if (payload.size() % 2)
        b.push_back(0);
    return b;
}

Bytes Riff(const std::vector<Bytes>& chunks) {
    Bytes body{'W', 'E', 'B', 'P'};
    for (const Bytes& c : chunks)
        body.insert(body.end(), c.begin(), c.end());
    Bytes b{'R', 'I', 'F', 'F'};
    Put(b, static_cast<std::uint32_t>(body.size()), 4);
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

// A plain lossy WebP of one colour; its chunks after the RIFF header are the frame's bitstream.
Bytes SolidWebp(int width, int height, std::uint32_t argb) {
    const std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, argb);
    Bytes out;
    EXPECT_TRUE(EncodeWebp(pixels.data(), width, height, width * 4, 90, out));
    return out;
}

Bytes Frame(int x, int y, int width, int height, const Bytes& webp) {
    Bytes p;
    Put(p, static_cast<std::uint32_t>(x / 2), 3);
    Put(p, static_cast<std::uint32_t>(y / 2), 3);
    Put(p, static_cast<std::uint32_t>(width - 1), 3);
    Put(p, static_cast<std::uint32_t>(height - 1), 3);
    Put(p, 100, 3); // duration
    p.push_back(0);
    p.insert(p.end(), webp.begin() + 12, webp.end());
    return Chunk("ANMF", p);
}

Bytes Animation(int width, int height, const std::vector<Bytes>& frames) {
    Bytes vp8x{0x12, 0, 0, 0}; // animation and alpha
    Put(vp8x, static_cast<std::uint32_t>(width - 1), 3);
    Put(vp8x, static_cast<std::uint32_t>(height - 1), 3);
    Bytes anim;
    Put(anim, 0xFFFFFFFF, 4);
    Put(anim, 0, 2);
    std::vector<Bytes> chunks{Chunk("VP8X", vp8x), Chunk("ANIM", anim)};
    chunks.insert(chunks.end(), frames.begin(), frames.end());
    return Riff(chunks);
}

bool Near(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

} // namespace

TEST(WebpDecoder, ReducedAnimatedAndRefused) {
    WebpDecoder decoder;
    WebpInfo info;
    WebpPicture picture;

    // Reduced while decoding: a picture of four coloured quadrants keeps them.
    std::vector<std::uint32_t> quadrants(400 * 300);
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            quadrants[static_cast<std::size_t>(y) * 400 + x] =
                x < 200 ? (y < 150 ? 0xFFFF0000u : 0xFF00FF00u) : (y < 150 ? 0xFF0000FFu : 0xFFFFFFFFu);
    Bytes still;
    ASSERT_TRUE(EncodeWebp(quadrants.data(), 400, 300, 400 * 4, 95, still));
    ASSERT_EQ(decoder.OpenMemory(still.data(), still.size(), info), WebpStatus::Ok);
    EXPECT_EQ(info.width, 400);
    EXPECT_EQ(info.height, 300);
    EXPECT_FALSE(info.animated);
    ASSERT_EQ(decoder.Decode(40, 30, picture), WebpStatus::Ok);
    ASSERT_EQ(picture.width, 40);
    ASSERT_EQ(picture.height, 30);
    EXPECT_TRUE(Near(picture.pixels[5 * 40 + 5], 0xFFFF0000u, 24));
    EXPECT_TRUE(Near(picture.pixels[25 * 40 + 35], 0xFFFFFFFFu, 24));

    // Cut short: refused, whatever is left of it.
    for (std::size_t cut : {std::size_t{20}, still.size() / 2, still.size() - 1})
        EXPECT_EQ(decoder.OpenMemory(still.data(), cut, info), WebpStatus::Damaged) << cut;

    // A lossless header claiming 16384 x 16384 in a few bytes: refused before any decoding.
    const std::uint32_t bits = 16383u | (16383u << 14);
    Bytes huge = Riff({Chunk("VP8L", Bytes{0x2F, static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
                                           static_cast<unsigned char>(bits >> 16),
                                           static_cast<unsigned char>(bits >> 24), 0, 0, 0})});
    EXPECT_EQ(decoder.OpenMemory(huge.data(), huge.size(), info), WebpStatus::TooLarge);

    // An animation shows its first frame; one whose first frame covers part of the canvas shows it
    // in its place on a transparent canvas.
    const Bytes red = SolidWebp(64, 48, 0xFFFF0000u), blue = SolidWebp(64, 48, 0xFF0000FFu);
    const Bytes animated = Animation(64, 48, {Frame(0, 0, 64, 48, red), Frame(0, 0, 64, 48, blue)});
    ASSERT_EQ(decoder.OpenMemory(animated.data(), animated.size(), info), WebpStatus::Ok);
    EXPECT_TRUE(info.animated);
    ASSERT_EQ(decoder.Decode(32, 24, picture), WebpStatus::Ok);
    EXPECT_EQ(picture.width, 32);
    EXPECT_TRUE(Near(picture.pixels[12 * 32 + 16], 0xFFFF0000u, 8));

    const Bytes small = SolidWebp(20, 10, 0xFF00FF00u);
    const Bytes partial = Animation(64, 48, {Frame(10, 20, 20, 10, small), Frame(0, 0, 64, 48, blue)});
    ASSERT_EQ(decoder.OpenMemory(partial.data(), partial.size(), info), WebpStatus::Ok);
    ASSERT_EQ(decoder.Decode(32, 24, picture), WebpStatus::Ok);
    ASSERT_EQ(picture.width, 64); // at the canvas's size: the caller reduces it
    EXPECT_EQ(picture.pixels[0] >> 24, 0u);
    EXPECT_TRUE(Near(picture.pixels[25 * 64 + 15], 0xFF00FF00u, 8));
    EXPECT_EQ(picture.pixels[25 * 64 + 35] >> 24, 0u);
}
