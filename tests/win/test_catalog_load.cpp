// Loading a folder through the real main window: which files are listed and how, the cell
// pictures, the status bar, the thumbnail cache, and files that are not what they claim.
#include "imaging/DecodePlan.h"
#include "catalog/ReducedImage.h"
#include "imaging/JpegCodec.h"
#include "platform/Locale.h"
#include "test_catalog_support.h"
#include "platform/AppInfo.h"
#include <psapi.h>
#include <climits>
#include <cmath>
#include <cstdlib>

using namespace tessary;
using namespace wintest;

namespace {

class CatalogLoad : public CatalogTest {};

// ThumbSize 100 on the tests' 1280 x 1024 screen: the picture area is 100 x 80, the cell 112 x 101.
constexpr int kCellWidth = 112, kCellHeight = 101;
const RECT kCaptionBand{6, 86, 106, 100};
const RECT kPictureArea{6, 6, 106, 86};

std::wstring DateTextOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA d{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d);
    FILETIME local;
    FileTimeToLocalFileTime(&d.ftLastWriteTime, &local);
    SYSTEMTIME st;
    FileTimeToSystemTime(&local, &st);
    return ShortDateText(st) + L" " + LongTimeText(st);
}

std::wstring Digits(const std::wstring& s) {
    std::wstring d;
    for (wchar_t c : s)
        if (c >= L'0' && c <= L'9')
            d += c;
    return d;
}

bool IsFace(std::uint32_t p) {
    return (p & 0xFFFFFF) == Rgb(GetSysColor(COLOR_BTNFACE));
}

std::size_t FilesIn(const std::wstring& dir) {
    std::size_t n = 0;
    WIN32_FIND_DATAW fd;
    UniqueFind find(FindFirstFileW((dir + L"\\*").c_str(), &fd));
    if (find)
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ++n;
        } while (FindNextFileW(find.get(), &fd));
    return n;
}

} // namespace

TEST_F(CatalogLoad, ListsImagesByTheirNames) {
    TempDir dir(L"catload");
    Track(dir.path());
    ASSERT_TRUE(WriteFlat(dir / L"a.JPG", 1280, 1024, 0xE00000)); // the screen's size
    ASSERT_TRUE(WriteFlat(dir / L"b.jpeg2", 800, 600, 0x00E000));
    ASSERT_TRUE(WriteFlat(dir / L"c.png", 640, 512, 0x0000E0)); // the screen's aspect
    ASSERT_TRUE(WriteFlat(dir / L"f.bmp", 300, 200, 0xE0E000));
    ASSERT_TRUE(WriteFlat(dir / L"g.gif", 200, 100, 0x000000));
    ASSERT_TRUE(WriteTextFile(dir / L"d.txt", "text"));
    ASSERT_TRUE(CreateDirectoryW((dir / L"e.jpg").c_str(), nullptr));

    frmMain& f = Start();
    f.UpdateCacheStatus();
    const std::wstring cacheBefore = Panel(3);
    ASSERT_TRUE(f.FolderTreeview1.SelectFolder(dir.path()));

    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"a.JPG", L"c.png", L"f.bmp", L"g.gif"}));
    // Columns: padded size in the locale's digits, local date and time, padded resolution.
    for (const wchar_t* name : {L"a.JPG", L"c.png", L"f.bmp", L"g.gif"}) {
        SCOPED_TRACE(Narrow(name));
        const std::wstring size = Column(name, 1);
        EXPECT_EQ(Digits(size), std::to_wstring(FileLength(dir / name)));
        EXPECT_EQ(size.size(), 10u);
        EXPECT_EQ(size.front(), L' ');
        EXPECT_EQ(Column(name, 2), DateTextOf(dir / name));
    }
    EXPECT_EQ(Column(L"a.JPG", 3), L" 1280 x 1024");
    EXPECT_EQ(Column(L"c.png", 3), L"  640 x 512");
    EXPECT_EQ(Column(L"f.bmp", 3), L"  300 x 200");
    EXPECT_EQ(Column(L"g.gif", 3), L"  200 x 100");

    // Cells: 112 x 101, the picture in the middle, captions dark blue, dark green, black.
    int w = 0, h = 0;
    ASSERT_TRUE(ImageList_GetIconSize(List().GetImageList(), &w, &h));
    EXPECT_EQ(w, kCellWidth);
    EXPECT_EQ(h, kCellHeight);
    const std::uint32_t blue = 0x000096, green = 0x009600, black = 0x000000;
    struct Expect {
        const wchar_t* name;
        std::uint32_t caption;
        std::uint32_t picture;
    };
    for (const Expect& e : {Expect{L"a.JPG", blue, 0xE00000}, Expect{L"c.png", green, 0x0000E0},
                            Expect{L"f.bmp", black, 0xE0E000}}) {
        SCOPED_TRACE(Narrow(e.name));
        Surface cell = Cell(e.name);
        ASSERT_FALSE(cell.empty());
        EXPECT_GT(CountColour(cell, kCaptionBand, e.caption), 5);
        for (std::uint32_t other : {blue, green, black}) {
            if (other != e.caption) {
                EXPECT_EQ(CountColour(cell, kCaptionBand, other), 0);
            }
        }
        const std::uint32_t centre = cell.Pixel(56, 46);
        EXPECT_NEAR(Red(centre), Red(e.picture), 6);
        EXPECT_NEAR(Green(centre), Green(e.picture), 6);
        EXPECT_NEAR(Blue(centre), Blue(e.picture), 6);
        // The cell's face colour just inside its raised edge.
        EXPECT_TRUE(IsFace(cell.Pixel(3, 3)));
    }
    // a.JPG (1280 x 1024) fills the area: 100 x 80 at (6, 6); f.bmp (300 x 200) is fitted to
    // 100 x 67 and centred vertically, so the area's top rows show the face colour.
    Surface a = Cell(L"a.JPG"), fb = Cell(L"f.bmp"), g = Cell(L"g.gif");
    EXPECT_FALSE(IsFace(a.Pixel(6, 6)));
    EXPECT_FALSE(IsFace(a.Pixel(105, 85)));
    EXPECT_TRUE(IsFace(fb.Pixel(56, 6)));
    EXPECT_FALSE(IsFace(fb.Pixel(56, 14)));
    // g.gif (200 x 100, black) becomes 100 x 50 at (6, 21).
    EXPECT_EQ(g.Pixel(56, 46) & 0xFFFFFF, 0u);
    EXPECT_EQ(g.Pixel(6, 21) & 0xFFFFFF, 0u);
    EXPECT_TRUE(IsFace(g.Pixel(56, 17)));

    // Status: two images were large enough to cache (the thumbnails and the cache file: 3 files).
    const Summary s = ParseSummary(Panel(1));
    ASSERT_TRUE(s.matched) << Narrow(Panel(1));
    EXPECT_EQ(s.loaded, 4);
    EXPECT_EQ(s.hits, 0);
    EXPECT_EQ(s.added, 2);
    EXPECT_EQ(Panel(2), L"Dir: 4 images, 0 selected");
    EXPECT_EQ(FilesIn(CacheDir(dir.path())), 3u);
    EXPECT_NE(Panel(3), cacheBefore);
    EXPECT_FALSE(state.LoadBusy);
    EXPECT_EQ(state.LastLoadedFolder, dir.path());

    // F5 loads it again, now from the cache, with the same texts and captions.
    PostMessageW(f.ListViewPics, WM_KEYDOWN, VK_F5, 0); // the window sees its controls' keys first
    Pump(50);
    const Summary again = ParseSummary(Panel(1));
    ASSERT_TRUE(again.matched) << Narrow(Panel(1));
    EXPECT_EQ(again.loaded, 4);
    EXPECT_EQ(again.hits, 2);
    EXPECT_EQ(again.added, 0);
    EXPECT_EQ(Column(L"a.JPG", 3), L" 1280 x 1024");
    EXPECT_GT(CountColour(Cell(L"a.JPG"), kCaptionBand, blue), 5);
    EXPECT_GT(CountColour(Cell(L"c.png"), kCaptionBand, green), 5);
}

TEST_F(CatalogLoad, OnlyAForcedLoadRebuildsTheFolderShown) {
    TempDir dir(L"catforce");
    Track(dir.path());
    ASSERT_TRUE(WriteFlat(dir / L"one.png", 64, 48, 0x808080));
    ASSERT_TRUE(WriteFlat(dir / L"two.png", 64, 48, 0x808080));
    frmMain& f = Start();
    f.LoadFolder(dir.path(), false);
    ASSERT_EQ(Names().size(), 2u);

    ASSERT_TRUE(DeleteFileW((dir / L"two.png").c_str()));
    f.StatusBar1.SetPanelText(1, L"untouched");
    f.LoadFolder(dir.path(), false);
    EXPECT_EQ(Names().size(), 2u);
    EXPECT_EQ(Panel(1), L"untouched");
    // Selecting it in the tree passes no force either.
    ASSERT_TRUE(f.FolderTreeview1.SelectFolder(dir.path()));
    EXPECT_EQ(Names().size(), 2u);

    f.LoadFolder(dir.path(), true);
    EXPECT_EQ(Names(), std::vector<std::wstring>{L"one.png"});
    EXPECT_EQ(Panel(2), L"Dir: 1 images, 0 selected");
    // Small images are decoded every time and never cached.
    EXPECT_EQ(ParseSummary(Panel(1)).hits, 0);
    EXPECT_EQ(ParseSummary(Panel(1)).added, 0);
    EXPECT_EQ(GetFileAttributesW(CacheDir(dir.path()).c_str()), INVALID_FILE_ATTRIBUTES);
}

namespace {

// A real JPEG whose frame header is rewritten to claim another size.
std::vector<unsigned char> JpegClaiming(int width, int height) {
    std::vector<std::uint32_t> px(64 * 64, 0xFF406080);
    std::vector<unsigned char> jpeg;
    EncodeJpeg(px.data(), 64, 64, 64 * 4, 90, jpeg);
    for (std::size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = static_cast<unsigned char>(height >> 8);
            jpeg[i + 6] = static_cast<unsigned char>(height);
            jpeg[i + 7] = static_cast<unsigned char>(width >> 8);
            jpeg[i + 8] = static_cast<unsigned char>(width);
            break;
        }
    }
    return jpeg;
}

std::uint32_t Crc32(const unsigned char* p, std::size_t n) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < n; ++i) {
        crc ^= p[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A PNG header claiming the size, with a valid IHDR chunk and nothing after it.
std::vector<unsigned char> PngClaiming(std::uint32_t width, std::uint32_t height) {
    std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A,
                                      0,    0,   0,   13,  'I',  'H',  'D',  'R'};
    auto put32 = [&](std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            png.push_back(static_cast<unsigned char>(v >> shift));
    };
    put32(width);
    put32(height);
    png.insert(png.end(), {8, 2, 0, 0, 0});
    put32(Crc32(png.data() + 12, 17));
    return png;
}

bool WriteBytes(const std::wstring& path, const std::vector<unsigned char>& bytes) {
    return WriteTextFile(path, std::string(bytes.begin(), bytes.end()));
}

std::vector<unsigned char> ReadBytes(const std::wstring& path) {
    std::vector<unsigned char> bytes(static_cast<std::size_t>(FileLength(path)));
    UniqueFile f(
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    DWORD got = 0;
    if (!f || !ReadFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
        got = 0;
    bytes.resize(got);
    return bytes;
}

std::uint64_t PeakMemory() {
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
    return pmc.PeakWorkingSetSize;
}

} // namespace

TEST_F(CatalogLoad, FilesThatAreNoPicturesAreListedAsNothing) {
    TempDir dir(L"catbad");
    Track(dir.path());
    ASSERT_TRUE(WriteTextFile(dir / L"empty.jpg", ""));
    ASSERT_TRUE(WriteTextFile(dir / L"text.jpg", "This is not a picture.\r\n"));
    ASSERT_TRUE(WriteFlat(dir / L"whole.jpg", 800, 600, 0x3060A0));
    std::vector<unsigned char> bytes = ReadBytes(dir / L"whole.jpg");
    ASSERT_GT(bytes.size(), 1000u);
    bytes.resize(bytes.size() / 2);
    ASSERT_TRUE(WriteBytes(dir / L"truncated.jpg", bytes));
    // All the picture data, only the end-of-image marker missing: shown.
    bytes = ReadBytes(dir / L"whole.jpg");
    bytes.resize(bytes.size() - 2);
    ASSERT_TRUE(WriteBytes(dir / L"no end.jpg", bytes));
    ASSERT_TRUE(DeleteFileW((dir / L"whole.jpg").c_str()));
    // A header libjpeg-turbo rejects (a 0 x 0 frame), then good JPEGs in the same load.
    ASSERT_TRUE(WriteBytes(dir / L"0x0 frame.jpg",
                           {0xFF, 0xD8, 0xFF, 0xC0, 0, 11, 8, 0, 0, 0, 0, 1, 1, 0x11, 0, 0xFF, 0xD9}));
    for (const wchar_t* good : {L"good 1.jpg", L"good 2.jpg", L"good 3.jpg"})
        ASSERT_TRUE(WriteFlat(dir / good, 300, 200, 0xC08040));
    // An RLE8 bitmap of 4 x 3 whose data ends after its first row.
    std::vector<unsigned char> rle(54, 0);
    rle[0] = 'B', rle[1] = 'M', rle[10] = 54, rle[14] = 40, rle[18] = 4, rle[22] = 3, rle[26] = 1;
    rle[28] = 8, rle[30] = 1;
    for (unsigned char b : {4, 0, 0, 0})
        rle.push_back(b);
    ASSERT_TRUE(WriteBytes(dir / L"rows missing.bmp", rle));
    // A PNG named .jpg is decoded as what it is.
    ASSERT_TRUE(WriteFlat(dir / L"x.png", 500, 400, 0x20C020));
    ASSERT_TRUE(MoveFileW((dir / L"x.png").c_str(), (dir / L"png inside.jpg").c_str()));
    // Headers claiming 30000 x 30000 pixels.
    ASSERT_TRUE(WriteBytes(dir / L"huge.jpg", JpegClaiming(30000, 30000)));
    ASSERT_TRUE(WriteBytes(dir / L"huge.png", PngClaiming(30000, 30000)));

    frmMain& f = Start();
    const std::uint64_t peakBefore = PeakMemory();
    f.LoadFolder(dir.path(), true);
    EXPECT_LT(PeakMemory(), peakBefore + (300u << 20))
        << "peak working set grew by " << (PeakMemory() - peakBefore) / (1 << 20) << " MB";

    EXPECT_EQ(Names().size(), 12u);
    for (const wchar_t* name :
         {L"empty.jpg", L"text.jpg", L"truncated.jpg", L"huge.png", L"0x0 frame.jpg", L"rows missing.bmp"}) {
        SCOPED_TRACE(Narrow(name));
        EXPECT_EQ(Column(name, 3), L"    0 x 0");
        // An empty picture area: the face colour inside a 4 x 4 sunken frame at the middle.
        Surface cell = Cell(name);
        ASSERT_FALSE(cell.empty());
        EXPECT_TRUE(IsFace(cell.Pixel(30, 46)));
        EXPECT_TRUE(IsFace(cell.Pixel(56, 20)));
        EXPECT_EQ(cell.Pixel(54, 44) & 0xFFFFFF, Rgb(GetSysColor(COLOR_BTNSHADOW)));
        EXPECT_EQ(cell.Pixel(57, 47) & 0xFFFFFF, Rgb(GetSysColor(COLOR_BTNHIGHLIGHT)));
        EXPECT_GT(CountColour(cell, kCaptionBand, 0x000000), 5);
    }
    // The huge JPEG is damaged past its header: nothing or its claimed size, never a crash.
    const std::wstring huge = Column(L"huge.jpg", 3);
    EXPECT_TRUE(huge == L"    0 x 0" || huge == L"30000 x 30000") << Narrow(huge);
    EXPECT_EQ(Column(L"png inside.jpg", 3), L"  500 x 400");
    EXPECT_NEAR(Green(Cell(L"png inside.jpg").Pixel(56, 46)), 0xC0, 6);
    EXPECT_EQ(Column(L"no end.jpg", 3), L"  800 x 600");
    for (const wchar_t* good : {L"good 1.jpg", L"good 2.jpg", L"good 3.jpg"})
        EXPECT_EQ(Column(good, 3), L"  300 x 200") << Narrow(good);

    // Only the real pictures were cached.
    const Summary s = ParseSummary(Panel(1));
    EXPECT_EQ(s.loaded, 12);
    EXPECT_EQ(s.added, 2);
    const std::wstring cache = CacheDir(dir.path());
    EXPECT_TRUE(FileExists(cache + L"\\png inside.jpg"));
    for (const wchar_t* name : {L"empty.jpg", L"text.jpg", L"truncated.jpg", L"huge.png", L"huge.jpg"})
        EXPECT_FALSE(FileExists(cache + L"\\" + name)) << Narrow(name);
    EXPECT_EQ(FilesIn(cache), 3u); // two thumbnails and the cache file
}

// What a load shows and writes: every entry's texts and cell, the summary's counts, and every file
// of the folder's cache.
struct LoadResult {
    std::vector<std::vector<std::wstring>> entries;
    std::vector<std::vector<std::uint32_t>> cells;
    int loaded = 0, hits = 0, added = 0;
    std::vector<std::pair<std::wstring, std::vector<unsigned char>>> cacheFiles;
};

TEST_F(CatalogLoad, WorkersChangeNothingThatIsShownOrWritten) {
    TempDir dir(L"catworkers");
    Track(dir.path());
    // Photos to reduce and cache, small ones that are not cached, transparency, a damaged file,
    // a file that is no picture, and more than a checkpoint's worth of them.
    for (int i = 0; i < 34; ++i)
        ASSERT_TRUE(WriteImage(
            dir / (L"p" + std::to_wstring(i) + (i % 3 ? L".jpg" : L".png")), 500 + 37 * i, 400 + 11 * i,
            [i](int x, int y) { return static_cast<std::uint32_t>((x * (i + 1)) ^ (y << 8) ^ (i << 16)); }));
    ASSERT_TRUE(WriteFlat(dir / L"small.gif", 120, 90, 0x30C060));
    ASSERT_TRUE(WriteTextFile(dir / L"text.jpg", "not a picture"));
    std::vector<unsigned char> bytes = ReadBytes(dir / L"p1.jpg");
    bytes.resize(bytes.size() / 2);
    ASSERT_TRUE(WriteBytes(dir / L"cut.jpg", bytes));

    frmMain& f = Start();
    auto load = [&](int workers, bool cold) {
        if (cold)
            DeleteFolderCache(LastPathComponent(dir.path()));
        f.catalog.loadWorkers = workers;
        f.LoadFolder(dir.path(), true);
        LoadResult r;
        auto list = List();
        for (int i = 0; i < list.Count(); ++i) {
            r.entries.push_back({list.Text(i), list.Text(i, 1), list.Text(i, 2), list.Text(i, 3)});
            const Surface cell = Cell(list.Text(i));
            r.cells.emplace_back();
            for (int y = 0; y < cell.height(); ++y)
                for (int x = 0; x < cell.width(); ++x)
                    r.cells.back().push_back(cell.Pixel(x, y));
        }
        const Summary s = ParseSummary(Panel(1));
        r.loaded = s.loaded;
        r.hits = s.hits;
        r.added = s.added;
        WIN32_FIND_DATAW fd;
        UniqueFind find(FindFirstFileW((CacheDir(dir.path()) + L"\\*.*").c_str(), &fd));
        if (find)
            do
                if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    r.cacheFiles.emplace_back(fd.cFileName,
                                              ReadBytes(CacheDir(dir.path()) + L"\\" + fd.cFileName));
            while (FindNextFileW(find.get(), &fd));
        std::sort(r.cacheFiles.begin(), r.cacheFiles.end());
        return r;
    };
    const LoadResult alone = load(0, true), threaded = load(2, true);
    EXPECT_EQ(alone.loaded, 37);
    EXPECT_EQ(alone.added, 34);
    EXPECT_EQ(alone.cacheFiles.size(), 35u); // the thumbnails and the cache file
    EXPECT_EQ(threaded.entries, alone.entries);
    EXPECT_TRUE(threaded.cells == alone.cells);
    EXPECT_EQ(threaded.loaded, alone.loaded);
    EXPECT_EQ(threaded.hits, alone.hits);
    EXPECT_EQ(threaded.added, alone.added);
    EXPECT_TRUE(threaded.cacheFiles == alone.cacheFiles);
    // Read back by workers, the cache gives the same list again.
    const LoadResult warm = load(2, false);
    EXPECT_EQ(warm.hits, 34);
    EXPECT_EQ(warm.entries, alone.entries);
}

TEST_F(CatalogLoad, MissingFolderGivesTheEmptySummary) {
    TempDir dir(L"catnone");
    frmMain& f = Start();
    f.LoadFolder(dir / L"no such folder", true);
    EXPECT_TRUE(Names().empty());
    const Summary s = ParseSummary(Panel(1));
    ASSERT_TRUE(s.matched) << Narrow(Panel(1));
    EXPECT_EQ(s.loaded, 0);
    EXPECT_EQ(Panel(2), L"Dir: 0 images, 0 selected");
    EXPECT_FALSE(state.LoadBusy);
}

namespace {
std::wstring g_folderToDelete;
void CALLBACK DeleteFolderNow(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    RemoveTree(g_folderToDelete);
}
} // namespace

TEST_F(CatalogLoad, FolderDeletedDuringALoadEndsItCleanly) {
    TempDir parent(L"catgone");
    const std::wstring dir = parent / L"photos";
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(WriteFlat(dir + L"\\p" + std::to_wstring(i) + L".png", 40, 30, 0x404040));
    frmMain& f = Start();
    g_folderToDelete = dir;
    // Runs the first time the load lets messages run (waiting for a worker, or at a checkpoint).
    SetTimer(nullptr, 0, 1, DeleteFolderNow);
    Sleep(5);
    f.LoadFolder(dir, true);
    EXPECT_EQ(GetFileAttributesW(dir.c_str()), INVALID_FILE_ATTRIBUTES);
    // The files taken before it went are listed (a worker may have read a few more), the rest not.
    const std::size_t listed = Names().size();
    EXPECT_GT(listed, 0u);
    EXPECT_LT(listed, 40u);
    EXPECT_EQ(ParseSummary(Panel(1)).loaded, static_cast<int>(listed));
    EXPECT_EQ(Panel(2), L"Dir: " + std::to_wstring(listed) + L" images, 0 selected");
    EXPECT_FALSE(state.LoadBusy);
}

// Files copied in, deleted and renamed in the shown folder: the list follows by itself, keeping the
// selection and the scroll position; the folder deleted leaves the empty list of a missing folder.
TEST_F(CatalogLoad, TheShownFolderIsFollowed) {
    TempDir parent(L"catfollow");
    const std::wstring dir = parent / L"shown";
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    for (int i = 0; i < 80; ++i)
        ASSERT_TRUE(WriteFlat(dir + L"\\p" + std::to_wstring(100 + i) + L".png", 40, 30, 0x406080));
    Start();
    ASSERT_TRUE(form().FolderTreeview1.SelectFolder(dir));
    ASSERT_EQ(Names().size(), 80u);
    auto list = List();
    list.SetSelected(Find(L"p150.png"), true);
    list.ScrollDown(300);
    const int scrolled = list.ScrolledDown();
    ASSERT_GT(scrolled, 0);

    // A burst of copies, taken in once it is over.
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(WriteFlat(dir + L"\\n" + std::to_wstring(i) + L".png", 40, 30, 0x806040));
    ASSERT_TRUE(PumpUntil([&] { return Names().size() == 100; }));
    EXPECT_TRUE(list.IsSelected(Find(L"p150.png")));
    EXPECT_EQ(list.SelectedCount(), 1);
    EXPECT_EQ(list.ScrolledDown(), scrolled);
    EXPECT_EQ(Panel(2), L"Dir: 100 images, 1 selected");

    ASSERT_TRUE(DeleteFileW((dir + L"\\p100.png").c_str()));
    ASSERT_TRUE(MoveFileW((dir + L"\\p101.png").c_str(), (dir + L"\\renamed.png").c_str()));
    ASSERT_TRUE(PumpUntil([&] { return Find(L"renamed.png") >= 0; }));
    EXPECT_EQ(Find(L"p100.png"), -1);
    EXPECT_EQ(Find(L"p101.png"), -1);

    RemoveTree(dir);
    ASSERT_TRUE(PumpUntil([&] { return Names().empty(); }));
    EXPECT_EQ(ParseSummary(Panel(1)).loaded, 0);
}

TEST_F(CatalogLoad, CacheThatCannotBeWrittenStillShowsEveryThumbnail) {
    TempDir dir(L"catro");
    Track(dir.path());
    ASSERT_TRUE(WriteFlat(dir / L"big1.jpg", 800, 600, 0xA04020));
    ASSERT_TRUE(WriteFlat(dir / L"big2.png", 640, 480, 0x2040A0));
    // A read-only file stands where the folder's cache directory would be made.
    const std::wstring blocker = CacheDir(dir.path());
    ASSERT_TRUE(WriteTextFile(blocker, "in the way"));
    SetFileAttributesW(blocker.c_str(), FILE_ATTRIBUTE_READONLY);
    frmMain& f = Start();
    f.LoadFolder(dir.path(), true);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"big1.jpg", L"big2.png"}));
    EXPECT_EQ(Column(L"big1.jpg", 3), L"  800 x 600");
    EXPECT_EQ(Column(L"big2.png", 3), L"  640 x 480");
    EXPECT_NEAR(Red(Cell(L"big1.jpg").Pixel(56, 46)), 0xA0, 6);
    EXPECT_NEAR(Blue(Cell(L"big2.png").Pixel(56, 46)), 0xA0, 6);
    const Summary s = ParseSummary(Panel(1));
    ASSERT_TRUE(s.matched) << Narrow(Panel(1));
    EXPECT_EQ(s.loaded, 2);
    EXPECT_EQ(s.added, 0); // nothing was written, nothing is counted
    EXPECT_EQ(Panel(1).find(L"added"), std::wstring::npos);
    SetFileAttributesW(blocker.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(blocker.c_str());
}

TEST_F(CatalogLoad, AnyFileNameKeepsItsCachedSize) {
    TempDir dir(L"catnames");
    Track(dir.path());
    const std::wstring unicode = L"\u00DCn\u00EFc\u00F8d\u00E9 \u6771\u4EAC.jpg";
    const std::wstring syntax = L"a[1]=b;c.jpg";
    const std::wstring blanks = L" padded .png";
    ASSERT_TRUE(WriteFlat(dir / unicode, 800, 600, 0x808000));
    ASSERT_TRUE(WriteFlat(dir / syntax, 640, 480, 0x008080));
    ASSERT_TRUE(WriteFlat(dir / blanks, 1024, 768, 0x800080));
    // So long that the thumbnail's path passes MAX_PATH.
    const std::wstring longName = std::wstring(246, L'l') + L".jpg";
    ASSERT_TRUE(WriteFlat(dir / L"short.jpg", 400, 300, 0x008000));
    ASSERT_TRUE(MoveFileW((dir / L"short.jpg").c_str(), (L"\\\\?\\" + (dir / longName)).c_str()));
    frmMain& f = Start();
    f.LoadFolder(dir.path(), true);
    EXPECT_EQ(ParseSummary(Panel(1)).added, 4);
    f.LoadFolder(dir.path(), true);
    const Summary s = ParseSummary(Panel(1));
    EXPECT_EQ(s.hits, 4);
    EXPECT_EQ(s.added, 0);
    EXPECT_EQ(Column(unicode, 3), L"  800 x 600");
    EXPECT_EQ(Column(syntax, 3), L"  640 x 480");
    EXPECT_EQ(Column(blanks, 3), L" 1024 x 768");
    EXPECT_EQ(Column(longName, 3), L"  400 x 300");
    EXPECT_NEAR(Red(Cell(unicode).Pixel(56, 46)), 0x80, 8);
    // The cache file keeps each name's own section, whatever its characters.
    const std::wstring ini = CacheFilePath(CacheDir(dir.path()), ExeBaseName());
    wchar_t sections[4096] = {};
    const DWORD n = GetPrivateProfileSectionNamesW(sections, 4096, ini.c_str());
    int count = 0;
    for (const wchar_t* p = sections; p < sections + n && *p; p += wcslen(p) + 1)
        ++count;
    EXPECT_EQ(count, 4);
}

TEST_F(CatalogLoad, CachedThumbnailBelongsToItsImage) {
    // Two folders with the same last name, holding copies of one file (same size and time).
    TempDir root(L"catshare");
    const std::wstring name = L"shared" + std::to_wstring(GetCurrentProcessId());
    const std::wstring first = root / L"x", second = root / L"y";
    ASSERT_TRUE(CreateDirectoryW(first.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(second.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((first + L"\\" + name).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW((second + L"\\" + name).c_str(), nullptr));
    const std::wstring a = Track(first + L"\\" + name), b = Track(second + L"\\" + name);
    ASSERT_TRUE(WriteFlat(a + L"\\beach.jpg", 800, 600, 0xD00000));
    ASSERT_TRUE(CopyFileW((a + L"\\beach.jpg").c_str(), (b + L"\\beach.jpg").c_str(), FALSE));

    frmMain& f = Start();
    f.LoadFolder(a, true);
    EXPECT_EQ(ParseSummary(Panel(1)).added, 1);
    f.LoadFolder(b, true);
    EXPECT_EQ(ParseSummary(Panel(1)).hits, 0);
    EXPECT_EQ(ParseSummary(Panel(1)).added, 1);
    f.LoadFolder(a, true);
    EXPECT_EQ(ParseSummary(Panel(1)).hits, 1);
    EXPECT_EQ(Column(L"beach.jpg", 3), L"  800 x 600");
    EXPECT_NEAR(Red(Cell(L"beach.jpg").Pixel(56, 46)), 0xD0, 8);

    // A thumbnail whose section was lost is decoded and written again.
    const std::wstring ini = CacheFilePath(CacheDir(a), ExeBaseName());
    ASSERT_TRUE(WritePrivateProfileStringW(L"beach.jpg", nullptr, nullptr, ini.c_str()));
    f.LoadFolder(a, true);
    EXPECT_EQ(ParseSummary(Panel(1)).hits, 0);
    EXPECT_EQ(ParseSummary(Panel(1)).added, 1);
    EXPECT_EQ(Column(L"beach.jpg", 3), L"  800 x 600");

    // A replaced image is decoded again, and with "Cache Images" off its thumbnail is left alone.
    f.SetChkUseCache(BST_UNCHECKED);
    ASSERT_TRUE(WriteFlat(a + L"\\beach.jpg", 640, 480, 0x00D000));
    f.LoadFolder(a, true);
    EXPECT_EQ(ParseSummary(Panel(1)).hits, 0);
    EXPECT_EQ(ParseSummary(Panel(1)).added, 0);
    EXPECT_EQ(Column(L"beach.jpg", 3), L"  640 x 480");
    EXPECT_NEAR(Green(Cell(L"beach.jpg").Pixel(56, 46)), 0xD0, 8);
    f.SetChkUseCache(BST_CHECKED);
    f.LoadFolder(a, true);
    EXPECT_EQ(ParseSummary(Panel(1)).added, 1);
    f.LoadFolder(a, true);
    EXPECT_EQ(ParseSummary(Panel(1)).hits, 1);
    EXPECT_EQ(Column(L"beach.jpg", 3), L"  640 x 480");

    // A section written before the image's size and time were recorded is trusted.
    ASSERT_TRUE(WritePrivateProfileStringW(L"beach.jpg", L"FileSize", nullptr, ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(L"beach.jpg", L"FileTime", nullptr, ini.c_str()));
    ASSERT_TRUE(WriteFlat(a + L"\\beach.jpg", 800, 600, 0xD00000));
    f.LoadFolder(a, true);
    EXPECT_EQ(ParseSummary(Panel(1)).hits, 1);
    EXPECT_EQ(Column(L"beach.jpg", 3), L"  640 x 480");
}

TEST_F(CatalogLoad, SizesAndCacheTotalsBeyondFourGigabytes) {
    TempDir dir(L"catbig");
    Track(dir.path());
    const std::uint64_t fiveGb = 5ull << 30;
    ASSERT_TRUE(SetFileLength(dir / L"huge.bmp", fiveGb));
    ASSERT_TRUE(WriteFlat(dir / L"photo.jpg", 800, 600, 0x808080));
    frmMain& f = Start();
    f.LoadFolder(dir.path(), true);
    const wchar_t sep = UserNumberFormat().group;
    EXPECT_EQ(Column(L"huge.bmp", 1), std::wstring(L"5") + sep + L"368" + sep + L"709" + sep + L"120");
    EXPECT_EQ(Column(L"huge.bmp", 3), L"    0 x 0");

    // A 5 GB file in the folder's cache counts with its whole size.
    ASSERT_TRUE(SetFileLength(CacheDir(dir.path()) + L"\\leftover.tmp", fiveGb));
    f.UpdateCacheStatus();
    static const std::wregex totals(L"Cache: (\\d+) Dirs, (\\d+) Files, (\\d+)[.,]\\d Mb");
    std::wsmatch m;
    const std::wstring text = Panel(3);
    ASSERT_TRUE(std::regex_match(text, m, totals)) << Narrow(text);
    EXPECT_GE(std::stoi(m[3].str()), 5120);
    EXPECT_LT(std::stoi(m[3].str()), 5200);
}

TEST_F(CatalogLoad, ReducedCheckerboardComesOutGrey) {
    TempDir dir(L"catcheck");
    Track(dir.path());
    ASSERT_TRUE(
        WriteImage(dir / L"checks.png", 800, 600, [](int x, int y) { return (x + y) % 2 ? 0xFFFFFFu : 0u; }));
    frmMain& f = Start();
    for (int pass = 0; pass < 2; ++pass) { // decoded, then from the cached thumbnail
        SCOPED_TRACE(pass);
        f.LoadFolder(dir.path(), true);
        EXPECT_EQ(ParseSummary(Panel(1)).hits, pass);
        Surface cell = Cell(L"checks.png");
        ASSERT_FALSE(cell.empty());
        for (int y = 10; y < 80; y += 7)
            for (int x = 10; x < 100; x += 9) {
                const std::uint32_t p = cell.Pixel(x, y);
                ASSERT_NEAR(Red(p), 128, 12) << x << "," << y;
                ASSERT_NEAR(Green(p), 128, 12) << x << "," << y;
            }
    }
}

namespace {

// Our own reference: the full decode, area-averaged to the reduced size.
std::vector<std::uint32_t> FullDecodeReduced(const std::wstring& path, int width, int height) {
    JpegDecoder decoder;
    DecodedImage full;
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height);
    if (!decoder.Decode(path, INT_MAX, INT_MAX, full))
        return {};
    ScaleScratch scratch;
    const ConstPixelView source(full.pixels, full.width, full.height, full.width);
    ScalePixels(source, WholeOf(source), PixelView{out.data(), width, height, width},
                ScaleRect{0, 0, width, height}, ScaleFilter::AreaAverage, scratch);
    return out;
}

double MeanAbsDiff(const std::vector<std::uint32_t>& a, const Surface& b, int width, int height) {
    double sum = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int shift : {0, 8, 16})
                sum +=
                    std::abs(static_cast<int>((a[static_cast<std::size_t>(y) * width + x] >> shift) & 0xFF) -
                             static_cast<int>((b.Pixel(x, y) >> shift) & 0xFF));
    return sum / (3.0 * width * height);
}

} // namespace

TEST(ReducedImage, ScaledDecodeLooksLikeAReducedFullDecode) {
    TempDir dir(L"catreduce");
    // Smooth shapes, ramps and fine noise, as photographs have; a picture shifted by part of a
    // pixel shows at the ramps' edges.
    auto photo = [](int x, int y) {
        const unsigned hash =
            (static_cast<unsigned>(x / 2) * 73856093u) ^ (static_cast<unsigned>(y / 2) * 19349663u);
        const int noise = static_cast<int>((hash >> 9) % 17) - 8;
        const int r = 128 + static_cast<int>(90 * std::sin(x * 0.031) * std::cos(y * 0.017)) + noise;
        const int g = 40 + (x * 3 + y * 2) % 176 + noise / 2;
        const int b = 96 + static_cast<int>(60 * std::sin((x + 2 * y) * 0.011)) - noise;
        return static_cast<std::uint32_t>(r << 16 | g << 8 | b);
    };
    struct Case {
        int w, h, divisor, reducedW, reducedH;
    };
    // 1001 x 751 and 1003 x 750 decode at 1/4 into pixels of which the last ones are partly
    // padding.
    for (const Case& c :
         {Case{1600, 1200, 8, 200, 150}, Case{1001, 751, 5, 200, 150}, Case{1003, 750, 5, 201, 150},
          Case{640, 480, 3, 213, 160}, Case{300, 200, 1, 300, 200}}) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        const std::wstring path = dir / (std::to_wstring(c.w) + L"x" + std::to_wstring(c.h) + L".jpg");
        ASSERT_TRUE(WriteImage(path, c.w, c.h, photo));
        ImageReducer reducer;
        Surface target;
        ReducedImage reduced;
        DecodeTimes times;
        ASSERT_TRUE(reducer.Reduce(path, target, reduced, times));
        EXPECT_EQ(reduced.fullWidth, c.w);
        EXPECT_EQ(reduced.divisor, c.divisor);
        EXPECT_EQ(reduced.width, c.reducedW);
        EXPECT_EQ(reduced.height, c.reducedH);
        const auto reference = FullDecodeReduced(path, c.reducedW, c.reducedH);
        ASSERT_FALSE(reference.empty());
        EXPECT_LT(MeanAbsDiff(reference, target, c.reducedW, c.reducedH), 2.0);
        EXPECT_GT(times.decode, 0);
    }
}
