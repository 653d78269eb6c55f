#include "wallpaper/RecentWallpapers.h"
#include <gtest/gtest.h>

using namespace tessary;

TEST(RecentWallpapers, MostRecentFirstWithoutRepeatsFiveAtMost) {
    std::vector<RecentWallpaper> recent;
    for (const wchar_t* name : {L"a", L"b", L"c", L"d", L"e", L"f"})
        recent =
            RememberWallpaper(recent, {std::wstring(L"C:\\P\\") + name + L".jpg", RecentLayout::Centered});
    ASSERT_EQ(recent.size(), 5u);
    EXPECT_EQ(recent.front().path, L"C:\\P\\f.jpg");
    EXPECT_EQ(recent.back().path, L"C:\\P\\b.jpg");
    // The same picture again moves to the front; in another layout it is another entry.
    recent = RememberWallpaper(recent, {L"C:\\P\\d.jpg", RecentLayout::Centered});
    EXPECT_EQ(recent[0].path, L"C:\\P\\d.jpg");
    EXPECT_EQ(recent[3].path, L"C:\\P\\c.jpg");
    recent = RememberWallpaper(recent, {L"C:\\P\\d.jpg", RecentLayout::Tiled});
    EXPECT_EQ(recent[1], (RecentWallpaper{L"C:\\P\\d.jpg", RecentLayout::Centered}));
}

TEST(RecentWallpapers, StoredTextReadsBack) {
    const std::wstring longPath = L"\\\\?\\C:\\" + std::wstring(400, L'x') + L"\\東京 & co.webp";
    for (const RecentWallpaper& e : {RecentWallpaper{longPath, RecentLayout::ResizedProportionally},
                                     RecentWallpaper{L"", RecentLayout::Tiled}})
        EXPECT_EQ(ParseRecentWallpaper(RecentWallpaperText(e)), e);
    EXPECT_FALSE(ParseRecentWallpaper(L"C:\\no layout.jpg"));
    EXPECT_FALSE(ParseRecentWallpaper(L"Sideways|C:\\a.jpg"));
    EXPECT_EQ(
        RecentWallpaperMenuText({L"C:\\A & B\\x.jpg", RecentLayout::Stretched}, false, L"file not found"),
        L"x.jpg  (C:\\A && B) - Stretched - file not found");
    EXPECT_EQ(RecentWallpaperMenuText({L"", RecentLayout::Centered}, true, L""),
              L"No wallpaper - before Tessary");
    EXPECT_EQ(PathRootOf(L"E:\\Pics\\a.jpg"), L"E:\\");
    EXPECT_EQ(PathRootOf(L"\\\\nas\\photos\\2024\\a.jpg"), L"\\\\nas\\photos\\");
    EXPECT_EQ(PathRootOf(L"\\\\nas\\photos"), L"\\\\nas\\photos\\");
    EXPECT_EQ(PathRootOf(L"a.jpg"), L"");
}
