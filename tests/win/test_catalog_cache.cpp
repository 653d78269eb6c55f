// The thumbnail cache's own operations: the cache totals, emptying and removing a folder's cache,
// taking over an earlier version's cache, and writing into a cache root that went missing.
#include "catalog/CacheIni.h"
#include "catalog/CatalogText.h"
#include "catalog/ThumbnailCache.h"
#include "platform/AppInfo.h"
#include "support/MainWindow.h"

using namespace tessary;
using namespace wintest;

namespace {

// Runs a test on an empty cache root of its own: the shared one is moved aside and put back.
class CatalogCache : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
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
        MainWindowTest::TearDown();
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
    TempDir dir_{L"catcache"};
};

} // namespace

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
