// The picture formats beyond the first four and the EXIF orientation: WebP decoding (reduced,
// animated, refused), every format listed with its picture, and photos turned upright in the
// thumbnail, the preview and the wallpaper's bitmap.
#include "imaging/GDIPlusAPI.h"
#include "imaging/JpegCodec.h"
#include "imaging/PixelTransform.h"
#include "imaging/WebpCodec.h"
#include "support/MainWindow.h"
#include "../common/ImageBytes.h"
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace tessary;
using namespace wintest;
using namespace imagebytes;

namespace {

// A plain lossy WebP of one colour; its chunks after the RIFF header are the frame's bitstream.
Bytes SolidWebp(int width, int height, std::uint32_t argb) {
    const std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height, argb);
    Bytes out;
    EXPECT_TRUE(EncodeWebp(pixels.data(), width, height, width * 4, 90, out));
    return out;
}

Bytes Frame(int x, int y, int width, int height, const Bytes& webp) {
    Bytes p;
    for (int v : {x / 2, y / 2, width - 1, height - 1, 100}) // the place, the size, the duration
        Put(p, static_cast<std::uint32_t>(v), 3);
    p.push_back(0);
    p.insert(p.end(), webp.begin() + 12, webp.end());
    return Chunk("ANMF", p);
}

Bytes Animation(std::uint32_t width, std::uint32_t height, const std::vector<Bytes>& frames) {
    Bytes anim;
    Put(anim, 0xFFFFFFFF, 4);
    Put(anim, 0, 2);
    std::vector<Bytes> chunks{Vp8x(width, height, 0x12), Chunk("ANIM", anim)};
    chunks.insert(chunks.end(), frames.begin(), frames.end());
    return Webp(chunks);
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
    const Bytes huge = Webp({Vp8l(16384, 16384)});
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

// ---- Every format in a folder, and photos turned upright everywhere they are shown or written.

namespace {

// A picture of 16 x 16 flat steps (256 colours, so GIF keeps it exactly) whose red grows to the
// right and green downwards: any turn or mirror image shows.
std::uint32_t Steps(int x, int y, int w, int h) {
    return static_cast<std::uint32_t>(((x * 16 / w) * 17) << 16 | ((y * 16 / h) * 17) << 8 | 0x80);
}

// Checks that the picture drawn at r on the surface is the upright steps picture, at the centres
// of a few steps (away from their edges, which reductions blur).
void ExpectSteps(const Surface& s, RECT r, const std::string& what) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    for (int i : {2, 8, 13})
        for (int j : {1, 7, 14}) {
            const int x = r.left + (2 * i + 1) * w / 32, y = r.top + (2 * j + 1) * h / 32;
            const std::uint32_t want = Steps(i, j, 16, 16), got = s.Pixel(x, y) & 0xFFFFFF;
            EXPECT_TRUE(Near(got, want, 14))
                << what << " at step " << i << "," << j << ": " << std::hex << got << " for " << want;
        }
}

// A photo whose upright picture is the steps picture of width x height, stored turned the other
// way as a camera held sideways stores it, with the orientation that turns it back.
Bytes SidewaysJpeg(int orientation, int width, int height) {
    std::vector<std::uint32_t> upright(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            upright[static_cast<std::size_t>(y) * width + x] = 0xFF000000u | Steps(x, y, width, height);
    // Quarter turns undo each other in pairs; every other orientation is its own inverse.
    const int inverse = orientation == 6 ? 8 : orientation == 8 ? 6 : orientation;
    int w = 0, h = 0;
    const auto stored = TransformedPixels(ConstPixelView(upright.data(), width, height, width),
                                          TransformFromExifOrientation(inverse), w, h);
    Bytes jpeg;
    EXPECT_TRUE(EncodeJpeg(stored.data(), w, h, w * 4, 95, jpeg));
    const Bytes app1 = Segment(0xE1, Exif(Tiff(static_cast<std::uint32_t>(orientation))));
    jpeg.insert(jpeg.begin() + 2, app1.begin(), app1.end());
    return jpeg;
}

// The preview without overlays, which would tint it.
class FormatsWindow : public WallpaperWindowTest {
protected:
    // The picture area of a cell for a picture of the screen's shape (1280 x 1024): 100 x 80 at (6, 6).
    static constexpr RECT kPicture{6, 6, 106, 86};
};

} // namespace

TEST_F(FormatsWindow, EveryFormatIsListedWithItsPicture) {
    const auto steps = [](int x, int y) { return Steps(x, y, 640, 512); };
    const std::vector<std::wstring> names = {L"a.jpg", L"b.JPEG", L"c.jpe",  L"d.jfif", L"e.png",  L"f.bmp",
                                             L"g.gif", L"h.tif",  L"i.TIFF", L"j.webp", L"k.WebP", L"l.png"};
    for (const std::wstring& name : names)
        ASSERT_TRUE(WriteImage(dir_ / name, 640, 512, steps)) << Narrow(name);
    // A JPEG by its content, whatever its name says.
    ASSERT_TRUE(WriteImage(dir_ / L"photo.jpg", 640, 512, steps));
    ASSERT_TRUE(
        MoveFileExW((dir_ / L"photo.jpg").c_str(), (dir_ / L"l.png").c_str(), MOVEFILE_REPLACE_EXISTING));
    Start();
    OpenFolder(dir_.path());
    EXPECT_EQ(Names(), names);
    for (const std::wstring& name : names) {
        EXPECT_EQ(Column(name, 3), L"  640 x 512") << Narrow(name);
        ExpectSteps(Cell(name), kPicture, Narrow(name));
    }
}

TEST_F(FormatsWindow, PhotosComeOutUprightEverywhere) {
    for (int o = 1; o <= 8; ++o) {
        const Bytes jpeg = SidewaysJpeg(o, 640, 512);
        ASSERT_TRUE(WriteTextFile(dir_ / (L"o" + std::to_wstring(o) + L".jpg"), {jpeg.begin(), jpeg.end()}));
    }
    frmMain& f = Start();
    OpenFolder(dir_.path());
    f.SetOptMode(1); // stretched: the whole preview shows the picture
    for (int o = 1; o <= 8; ++o) {
        const std::wstring name = L"o" + std::to_wstring(o) + L".jpg";
        const std::string what = "orientation " + std::to_string(o);
        // The thumbnail and its size as shown.
        EXPECT_EQ(Column(name, 3), L"  640 x 512") << what;
        ExpectSteps(Cell(name), kPicture, what + " thumbnail");
        // The preview.
        f.DrawPreview(dir_ / name);
        ExpectSteps(Probe::Preview(f), {0, 0, Probe::Preview(f).width(), Probe::Preview(f).height()},
                    what + " preview");
        // The bitmap set as the wallpaper.
        State().CurrentImagePath = dir_ / name;
        f.ApplyWallpaper();
        const Picture bmp = ReadPicture(ConvertedBitmapPath());
        ASSERT_EQ(bmp.size(), std::make_pair(640, 512)) << what;
        Surface applied;
        ASSERT_TRUE(applied.Create(640, 512));
        std::memcpy(applied.bits(), bmp.pixels.data(), bmp.pixels.size() * 4);
        ExpectSteps(applied, {0, 0, 640, 512}, what + " wallpaper");
    }
    // Cached thumbnails are kept upright: the next load takes them from the cache.
    f.LoadFolder(dir_.path(), true);
    EXPECT_EQ(ParseSummary(Panel(1)).hits, 8);
    for (int o = 1; o <= 8; ++o)
        ExpectSteps(Cell(L"o" + std::to_wstring(o) + L".jpg"), kPicture, "cached " + std::to_string(o));
}
