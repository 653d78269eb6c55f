// The thumbnail cache's own operations: reading the cache file's numbers, the cache totals,
// emptying and removing a folder's cache, and writing into a cache root that went missing.
#include "platform/AppInfo.h"
#include "test_catalog_support.h"

using namespace tessary;
using namespace wintest;

namespace {

// Runs a test on an empty cache root of its own: the shared one is moved aside and put back.
class CatalogCache : public CatalogTest {
protected:
    void SetUp() override {
        CatalogTest::SetUp();
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
        CatalogTest::TearDown();
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

TEST_F(CatalogCache, NumbersComeBackAsTheProfileReadsThem) {
    TempDir dir(L"catini");
    const std::wstring ini = dir / L"Test.cache";
    ASSERT_TRUE(WriteTextFile(
        ini, "[pic.jpg]\r\nWidth=640px\r\nHeight=abc\r\nFileSize=\r\n[other.png]\r\nwidth=12\r\n"));
    const CacheSection section = CacheSection::Read(ini, L"pic.jpg");
    struct Case {
        const wchar_t* key;
        std::int32_t defaultValue;
        bool found;
        std::int32_t value;
    };
    for (const Case& c :
         {Case{L"Width", 0, true, 640}, Case{L"Height", 0, true, 0}, Case{L"Missing", 0, true, 0},
          Case{L"Missing", 7, true, 7}, Case{L"FileSize", 5, false, 5}}) {
        SCOPED_TRACE(Narrow(c.key));
        const IniNumber byKey = ReadIniValue(L"pic.jpg", c.key, c.defaultValue, ini);
        EXPECT_EQ(byKey.found, c.found);
        EXPECT_EQ(byKey.value, c.value);
        const IniNumber bySection = section.Value(c.key, c.defaultValue);
        EXPECT_EQ(bySection.found, byKey.found);
        EXPECT_EQ(bySection.value, byKey.value);
    }
    // Key names ignore case; sections do not mix.
    EXPECT_EQ(CacheSection::Read(ini, L"other.png").Value(L"Width", 0).value, 12);
    EXPECT_EQ(ReadIniValue(L"other.png", L"Width", 0, ini).value, 12);
    EXPECT_FALSE(CacheSection::Read(ini, L"other.png").Text(L"Height"));
    EXPECT_EQ(ReadIniValue(L"gone.jpg", L"Width", 3, ini).value, 3);
    EXPECT_EQ(CacheSection::Read(ini, L"gone.jpg").Value(L"Width", 3).value, 3);
}

TEST_F(CatalogCache, TotalsClearingAndDeleting) {
    frmMain& f = Start();
    f.UpdateCacheStatus();
    EXPECT_EQ(Panel(3), L"Cache: 1 Dirs, 0 Files, 0.0 Mb");

    TempDir dir(L"catmaint");
    Track(dir.path());
    ASSERT_TRUE(WriteFlat(dir / L"a.jpg", 800, 600, 0x203040));
    ASSERT_TRUE(WriteFlat(dir / L"b.png", 640, 480, 0x405060));
    // Directories whose names begin with "." are not counted.
    ASSERT_TRUE(CreateDirectoryW((root_ + L"\\.hidden").c_str(), nullptr));
    ASSERT_TRUE(WriteTextFile(root_ + L"\\.hidden\\x.jpg", "x"));
    f.LoadFolder(dir.path(), true);
    EXPECT_EQ(Panel(3), L"Cache: 2 Dirs, 3 Files, 0.0 Mb");

    const std::wstring folderCache = CacheDir(dir.path());
    ClearFolderCache(dir.path());
    EXPECT_TRUE(Exists(folderCache));
    f.UpdateCacheStatus();
    EXPECT_EQ(Panel(3), L"Cache: 2 Dirs, 0 Files, 0.0 Mb");
    // The next load fills it again.
    f.LoadFolder(dir.path(), true);
    EXPECT_EQ(ParseSummary(Panel(1)).added, 2);

    DeleteFolderCache(dir.path());
    EXPECT_FALSE(Exists(folderCache));
    f.UpdateCacheStatus();
    EXPECT_EQ(Panel(3), L"Cache: 1 Dirs, 0 Files, 0.0 Mb");
    // The thumbnails shown stay as they were.
    EXPECT_EQ(Names().size(), 2u);

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
    TempDir dir(L"catlegacy");
    Track(dir.path());
    ASSERT_TRUE(WriteFlat(dir / L"old.jpg", 800, 600, 0x203040));
    const std::wstring legacy = root_ + L"\\" + LastPathComponent(dir.path());
    ASSERT_TRUE(CreateDirectoryW(legacy.c_str(), nullptr));
    ASSERT_TRUE(WriteFlat(legacy + L"\\old.jpg", 200, 150, 0x203040));
    ASSERT_TRUE(
        WriteTextFile(CacheFilePath(legacy, ExeBaseName()), "[old.jpg]\r\nWidth=800\r\nHeight=600\r\n"));
    frmMain& f = Start();
    f.LoadFolder(dir.path(), true);
    EXPECT_EQ(ParseSummary(Panel(1)).hits, 1);
    EXPECT_EQ(Column(L"old.jpg", 3), L"  800 x 600");
    EXPECT_FALSE(Exists(legacy));
    EXPECT_TRUE(Exists(CacheDir(dir.path()) + L"\\old.jpg"));
}

TEST_F(CatalogCache, MissingCacheRootIsMadeAgainWhenWriting) {
    TempDir dir(L"catroot");
    Track(dir.path());
    ASSERT_TRUE(WriteFlat(dir / L"photo.jpg", 800, 600, 0x605040));
    frmMain& f = Start();
    SetCurrentDirectoryW(ProgramFolder().c_str());
    RemoveTree(root_);
    ASSERT_FALSE(Exists(root_));
    f.LoadFolder(dir.path(), true);
    EXPECT_EQ(ParseSummary(Panel(1)).added, 1);
    EXPECT_TRUE(FileExists(CacheDir(dir.path()) + L"\\photo.jpg"));
    f.LoadFolder(dir.path(), true);
    EXPECT_EQ(ParseSummary(Panel(1)).hits, 1);
    EXPECT_EQ(Column(L"photo.jpg", 3), L"  800 x 600");
}
