// Encoder lookup and file-to-file re-encoding, checked by loading what was written back with GDI+
// and, for JPEG, by reading the quantisation tables out of the file.
#include "imaging/GDIPlusAPI.h"
#include <objidl.h>
#include "platform/GdiPlus.h"
#include "support/WinTest.h"
#include <algorithm>
#include <set>
#include <vector>

using namespace tessary;
using wintest::TempDir;

namespace {

std::uint32_t Gradient(int x, int y) {
    return static_cast<std::uint32_t>((x % 256) << 16 | (y % 256) << 8 | ((x + y) % 256));
}

// Width, height and format as GDI+ reads the file back; 0xRRGGBB of one pixel.
struct Loaded {
    UINT width = 0, height = 0;
    GUID format{};
};
Loaded LoadBack(const std::wstring& path) {
    Gdiplus::Bitmap bitmap(path.c_str(), FALSE);
    Loaded r;
    if (bitmap.GetLastStatus() == Gdiplus::Ok) {
        r = {bitmap.GetWidth(), bitmap.GetHeight()};
        bitmap.GetRawFormat(&r.format);
    }
    return r;
}
std::uint32_t PixelOf(const std::wstring& path, int x, int y) {
    Gdiplus::Bitmap bitmap(path.c_str(), FALSE);
    Gdiplus::Color c;
    bitmap.GetPixel(x, y, &c);
    return c.GetValue() & 0xFFFFFFu;
}

std::set<std::wstring> FilesIn(const std::wstring& dir) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW((dir + L"\\*").c_str(), &fd));
    if (find)
        do
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.insert(fd.cFileName);
        while (FindNextFileW(find.get(), &fd));
    return names;
}

// The first entries of the file's luminance quantisation table, in the file's (zigzag) order.
std::vector<int> LuminanceTable(const std::string& jpeg) {
    for (std::size_t pos = 2; pos + 4 <= jpeg.size() && static_cast<unsigned char>(jpeg[pos]) == 0xFF;) {
        const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(jpeg[i]); };
        if (byte(pos + 1) == 0xDB && byte(pos + 4) == 0)
            return {byte(pos + 5), byte(pos + 6), byte(pos + 7)};
        pos += 2 + (byte(pos + 2) << 8 | byte(pos + 3));
    }
    return {};
}

class Codecs : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(wintest::WriteImage(dir / L"source.bmp", 200, 150, Gradient)); }
    TempDir dir;
};

} // namespace

TEST(EncoderLookup, MimeTypesMatchIgnoringCase) {
    UINT count = 0, size = 0;
    ASSERT_EQ(Gdiplus::GetImageEncodersSize(&count, &size), Gdiplus::Ok);
    std::vector<BYTE> block(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(block.data());
    ASSERT_EQ(Gdiplus::GetImageEncoders(count, size, codecs), Gdiplus::Ok);
    for (UINT i = 0; i < count; ++i) {
        std::wstring asked = codecs[i].MimeType;
        std::transform(asked.begin(), asked.end(), asked.begin(), towupper);
        CLSID clsid{};
        EXPECT_EQ(GetEncoderClsid(asked, clsid), static_cast<int>(i) + 1) << wintest::Narrow(asked);
        EXPECT_TRUE(IsEqualGUID(clsid, codecs[i].Clsid));
    }
    const CLSID untouched = {0x12345678, 0x9abc, 0xdef0, {1, 2, 3, 4, 5, 6, 7, 8}};
    for (const wchar_t* asked : {L"image/jpg", L"image/jpeg "}) {
        CLSID clsid = untouched;
        EXPECT_EQ(GetEncoderClsid(asked, clsid), -1) << wintest::Narrow(asked);
        EXPECT_TRUE(IsEqualGUID(clsid, untouched));
    }
}

TEST_F(Codecs, EachFormatKeepsTheSizeAndTheSource) {
    const std::wstring source = dir / L"source.bmp";
    const std::string before = wintest::ReadBytes(source);
    ASSERT_TRUE(SaveAsJpeg(source, dir / L"out.jpg", 80));
    ASSERT_TRUE(SaveAsBmp(source, dir / L"out.bmp"));
    ASSERT_TRUE(SaveAsPng(source, dir / L"out.png"));
    ASSERT_TRUE(SaveAsGif(source, dir / L"out.gif"));
    EXPECT_EQ(wintest::ReadBytes(source), before);
    for (const auto& [name, format] : {std::pair{L"out.jpg", Gdiplus::ImageFormatJPEG},
                                       {L"out.bmp", Gdiplus::ImageFormatBMP},
                                       {L"out.png", Gdiplus::ImageFormatPNG},
                                       {L"out.gif", Gdiplus::ImageFormatGIF}}) {
        const Loaded l = LoadBack(dir / name);
        EXPECT_EQ(l.width, 200u) << wintest::Narrow(name);
        EXPECT_EQ(l.height, 150u);
        EXPECT_TRUE(IsEqualGUID(l.format, format)) << wintest::Narrow(name);
    }
    // The lossless ones keep every pixel; with more than 256 colours the GIF holds the nearest
    // colour of the 6 x 6 x 6 cube.
    for (auto [x, y] : {std::pair{0, 0}, {99, 70}, {199, 149}}) {
        EXPECT_EQ(PixelOf(dir / L"out.bmp", x, y), Gradient(x, y));
        EXPECT_EQ(PixelOf(dir / L"out.png", x, y), Gradient(x, y));
        std::uint32_t g = Gradient(x, y), cube = 0;
        for (int shift : {16, 8, 0})
            cube |= static_cast<std::uint32_t>(((g >> shift & 0xFF) * 5 + 127) / 255 * 51) << shift;
        EXPECT_EQ(PixelOf(dir / L"out.gif", x, y), cube) << x << "," << y;
    }
    EXPECT_EQ(FilesIn(dir.path()).size(), 5u);
}

TEST_F(Codecs, JpegQualityIsTheOneAskedAlsoOntoItself) {
    // The first zigzag entries of the standard luminance table (16, 11, 12) scaled for 80 and 30.
    ASSERT_TRUE(SaveAsJpeg(dir / L"source.bmp", dir / L"target.jpg", 80));
    EXPECT_EQ(LuminanceTable(wintest::ReadBytes(dir / L"target.jpg")), (std::vector<int>{6, 4, 5}));
    ASSERT_TRUE(wintest::WriteImage(dir / L"other.png", 64, 48));
    ASSERT_TRUE(SaveAsJpeg(dir / L"other.png", dir / L"target.jpg", 80)); // replaces it
    ASSERT_TRUE(SaveAsJpeg(dir / L"target.jpg", dir / L"target.jpg", 30));
    EXPECT_EQ(LoadBack(dir / L"target.jpg").width, 64u);
    EXPECT_EQ(LuminanceTable(wintest::ReadBytes(dir / L"target.jpg")), (std::vector<int>{27, 18, 20}));
    EXPECT_EQ(FilesIn(dir.path()), (std::set<std::wstring>{L"source.bmp", L"other.png", L"target.jpg"}));
}

TEST_F(Codecs, FailureCreatesNothingAndKeepsTheTarget) {
    ASSERT_TRUE(wintest::WriteTextFile(dir / L"text.jpg", "\xFF\xD8\xFF\xE0 and then nothing useful"));
    ASSERT_TRUE(wintest::WriteTextFile(dir / L"existing.jpg", "keep me"));
    const std::set<std::wstring> before = FilesIn(dir.path());
    using Save = bool (*)(const std::wstring&, const std::wstring&);
    for (const wchar_t* bad : {L"missing.bmp", L"text.jpg"}) {
        EXPECT_FALSE(SaveAsJpeg(dir / bad, dir / L"existing.jpg", 80)) << wintest::Narrow(bad);
        for (Save save : {SaveAsBmp, SaveAsPng, SaveAsGif})
            EXPECT_FALSE(save(dir / bad, dir / L"new.img")) << wintest::Narrow(bad);
    }
    // Out-of-range quality, a folder that does not exist, a target that is a folder or read-only.
    EXPECT_FALSE(SaveAsJpeg(dir / L"source.bmp", dir / L"new.jpg", 101));
    EXPECT_FALSE(SaveAsJpeg(dir / L"source.bmp", dir / L"nowhere\\new.jpg", 80));
    ASSERT_TRUE(CreateDirectoryW((dir / L"folder.jpg").c_str(), nullptr));
    EXPECT_FALSE(SaveAsPng(dir / L"source.bmp", dir / L"folder.jpg"));
    ASSERT_TRUE(SetFileAttributesW((dir / L"existing.jpg").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(SaveAsJpeg(dir / L"source.bmp", dir / L"existing.jpg", 80));
    SetFileAttributesW((dir / L"existing.jpg").c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(FilesIn(dir.path()), before);
    EXPECT_EQ(wintest::ReadBytes(dir / L"existing.jpg"), "keep me");
}

TEST_F(Codecs, UnicodeNamesAndLoadedPixels) {
    const std::wstring unicode = dir / L"\u00DCn\u00EFc\u00F8d\u00E9 \u6771\u4EAC.png";
    ASSERT_TRUE(wintest::WriteImage(unicode, 200, 150, [](int x, int y) {
        return x < 100 ? 0xFF0000u : y < 75 ? 0xFFFFFFu : 0x0000FFu;
    }));
    const std::wstring target = dir / L"\u6771\u4EAC.jpg";
    ASSERT_TRUE(SaveAsJpeg(unicode, target, 80));
    std::vector<std::uint32_t> pixels;
    int w = 0, h = 0;
    ASSERT_TRUE(LoadImagePixels(unicode, pixels, w, h));
    ASSERT_EQ(h, 150);
    EXPECT_EQ(pixels[10 * 200 + 10], 0xFFFF0000u);      // left red, opaque
    EXPECT_EQ(pixels[10 * 200 + 190], 0xFFFFFFFFu);     // top right white
    ASSERT_TRUE(LoadImagePixels(target, pixels, w, h)); // through libjpeg-turbo
    EXPECT_EQ(w, 200);
    EXPECT_NEAR(static_cast<int>(pixels[140 * 200 + 150] & 0xFF), 255, 12); // bottom right blue
    EXPECT_FALSE(LoadImagePixels(dir / L"missing.png", pixels, w, h));
    EXPECT_TRUE(pixels.empty());
    EXPECT_EQ(w, 0);
}
