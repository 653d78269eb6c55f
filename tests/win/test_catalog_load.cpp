// Loading a folder through the real main window: which files are listed and how, the cell
// pictures, the status bar, the thumbnail cache and its own operations, files that are not what
// they claim, the sort orders, the two list modes, the thumbnail-size slider, and stopping or
// re-entering a running load.
#include "catalog/CacheIni.h"
#include "catalog/CatalogText.h"
#include "catalog/ReducedImage.h"
#include "catalog/ThumbnailCache.h"
#include "imaging/JpegCodec.h"
#include "platform/AppInfo.h"
#include "platform/Controls.h"
#include "platform/Locale.h"
#include "support/MainWindow.h"
#include <climits>
#include <cmath>
#include <regex>

using namespace tessary;
using namespace wintest;

namespace {

class CatalogLoad : public MainWindowTest {
protected:
    // Loads the folder again, forced, and returns its summary.
    Summary Reload(const std::wstring& folder) {
        form().LoadFolder(folder, true);
        return ParseSummary(Panel(1));
    }
    // The centre of an entry's picture area as 0xRRGGBB.
    std::uint32_t Centre(const std::wstring& name) { return Cell(name).Pixel(56, 46) & 0xFFFFFF; }
    TempDir dir_{L"catload"};
};

// ThumbSize 100 on the tests' 1280 x 1024 screen: the picture area is 100 x 80 at (6, 6), the
// caption below it.
const RECT kCaptionBand{6, 86, 106, 100};

bool IsFace(std::uint32_t p) {
    return (p & 0xFFFFFF) == Rgb(GetSysColor(COLOR_BTNFACE));
}

std::wstring DateTextOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA d{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &d);
    FILETIME local;
    FileTimeToLocalFileTime(&d.ftLastWriteTime, &local);
    SYSTEMTIME st;
    FileTimeToSystemTime(&local, &st);
    return ShortDateText(st) + L" " + LongTimeText(st);
}

// Sets the last-write time to 1 June of the year, at noon UTC.
bool SetWriteYear(const std::wstring& path, int year) {
    const SYSTEMTIME st{static_cast<WORD>(year), 6, 0, 1, 12, 0, 0, 0};
    FILETIME ft;
    UniqueFile f(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    return SystemTimeToFileTime(&st, &ft) && f && SetFileTime(f.get(), nullptr, nullptr, &ft);
}

void MakeSmallImages(const std::wstring& folder, int count) {
    for (int i = 0; i < count; ++i)
        ASSERT_TRUE(WriteFlat(folder + L"\\img" + std::to_wstring(100 + i) + L".png", 40, 30, 0x707070));
}

// Runs a test on an empty cache root of its own: the shared one is moved aside and put back.
class CatalogCache : public CatalogLoad {
protected:
    void SetUp() override {
        CatalogLoad::SetUp();
        // Removing the cache root sets the process's current directory there; a current
        // directory cannot be moved or removed.
        SetCurrentDirectoryW(ProgramFolder().c_str());
        root_ = CacheRoot(DataFolder());
        root_.pop_back(); // no trailing backslash, for the moves
        aside_ = root_ + L".aside" + std::to_wstring(GetCurrentProcessId());
        moved_ = MoveFileW(root_.c_str(), aside_.c_str()) != FALSE;
        ASSERT_TRUE(CreateDirectoryW(root_.c_str(), nullptr));
    }
    void TearDown() override {
        CatalogLoad::TearDown();
        SetCurrentDirectoryW(ProgramFolder().c_str());
        RemoveTree(root_);
        if (moved_)
            MoveFileW(aside_.c_str(), root_.c_str());
    }
    bool Exists(const std::wstring& path) {
        return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::wstring root_, aside_;
    bool moved_ = false;
};

} // namespace

TEST_F(CatalogLoad, ListsImagesByTheirNamesWithColumnsCellsAndStatus) {
    ASSERT_TRUE(WriteFlat(dir_ / L"a.JPG", 1280, 1024, 0xE00000)); // the screen's size
    ASSERT_TRUE(WriteFlat(dir_ / L"b.jpeg2", 800, 600, 0x00E000));
    ASSERT_TRUE(WriteFlat(dir_ / L"c.png", 640, 512, 0x0000E0)); // the screen's aspect
    ASSERT_TRUE(WriteFlat(dir_ / L"f.bmp", 300, 200, 0xE0E000));
    ASSERT_TRUE(WriteTextFile(dir_ / L"d.txt", "text"));
    ASSERT_TRUE(CreateDirectoryW((dir_ / L"e.jpg").c_str(), nullptr));
    Start();
    OpenFolder(dir_.path());
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"a.JPG", L"c.png", L"f.bmp"}));
    // Columns: padded size in the locale's digits, local date and time, padded resolution.
    const std::wstring size = Column(L"f.bmp", 1);
    EXPECT_EQ(size.size(), 10u);
    EXPECT_EQ(std::stoull(std::regex_replace(size, std::wregex(L"[^0-9]"), L"")),
              FileLength(dir_ / L"f.bmp"));
    EXPECT_EQ(Column(L"f.bmp", 2), DateTextOf(dir_ / L"f.bmp"));
    EXPECT_EQ(Column(L"a.JPG", 3), L" 1280 x 1024");
    EXPECT_EQ(Column(L"f.bmp", 3), L"  300 x 200");

    // Cells: the picture in the middle; captions dark blue (the screen's size), dark green (its
    // aspect), black.
    const std::uint32_t blue = 0x000096, green = 0x009600;
    EXPECT_GT(CountColour(Cell(L"a.JPG"), kCaptionBand, blue), 5);
    EXPECT_GT(CountColour(Cell(L"c.png"), kCaptionBand, green), 5);
    EXPECT_GT(CountColour(Cell(L"f.bmp"), kCaptionBand, 0x000000), 5);
    EXPECT_TRUE(Near(Centre(L"a.JPG"), 0xE00000, 6));
    EXPECT_TRUE(Near(Centre(L"c.png"), 0x0000E0, 6));
    // a.JPG fills the area; f.bmp is fitted to 100 x 67 and centred, so the area's top shows the face.
    EXPECT_FALSE(IsFace(Cell(L"a.JPG").Pixel(6, 6)));
    EXPECT_TRUE(IsFace(Cell(L"f.bmp").Pixel(56, 6)));
    EXPECT_FALSE(IsFace(Cell(L"f.bmp").Pixel(56, 14)));

    // Two images were large enough to cache: two thumbnails and the cache file.
    Summary s = ParseSummary(Panel(1));
    ASSERT_TRUE(s.matched) << Narrow(Panel(1));
    EXPECT_EQ(s.loaded, 3);
    EXPECT_EQ(s.added, 2);
    EXPECT_EQ(Panel(2), L"Dir: 3 images, 0 selected");
    EXPECT_EQ(FileNamesIn(CacheDir(dir_.path())).size(), 3u);

    // F5 (seen by the window before its control) loads it again from the cache, looking the same.
    PostMessageW(List().hwnd(), WM_KEYDOWN, VK_F5, 0);
    Pump(50);
    s = ParseSummary(Panel(1));
    EXPECT_EQ(s.hits, 2);
    EXPECT_EQ(s.added, 0);
    EXPECT_EQ(Column(L"a.JPG", 3), L" 1280 x 1024");
    EXPECT_GT(CountColour(Cell(L"a.JPG"), kCaptionBand, blue), 5);
}

TEST_F(CatalogLoad, OnlyAForcedLoadRebuildsTheFolderShown) {
    ASSERT_TRUE(WriteFlat(dir_ / L"one.png", 64, 48, 0x808080));
    ASSERT_TRUE(WriteFlat(dir_ / L"two.png", 64, 48, 0x808080));
    frmMain& f = Start();
    OpenFolder(dir_.path());
    ASSERT_TRUE(DeleteFileW((dir_ / L"two.png").c_str()));
    f.LoadFolder(dir_.path(), false);
    ASSERT_TRUE(Probe::Tree(f).SelectFolder(dir_.path())); // passes no force either
    EXPECT_EQ(Names().size(), 2u);
    Reload(dir_.path());
    EXPECT_EQ(Names(), std::vector<std::wstring>{L"one.png"});
    // Small images are never cached.
    EXPECT_EQ(GetFileAttributesW(CacheDir(dir_.path()).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CatalogLoad, FilesThatAreNoPicturesAreListedAsNothing) {
    ASSERT_TRUE(WriteTextFile(dir_ / L"empty.jpg", ""));
    ASSERT_TRUE(WriteTextFile(dir_ / L"text.jpg", "This is not a picture.\r\n"));
    ASSERT_TRUE(WriteFlat(dir_ / L"whole.jpg", 800, 600, 0x3060A0));
    const std::string whole = ReadBytes(dir_ / L"whole.jpg");
    ASSERT_TRUE(WriteTextFile(dir_ / L"truncated.jpg", whole.substr(0, whole.size() / 2)));
    // All the picture data, only the end-of-image marker missing: shown.
    ASSERT_TRUE(WriteTextFile(dir_ / L"no end.jpg", whole.substr(0, whole.size() - 2)));
    ASSERT_TRUE(DeleteFileW((dir_ / L"whole.jpg").c_str()));
    // A header libjpeg-turbo rejects (a 0 x 0 frame), then good JPEGs in the same load.
    ASSERT_TRUE(WriteTextFile(dir_ / L"0x0 frame.jpg",
                              std::string("\xFF\xD8\xFF\xC0\0\x0B\x08\0\0\0\0\x01\x01\x11\0\xFF\xD9", 17)));
    for (const wchar_t* good : {L"good 1.jpg", L"good 2.jpg", L"good 3.jpg"})
        ASSERT_TRUE(WriteFlat(dir_ / good, 300, 200, 0xC08040));
    // An RLE8 bitmap of 4 x 3 whose data ends after its first row.
    std::string rle(54, '\0');
    rle[0] = 'B', rle[1] = 'M', rle[10] = 54, rle[14] = 40, rle[18] = 4, rle[22] = 3, rle[26] = 1;
    rle[28] = 8, rle[30] = 1;
    rle += std::string("\x04\0\0\0", 4);
    ASSERT_TRUE(WriteTextFile(dir_ / L"rows missing.bmp", rle));
    // Headers claiming 30000 x 30000 pixels.
    ASSERT_TRUE(WriteTextFile(dir_ / L"huge.jpg", JpegClaiming(30000, 30000)));
    ASSERT_TRUE(WriteTextFile(dir_ / L"huge.png", PngClaiming(30000, 30000)));
    Start();
    const std::uint64_t peakBefore = PeakMemory();
    const Summary s = Reload(Track(dir_.path()));
    EXPECT_LT(PeakMemory(), peakBefore + (300u << 20));
    EXPECT_EQ(s.loaded, 11);
    for (const wchar_t* name :
         {L"empty.jpg", L"text.jpg", L"truncated.jpg", L"huge.png", L"0x0 frame.jpg", L"rows missing.bmp"}) {
        SCOPED_TRACE(Narrow(name));
        EXPECT_EQ(Column(name, 3), L"    0 x 0");
        // An empty picture area: the face colour inside a 4 x 4 sunken frame at the middle.
        const Surface cell = Cell(name);
        EXPECT_TRUE(IsFace(cell.Pixel(30, 46)));
        EXPECT_EQ(cell.Pixel(54, 44) & 0xFFFFFF, Rgb(GetSysColor(COLOR_BTNSHADOW)));
        EXPECT_EQ(cell.Pixel(57, 47) & 0xFFFFFF, Rgb(GetSysColor(COLOR_BTNHIGHLIGHT)));
    }
    // The huge JPEG is damaged past its header: nothing or its claimed size, never a crash.
    const std::wstring huge = Column(L"huge.jpg", 3);
    EXPECT_TRUE(huge == L"    0 x 0" || huge == L"30000 x 30000") << Narrow(huge);
    EXPECT_EQ(Column(L"no end.jpg", 3), L"  800 x 600");
    for (const wchar_t* good : {L"good 1.jpg", L"good 2.jpg", L"good 3.jpg"})
        EXPECT_EQ(Column(good, 3), L"  300 x 200") << Narrow(good);
    // Only the real picture large enough was cached: its thumbnail and the cache file.
    EXPECT_EQ(s.added, 1);
    EXPECT_EQ(FileNamesIn(CacheDir(dir_.path())).size(), 2u);
}

// What a load shows and writes: every entry's texts and cell, the summary's counts, and every file
// of the folder's cache.
struct LoadResult {
    std::vector<std::vector<std::wstring>> entries;
    std::vector<std::vector<std::uint32_t>> cells;
    int loaded = 0, hits = 0, added = 0;
    std::vector<std::pair<std::wstring, std::string>> cacheFiles;
    bool operator==(const LoadResult&) const = default;
};

TEST_F(CatalogLoad, WorkersChangeNothingThatIsShownOrWritten) {
    // Photos to reduce and cache, small ones that are not cached, transparency, a damaged file,
    // a file that is no picture, and more than a checkpoint's worth of them.
    for (int i = 0; i < 34; ++i)
        ASSERT_TRUE(WriteImage(
            dir_ / (L"p" + std::to_wstring(i) + (i % 3 ? L".jpg" : L".png")), 500 + 37 * i, 400 + 11 * i,
            [i](int x, int y) { return static_cast<std::uint32_t>((x * (i + 1)) ^ (y << 8) ^ (i << 16)); }));
    ASSERT_TRUE(WriteFlat(dir_ / L"small.gif", 120, 90, 0x30C060));
    ASSERT_TRUE(WriteTextFile(dir_ / L"text.jpg", "not a picture"));
    const std::string bytes = ReadBytes(dir_ / L"p1.jpg");
    ASSERT_TRUE(WriteTextFile(dir_ / L"cut.jpg", bytes.substr(0, bytes.size() / 2)));

    frmMain& f = Start();
    const std::wstring folder = Track(dir_.path()), cache = CacheDir(folder);
    auto load = [&](int workers, bool cold) {
        if (cold)
            DeleteFolderCache(folder);
        Probe::Catalog(f).SetLoadWorkers(workers);
        const Summary s = Reload(folder);
        LoadResult r{{}, {}, s.loaded, s.hits, s.added, {}};
        auto list = List();
        for (int i = 0; i < list.Count(); ++i) {
            r.entries.push_back({list.Text(i), list.Text(i, 1), list.Text(i, 2), list.Text(i, 3)});
            const Surface cell = Cell(list.Text(i));
            r.cells.emplace_back(cell.bits(), cell.bits() + cell.width() * cell.height());
        }
        for (const std::wstring& name : FileNamesIn(cache))
            r.cacheFiles.emplace_back(name, ReadBytes(cache + L"\\" + name));
        return r;
    };
    // One worker: this thread prepares the small JPEGs beside it (with a core to spare).
    const LoadResult alone = load(0, true), threaded = load(1, true);
    EXPECT_EQ(alone.loaded, 37);
    EXPECT_EQ(alone.added, 34);
    EXPECT_EQ(alone.cacheFiles.size(), 35u); // the thumbnails and the cache file
    EXPECT_EQ(threaded.entries, alone.entries);
    EXPECT_TRUE(threaded == alone);
    // Read back by workers, the cache gives the same list again.
    const LoadResult warm = load(2, false);
    EXPECT_EQ(warm.hits, 34);
    EXPECT_EQ(warm.entries, alone.entries);
}

TEST_F(CatalogLoad, FolderDeletedDuringALoadEndsItCleanly) {
    const std::wstring dir = dir_ / L"photos";
    ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr));
    for (int i = 0; i < 40; ++i)
        ASSERT_TRUE(WriteFlat(dir + L"\\p" + std::to_wstring(i) + L".png", 40, 30, 0x404040));
    Start();
    // The first time the load lets messages run (waiting for a worker, or at a checkpoint).
    AtNextMessages([&] { RemoveTree(dir); });
    const int loaded = Reload(dir).loaded;
    EXPECT_EQ(GetFileAttributesW(dir.c_str()), INVALID_FILE_ATTRIBUTES);
    // The files taken before it went are listed (a worker may have read a few more), the rest not.
    const std::size_t listed = Names().size();
    EXPECT_GT(listed, 0u);
    EXPECT_LT(listed, 40u);
    EXPECT_EQ(loaded, static_cast<int>(listed));
    EXPECT_EQ(Panel(2), L"Dir: " + std::to_wstring(listed) + L" images, 0 selected");
    EXPECT_FALSE(State().load.LoadBusy);
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
    ASSERT_TRUE(Probe::Tree(form()).SelectFolder(dir));
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
    ASSERT_TRUE(WriteFlat(dir_ / L"big1.jpg", 800, 600, 0xA04020));
    ASSERT_TRUE(WriteFlat(dir_ / L"big2.png", 640, 480, 0x2040A0));
    // A read-only file stands where the folder's cache directory would be made.
    const std::wstring blocker = CacheDir(Track(dir_.path()));
    ASSERT_TRUE(WriteTextFile(blocker, "in the way"));
    SetFileAttributesW(blocker.c_str(), FILE_ATTRIBUTE_READONLY);
    Start();
    const Summary s = Reload(dir_.path());
    SetFileAttributesW(blocker.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(blocker.c_str());
    EXPECT_EQ(Column(L"big1.jpg", 3), L"  800 x 600");
    EXPECT_TRUE(Near(Centre(L"big1.jpg"), 0xA04020, 6));
    EXPECT_TRUE(Near(Centre(L"big2.png"), 0x2040A0, 6));
    EXPECT_EQ(s.loaded, 2);
    EXPECT_EQ(Panel(1).find(L"added"), std::wstring::npos); // nothing was written, nothing is counted
}

TEST_F(CatalogLoad, AnyFileNameKeepsItsCachedSize) {
    const std::wstring unicode = L"\u00DCn\u00EFc\u00F8d\u00E9 \u6771\u4EAC.jpg", syntax = L"a[1]=b;c.jpg",
                       blanks = L" padded .png";
    ASSERT_TRUE(WriteFlat(dir_ / unicode, 800, 600, 0x808000));
    ASSERT_TRUE(WriteFlat(dir_ / syntax, 640, 480, 0x008080));
    ASSERT_TRUE(WriteFlat(dir_ / blanks, 1024, 768, 0x800080));
    // So long that the thumbnail's path passes MAX_PATH.
    const std::wstring longName = std::wstring(246, L'l') + L".jpg";
    ASSERT_TRUE(WriteFlat(dir_ / L"short.jpg", 400, 300, 0x008000));
    ASSERT_TRUE(MoveFileW((dir_ / L"short.jpg").c_str(), (L"\\\\?\\" + (dir_ / longName)).c_str()));
    Start();
    EXPECT_EQ(Reload(Track(dir_.path())).added, 4);
    const Summary s = Reload(dir_.path());
    EXPECT_EQ(s.hits, 4);
    EXPECT_EQ(s.added, 0);
    EXPECT_EQ(Column(unicode, 3), L"  800 x 600");
    EXPECT_EQ(Column(syntax, 3), L"  640 x 480");
    EXPECT_EQ(Column(blanks, 3), L" 1024 x 768");
    EXPECT_EQ(Column(longName, 3), L"  400 x 300");
    EXPECT_TRUE(Near(Centre(unicode), 0x808000, 8));
}

TEST_F(CatalogLoad, CachedThumbnailBelongsToItsImage) {
    // Two folders with the same last name, holding copies of one file (same size and time).
    const std::wstring name = L"shared" + std::to_wstring(GetCurrentProcessId());
    const std::wstring a = dir_ / L"x", b = dir_ / L"y";
    for (const std::wstring& d : {a, b, a + L"\\" + name, b + L"\\" + name})
        ASSERT_TRUE(CreateDirectoryW(d.c_str(), nullptr));
    const std::wstring first = Track(a + L"\\" + name), second = Track(b + L"\\" + name);
    ASSERT_TRUE(WriteFlat(first + L"\\beach.jpg", 800, 600, 0xD00000));
    ASSERT_TRUE(CopyFileW((first + L"\\beach.jpg").c_str(), (second + L"\\beach.jpg").c_str(), FALSE));
    frmMain& f = Start();
    EXPECT_EQ(Reload(first).added, 1);
    const Summary other = Reload(second);
    EXPECT_EQ(other.hits, 0);
    EXPECT_EQ(other.added, 1);
    EXPECT_EQ(Reload(first).hits, 1);
    EXPECT_TRUE(Near(Centre(L"beach.jpg"), 0xD00000, 8));

    // A thumbnail whose section was lost is decoded and written again.
    const std::wstring ini = CacheFilePath(CacheDir(first), ExeBaseName());
    ASSERT_TRUE(WritePrivateProfileStringW(L"beach.jpg", nullptr, nullptr, ini.c_str()));
    const Summary lost = Reload(first);
    EXPECT_EQ(lost.hits, 0);
    EXPECT_EQ(lost.added, 1);
    EXPECT_EQ(Column(L"beach.jpg", 3), L"  800 x 600");

    // A replaced image is decoded again, and with "Cache Images" off its thumbnail is left alone.
    f.SetChkUseCache(BST_UNCHECKED);
    ASSERT_TRUE(WriteFlat(first + L"\\beach.jpg", 640, 480, 0x00D000));
    const Summary off = Reload(first);
    EXPECT_EQ(off.hits + off.added, 0);
    EXPECT_TRUE(Near(Centre(L"beach.jpg"), 0x00D000, 8));
    f.SetChkUseCache(BST_CHECKED);
    EXPECT_EQ(Reload(first).added, 1);

    // A section written before the image's size and time were recorded is trusted.
    ASSERT_TRUE(WritePrivateProfileStringW(L"beach.jpg", L"FileSize", nullptr, ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringW(L"beach.jpg", L"FileTime", nullptr, ini.c_str()));
    ASSERT_TRUE(WriteFlat(first + L"\\beach.jpg", 800, 600, 0xD00000));
    EXPECT_EQ(Reload(first).hits, 1);
    EXPECT_EQ(Column(L"beach.jpg", 3), L"  640 x 480");
}

TEST_F(CatalogLoad, SizesAndCacheTotalsBeyondFourGigabytes) {
    const std::uint64_t fiveGb = 5ull << 30;
    ASSERT_TRUE(SetFileLength(dir_ / L"huge.bmp", fiveGb));
    ASSERT_TRUE(WriteFlat(dir_ / L"photo.jpg", 800, 600, 0x808080));
    frmMain& f = Start();
    Reload(Track(dir_.path()));
    const wchar_t sep = UserNumberFormat().group;
    EXPECT_EQ(Column(L"huge.bmp", 1), std::wstring(L"5") + sep + L"368" + sep + L"709" + sep + L"120");
    // A 5 GB file in the folder's cache counts with its whole size.
    ASSERT_TRUE(SetFileLength(CacheDir(dir_.path()) + L"\\leftover.tmp", fiveGb));
    f.UpdateCacheStatus();
    std::wsmatch m;
    const std::wstring text = Panel(3);
    ASSERT_TRUE(std::regex_match(text, m, std::wregex(L"Cache: \\d+ Dirs, \\d+ Files, (\\d+)[.,]\\d Mb")));
    EXPECT_GE(std::stoi(m[1].str()), 5120);
    EXPECT_LT(std::stoi(m[1].str()), 5200);
}

TEST_F(CatalogLoad, SortOrdersCompareValuesNotTexts) {
    // Sizes past 100,000,000 bytes, dates before 9 September 2001 and heights of 1000 and more are
    // where comparing the padded texts would go wrong. PNG decoders stop at the image's end, so
    // zeros appended make a picture as long as wanted.
    struct File {
        const wchar_t* name;
        int h;
        std::uint64_t size;
        int year;
    };
    for (const File& f :
         {File{L"alpha.png", 480, 2'000'000, 1999}, File{L"Beta.png", 1000, 0, 2005},
          File{L"delta.png", 768, 123'456'789, 2010}, File{L"Epsilon.png", 240, 99'999'999, 2002}}) {
        ASSERT_TRUE(WriteFlat(dir_ / f.name, 64, f.h, 0x6080A0));
        ASSERT_TRUE(f.size == 0 || SetFileLength(dir_ / f.name, f.size));
        ASSERT_TRUE(SetWriteYear(dir_ / f.name, f.year));
    }
    WriteSetting(L"SortBy", L"3"); // the stored order applies to the first load
    frmMain& f = Start();
    OpenFolder(dir_.path());
    const std::vector<std::wstring> bySize = {L"Beta.png", L"alpha.png", L"Epsilon.png", L"delta.png"};
    EXPECT_EQ(Names(), std::vector<std::wstring>(bySize.rbegin(), bySize.rend()));
    f.SetCboSort(0);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"alpha.png", L"Beta.png", L"delta.png", L"Epsilon.png"}));
    f.SetCboSort(4);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"alpha.png", L"Epsilon.png", L"Beta.png", L"delta.png"}));
    f.SetCboSort(6);
    EXPECT_EQ(Names(), (std::vector<std::wstring>{L"Epsilon.png", L"alpha.png", L"delta.png", L"Beta.png"}));
    // Every load sorts again.
    f.SetCboSort(2);
    f.LoadFolder(dir_.path(), true);
    EXPECT_EQ(Names(), bySize);
}

TEST_F(CatalogLoad, ListModesSwitchViewLookAndTheSliderSnapsAndReloads) {
    ASSERT_TRUE(WriteFlat(dir_ / L"photo.jpg", 800, 600, 0x4080C0));
    frmMain& f = Start();
    OpenFolder(dir_.path());
    auto list = List();
    f.SetOptListMode(1);
    // The Filename column keeps its designed width for short names and grows for a long one.
    const auto nameWidth = [&] { return SendMessageW(list.hwnd(), LVM_GETCOLUMNWIDTH, 0, 0); };
    EXPECT_EQ(nameWidth(), 167);
    ASSERT_TRUE(WriteFlat(dir_ / (std::wstring(60, L'n') + L".png"), 64, 48, 0x808080));
    f.LoadFolder(dir_.path(), true);
    EXPECT_GT(nameWidth(), 300);
    EXPECT_EQ(list.GetView(), ListView::View::Report);
    EXPECT_EQ(list.BackColour(), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(list.TextColour(), RGB(0, 0, 0)); // the window colour is light
    EXPECT_FALSE(IsWindowVisible(Control(IDC_SLIDERTHUMBSIZE)));
    EXPECT_EQ(list.Text(0, 3), L"   64 x 48");

    f.SetOptListMode(0);
    EXPECT_EQ(list.GetView(), ListView::View::Icons);
    EXPECT_EQ(list.BackColour(), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(list.TextColour(), ChooseListTextColour(GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_TRUE(IsWindowVisible(Control(IDC_SLIDERTHUMBSIZE)));
    EXPECT_EQ(list.Count(), 2);

    HWND slider = Control(IDC_SLIDERTHUMBSIZE);
    // A drag that ends at 73.
    SendMessageW(slider, TBM_SETPOS, TRUE, 73);
    SendMessageW(f.hwnd(), WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 73), reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(TrackbarValue(slider), 70);
    // Reloaded (from the cache) with cells of 70 + 12 by 56 + 21 on the 5:4 screen.
    EXPECT_EQ(ParseSummary(Panel(1)).hits, 1);
    const Surface cell = Cell(L"photo.jpg");
    EXPECT_EQ(cell.width(), 82);
    EXPECT_EQ(cell.height(), 77);
    EXPECT_TRUE(Near(cell.Pixel(41, 34) & 0xFFFFFF, 0x4080C0, 8));

    // The same value again does nothing; the keyboard's step of 5 reloads at once.
    Probe::Status(f).SetPanelText(1, L"untouched");
    SendMessageW(f.hwnd(), WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(Panel(1), L"untouched");
    SendMessageW(slider, WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(Cell(L"photo.jpg").width(), 87);
}

TEST_F(CatalogLoad, LoadRequestedDuringALoadIsIgnored) {
    TempDir second(L"catother");
    MakeSmallImages(dir_.path(), 35);
    MakeSmallImages(second.path(), 3);
    frmMain& f = Start();
    bool busy = false;
    HCURSOR cursor = nullptr;
    std::wstring progress;
    std::vector<std::wstring> expected; // the status of the file being loaded, or of the one before
    std::size_t entries = 0;
    // Messages run at every checkpoint and whenever the load waits for a worker or has gone on
    // for a while, so the request may come at any file.
    AtNextMessages([&] {
        busy = State().load.LoadBusy;
        cursor = GetCursor();
        progress = Panel(1);
        f.LoadFolder(second.path(), true);
        entries = Names().size();
        const auto& files = Probe::Catalog(form()).FileList();
        for (std::size_t k : {entries, entries - 1})
            if (k < files.size())
                expected.push_back(LoadProgressStatus(static_cast<int>(k) + 1, 35, static_cast<int>(k),
                                                      LastPathComponent(files[k])));
    });
    f.LoadFolder(Track(dir_.path()), true);
    EXPECT_TRUE(busy);
    EXPECT_EQ(cursor, LoadCursorW(nullptr, IDC_WAIT));
    EXPECT_LT(entries, 35u);
    EXPECT_NE(std::find(expected.begin(), expected.end(), progress), expected.end()) << Narrow(progress);
    EXPECT_EQ(Names().size(), 35u);
    EXPECT_EQ(Panel(2), L"Dir: 35 images, 0 selected");
    // The refused request is not remembered: the other folder loads when asked again.
    f.LoadFolder(second.path(), false);
    EXPECT_EQ(Names().size(), 3u);
}

TEST_F(CatalogLoad, EscapeHeldAtACheckpointStopsTheLoad) {
    MakeSmallImages(dir_.path(), 45);
    frmMain& f = Start();
    // Pressed before the load, the key is seen the first time the load lets messages run: at the
    // first checkpoint (after the 30th file) at the latest.
    PostMessageW(List().hwnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    f.LoadFolder(Track(dir_.path()), true);
    const std::size_t listed = Names().size();
    EXPECT_LE(listed, 30u);
    EXPECT_EQ(ParseSummary(Panel(1)).loaded, static_cast<int>(listed));
    // The folder counts as shown: only a forced load reads it again, once the key is up.
    PostMessageW(List().hwnd(), WM_KEYUP, VK_ESCAPE, 0);
    Pump(20);
    f.LoadFolder(dir_.path(), false);
    EXPECT_EQ(Names().size(), listed);
    f.LoadFolder(dir_.path(), true);
    EXPECT_EQ(Names().size(), 45u);
}

TEST_F(CatalogCache, TotalsClearingAndDeleting) {
    frmMain& f = Start();
    f.UpdateCacheStatus();
    EXPECT_EQ(Panel(3), L"Cache: 1 Dirs, 0 Files, 0.0 Mb");
    ASSERT_TRUE(WriteFlat(dir_ / L"a.jpg", 800, 600, 0x203040));
    ASSERT_TRUE(WriteFlat(dir_ / L"b.png", 640, 480, 0x405060));
    // Directories whose names begin with "." are not counted.
    ASSERT_TRUE(CreateDirectoryW((root_ + L"\\.hidden").c_str(), nullptr));
    ASSERT_TRUE(WriteTextFile(root_ + L"\\.hidden\\x.jpg", "x"));
    OpenFolder(dir_.path());
    EXPECT_EQ(Panel(3), L"Cache: 2 Dirs, 3 Files, 0.0 Mb");

    const std::wstring folderCache = CacheDir(dir_.path());
    ClearFolderCache(dir_.path());
    EXPECT_TRUE(Exists(folderCache));
    f.UpdateCacheStatus();
    EXPECT_EQ(Panel(3), L"Cache: 2 Dirs, 0 Files, 0.0 Mb");
    // The next load fills it again.
    f.LoadFolder(dir_.path(), true);
    EXPECT_EQ(ParseSummary(Panel(1)).added, 2);
    DeleteFolderCache(dir_.path());
    EXPECT_FALSE(Exists(folderCache));
    EXPECT_EQ(Names().size(), 2u); // the thumbnails shown stay as they were

    // Whatever a folder path holds, only a directory inside the cache root is touched.
    ASSERT_TRUE(WriteTextFile(root_ + L"\\stray.jpg", "x"));
    for (const wchar_t* odd : {L"", L"..", L"a\\..\\..", L"C:..", L"C:\\"}) {
        ClearFolderCache(odd);
        DeleteFolderCache(odd);
    }
    EXPECT_TRUE(Exists(root_ + L"\\stray.jpg"));
    EXPECT_TRUE(Exists(root_ + L"\\.hidden\\x.jpg"));
}

TEST_F(CatalogCache, ACacheOfAnEarlierVersionIsTakenOverByTheFirstFolderOfItsName) {
    // Earlier versions kept the cache under the folder's last name alone, without stamps.
    ASSERT_TRUE(WriteFlat(dir_ / L"old.jpg", 800, 600, 0x203040));
    const std::wstring legacy = root_ + L"\\" + LastPathComponent(dir_.path());
    ASSERT_TRUE(CreateDirectoryW(legacy.c_str(), nullptr));
    ASSERT_TRUE(WriteFlat(legacy + L"\\old.jpg", 200, 150, 0x203040));
    ASSERT_TRUE(
        WriteTextFile(CacheFilePath(legacy, ExeBaseName()), "[old.jpg]\r\nWidth=800\r\nHeight=600\r\n"));
    Start();
    OpenFolder(dir_.path());
    EXPECT_EQ(ParseSummary(Panel(1)).hits, 1);
    EXPECT_EQ(Column(L"old.jpg", 3), L"  800 x 600");
    EXPECT_FALSE(Exists(legacy));
    EXPECT_TRUE(Exists(CacheDir(dir_.path()) + L"\\old.jpg"));
}

TEST_F(CatalogCache, MissingCacheRootIsMadeAgainWhenWriting) {
    ASSERT_TRUE(WriteFlat(dir_ / L"photo.jpg", 800, 600, 0x605040));
    frmMain& f = Start();
    RemoveTree(root_);
    ASSERT_FALSE(Exists(root_));
    f.LoadFolder(Track(dir_.path()), true);
    EXPECT_EQ(ParseSummary(Panel(1)).added, 1);
    f.LoadFolder(dir_.path(), true);
    EXPECT_EQ(ParseSummary(Panel(1)).hits, 1);
    EXPECT_EQ(Column(L"photo.jpg", 3), L"  800 x 600");
}

TEST(ReducedImage, ScaledDecodeLooksLikeAReducedFullDecode) {
    TempDir dir(L"catreduce");
    struct Case {
        int w, h, divisor, reducedW, reducedH;
    };
    // 1003 x 750 decodes at 1/4 into pixels of which the last ones are partly padding.
    for (const Case& c :
         {Case{1600, 1200, 8, 200, 150}, Case{1003, 750, 5, 201, 150}, Case{300, 200, 1, 300, 200}}) {
        SCOPED_TRACE(c.w);
        const std::wstring path = dir / (std::to_wstring(c.w) + L".jpg");
        ASSERT_TRUE(WriteImage(path, c.w, c.h, PhotoLike));
        ImageReducer reducer;
        Surface target;
        ReducedImage reduced;
        DecodeTimes times;
        ASSERT_TRUE(reducer.Reduce(path, target, reduced, times));
        EXPECT_EQ(reduced.divisor, c.divisor);
        EXPECT_EQ(reduced.width, c.reducedW);
        EXPECT_EQ(reduced.height, c.reducedH);
        // Our own reference: the full decode, area-averaged to the reduced size.
        JpegDecoder decoder;
        DecodedImage full;
        ASSERT_TRUE(decoder.Decode(path, INT_MAX, INT_MAX, full));
        std::vector<std::uint32_t> want(static_cast<std::size_t>(c.reducedW) * c.reducedH);
        ScaleScratch scratch;
        const ConstPixelView source(full.pixels, full.width, full.height, full.width);
        ScalePixels(source, WholeOf(source), PixelView{want.data(), c.reducedW, c.reducedH, c.reducedW},
                    ScaleRect{0, 0, c.reducedW, c.reducedH}, ScaleFilter::AreaAverage, scratch);
        double sum = 0;
        for (int y = 0; y < c.reducedH; ++y)
            for (int x = 0; x < c.reducedW; ++x)
                for (int shift : {8, 16})
                    sum +=
                        std::abs(static_cast<int>(
                                     (want[static_cast<std::size_t>(y) * c.reducedW + x] >> shift) & 0xFF) -
                                 static_cast<int>((target.Pixel(x, y) >> shift) & 0xFF));
        EXPECT_LT(sum / (2.0 * c.reducedW * c.reducedH), 2.0);
    }
}
