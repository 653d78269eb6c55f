// Encoder lookup and file-to-file re-encoding, checked by loading what was written back with GDI+
// and, for JPEG, by reading the quantisation tables out of the file.
#include "imaging/GDIPlusAPI.h"
#include "support/WinTest.h"
#include <objidl.h>
#include "platform/GdiPlus.h"
#include <algorithm>
#include <memory>
#include <set>
#include <vector>

using namespace tessary;
using wintest::TempDir;

namespace {

std::uint32_t Quadrants(int x, int y) {
    static const std::uint32_t colours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    return colours[(x < 100 ? 0 : 1) + (y < 75 ? 0 : 2)];
}

std::uint32_t Gradient(int x, int y) {
    return static_cast<std::uint32_t>((x % 256) << 16 | (y % 256) << 8 | ((x + y) % 256));
}

struct Loaded {
    bool ok = false;
    UINT width = 0, height = 0;
    GUID format{};
};

Loaded LoadBack(const std::wstring& path) {
    Loaded r;
    Gdiplus::Bitmap bitmap(path.c_str(), FALSE);
    if (bitmap.GetLastStatus() != Gdiplus::Ok)
        return r;
    r.ok = true;
    r.width = bitmap.GetWidth();
    r.height = bitmap.GetHeight();
    bitmap.GetRawFormat(&r.format);
    return r;
}

// 0xRRGGBB of the file's pixel, or 0xFFFFFFFF when it cannot be read.
std::uint32_t PixelOf(const std::wstring& path, int x, int y) {
    Gdiplus::Bitmap bitmap(path.c_str(), FALSE);
    Gdiplus::Color c;
    if (bitmap.GetLastStatus() != Gdiplus::Ok || bitmap.GetPixel(x, y, &c) != Gdiplus::Ok)
        return 0xFFFFFFFFu;
    return c.GetValue() & 0xFFFFFFu;
}

std::vector<unsigned char> ReadBytes(const std::wstring& path) {
    UniqueFile f(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    std::vector<unsigned char> bytes;
    if (!f)
        return bytes;
    bytes.resize(GetFileSize(f.get(), nullptr));
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        read = 0;
    bytes.resize(read);
    return bytes;
}

std::set<std::wstring> FilesIn(const std::wstring& dir) {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW((dir + L"\\*").c_str(), &fd));
    if (find) {
        do
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.insert(fd.cFileName);
        while (FindNextFileW(find.get(), &fd));
    }
    return names;
}

// The 8-bit quantisation tables of a JPEG file by table number, in the file's (zigzag) order.
std::vector<std::vector<int>> QuantTables(const std::vector<unsigned char>& jpeg) {
    std::vector<std::vector<int>> tables(4);
    size_t pos = 2;
    while (pos + 4 <= jpeg.size() && jpeg[pos] == 0xFF && jpeg[pos + 1] != 0xDA) {
        size_t length = static_cast<size_t>(jpeg[pos + 2] << 8 | jpeg[pos + 3]);
        if (jpeg[pos + 1] == 0xDB) {
            size_t p = pos + 4, end = std::min(pos + 2 + length, jpeg.size());
            while (p + 65 <= end && (jpeg[p] >> 4) == 0) {
                std::vector<int>& t = tables[jpeg[p] & 3];
                t.assign(jpeg.begin() + static_cast<std::ptrdiff_t>(p + 1),
                         jpeg.begin() + static_cast<std::ptrdiff_t>(p + 65));
                p += 65;
            }
        }
        pos += 2 + length;
    }
    return tables;
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
    auto positionOf = [&](const wchar_t* mime) {
        for (UINT i = 0; i < count; ++i)
            if (std::wstring(codecs[i].MimeType) == mime)
                return static_cast<int>(i) + 1;
        return -1;
    };

    for (const wchar_t* asked : {L"image/jpeg", L"IMAGE/PNG", L"Image/Bmp", L"image/gif"}) {
        std::wstring lower = asked;
        std::transform(lower.begin(), lower.end(), lower.begin(), towlower);
        int expected = positionOf(lower.c_str());
        ASSERT_GE(expected, 1) << wintest::Narrow(lower);
        CLSID clsid{};
        EXPECT_EQ(GetEncoderClsid(asked, clsid), expected) << wintest::Narrow(asked);
        EXPECT_TRUE(IsEqualGUID(clsid, codecs[expected - 1].Clsid));
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
    const std::vector<unsigned char> before = ReadBytes(source);
    ASSERT_TRUE(SaveAsJpeg(source, dir / L"out.jpg", 80));
    ASSERT_TRUE(SaveAsBmp(source, dir / L"out.bmp"));
    ASSERT_TRUE(SaveAsPng(source, dir / L"out.png"));
    ASSERT_TRUE(SaveAsGif(source, dir / L"out.gif"));
    EXPECT_EQ(ReadBytes(source), before);

    const std::pair<const wchar_t*, GUID> expected[] = {{L"out.jpg", Gdiplus::ImageFormatJPEG},
                                                        {L"out.bmp", Gdiplus::ImageFormatBMP},
                                                        {L"out.png", Gdiplus::ImageFormatPNG},
                                                        {L"out.gif", Gdiplus::ImageFormatGIF}};
    for (const auto& [name, format] : expected) {
        Loaded l = LoadBack(dir / name);
        ASSERT_TRUE(l.ok) << wintest::Narrow(name);
        EXPECT_EQ(l.width, 200u);
        EXPECT_EQ(l.height, 150u);
        EXPECT_TRUE(IsEqualGUID(l.format, format)) << wintest::Narrow(name);
    }
    // The lossless ones keep every pixel.
    for (int y : {0, 70, 149})
        for (int x : {0, 99, 199}) {
            EXPECT_EQ(PixelOf(dir / L"out.bmp", x, y), Gradient(x, y));
            EXPECT_EQ(PixelOf(dir / L"out.png", x, y), Gradient(x, y));
            // More than 256 colours: the GIF holds the nearest colour of the 6 x 6 x 6 cube.
            std::uint32_t g = Gradient(x, y), cube = 0;
            for (int shift : {16, 8, 0})
                cube |= static_cast<std::uint32_t>(((g >> shift & 0xFF) * 5 + 127) / 255 * 51) << shift;
            EXPECT_EQ(PixelOf(dir / L"out.gif", x, y), cube) << x << "," << y;
        }
    EXPECT_EQ(FilesIn(dir.path()),
              (std::set<std::wstring>{L"source.bmp", L"out.jpg", L"out.bmp", L"out.png", L"out.gif"}));
}

TEST_F(Codecs, JpegQualityIsTheOneAsked) {
    // The first zigzag entries of the standard luminance table (16, 11, 12) scaled for 80 and 30.
    ASSERT_TRUE(SaveAsJpeg(dir / L"source.bmp", dir / L"q80.jpg", 80));
    ASSERT_TRUE(SaveAsJpeg(dir / L"source.bmp", dir / L"q30.jpg", 30));
    const std::vector<int> q80 = QuantTables(ReadBytes(dir / L"q80.jpg"))[0];
    const std::vector<int> q30 = QuantTables(ReadBytes(dir / L"q30.jpg"))[0];
    ASSERT_EQ(q80.size(), 64u);
    ASSERT_EQ(q30.size(), 64u);
    EXPECT_EQ(std::vector<int>(q80.begin(), q80.begin() + 3), (std::vector<int>{6, 4, 5}));
    EXPECT_EQ(std::vector<int>(q30.begin(), q30.begin() + 3), (std::vector<int>{27, 18, 20}));
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
    // Out-of-range quality, a folder that does not exist, a target that is a folder.
    EXPECT_FALSE(SaveAsJpeg(dir / L"source.bmp", dir / L"new.jpg", 101));
    EXPECT_FALSE(SaveAsJpeg(dir / L"source.bmp", dir / L"nowhere\\new.jpg", 80));
    ASSERT_TRUE(CreateDirectoryW((dir / L"folder.jpg").c_str(), nullptr));
    EXPECT_FALSE(SaveAsPng(dir / L"source.bmp", dir / L"folder.jpg"));
    // A read-only target is not replaced.
    ASSERT_TRUE(SetFileAttributesW((dir / L"existing.jpg").c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(SaveAsJpeg(dir / L"source.bmp", dir / L"existing.jpg", 80));
    SetFileAttributesW((dir / L"existing.jpg").c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_EQ(FilesIn(dir.path()), before);
    const std::string kept = "keep me";
    EXPECT_EQ(ReadBytes(dir / L"existing.jpg"), std::vector<unsigned char>(kept.begin(), kept.end()));
}

TEST_F(Codecs, ReplacesAnExistingTargetAndTheSourceItself) {
    ASSERT_TRUE(wintest::WriteImage(dir / L"other.png", 64, 48));
    ASSERT_TRUE(SaveAsJpeg(dir / L"source.bmp", dir / L"target.jpg", 80));
    ASSERT_TRUE(SaveAsJpeg(dir / L"other.png", dir / L"target.jpg", 80));
    ASSERT_TRUE(SaveAsJpeg(dir / L"target.jpg", dir / L"target.jpg", 30)); // onto itself
    EXPECT_EQ(LoadBack(dir / L"target.jpg").width, 64u);
    EXPECT_EQ(QuantTables(ReadBytes(dir / L"target.jpg"))[0].at(0), 27);
    EXPECT_EQ(FilesIn(dir.path()), (std::set<std::wstring>{L"source.bmp", L"other.png", L"target.jpg"}));
}

TEST_F(Codecs, UnicodeNamesAndLoadedPixels) {
    std::wstring unicode = dir / L"\u00DCn\u00EFc\u00F8d\u00E9 \u6771\u4EAC.png";
    ASSERT_TRUE(wintest::WriteImage(unicode, 200, 150, Quadrants));
    std::wstring target = dir / L"\u6771\u4EAC.jpg";
    ASSERT_TRUE(SaveAsJpeg(unicode, target, 80));
    EXPECT_EQ(LoadBack(target).height, 150u);

    std::vector<std::uint32_t> pixels;
    int w = 0, h = 0;
    ASSERT_TRUE(LoadImagePixels(unicode, pixels, w, h));
    ASSERT_EQ(w, 200);
    ASSERT_EQ(h, 150);
    EXPECT_EQ(pixels[10 * 200 + 10], 0xFFFF0000u);   // top left red, opaque
    EXPECT_EQ(pixels[140 * 200 + 190], 0xFFFFFFFFu); // bottom right white

    ASSERT_TRUE(LoadImagePixels(target, pixels, w, h)); // through libjpeg-turbo
    EXPECT_EQ(w, 200);
    EXPECT_NEAR(static_cast<int>((pixels[140 * 200 + 50] >> 0) & 0xFF), 255, 12); // bottom left blue

    EXPECT_FALSE(LoadImagePixels(dir / L"missing.png", pixels, w, h));
    EXPECT_TRUE(pixels.empty());
    EXPECT_EQ(w, 0);
}
