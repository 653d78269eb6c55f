#include "platform/KeyPath.h"
#include <gtest/gtest.h>

using namespace tessary;

TEST(WallpaperKeyPath, WritePathSplitsAtTheFirstBackslash) {
    KeyPath k = ParseKeyPath(L"HKEY_LOCAL_MACHINE\\Control Panel\\Desktop");
    EXPECT_TRUE(k.usable());
    EXPECT_EQ(k.root, RegistryRoot::LocalMachine);
    EXPECT_EQ(k.subkey, L"Control Panel\\Desktop");
    k = ParseKeyPath(L"HKEY_CURRENT_USER"); // a root alone addresses the root
    EXPECT_TRUE(k.usable());
    EXPECT_EQ(k.subkey, L"");
    // Malformed paths are refused and kept whole.
    for (const wchar_t* bad : {L"HKEY_CURRENT_USER\\Control Panel\\", L"hkey_current_user\\Control Panel",
                               L"Control Panel\\Desktop", L"", L"\\HKEY_CURRENT_USER\\Control Panel"}) {
        k = ParseKeyPath(bad);
        EXPECT_FALSE(k.usable()) << bad;
        EXPECT_EQ(k.subkey, bad);
    }
    // Passes the prefix test but names no root.
    EXPECT_FALSE(ParseKeyPath(L"HKEY_current_user\\Control Panel").usable());
}

TEST(WallpaperKeyPath, ReadPathNeedsABackslashButNoPrefix) {
    EXPECT_FALSE(SplitReadPath(L"HKEY_CURRENT_USER").has_value());
    auto k = SplitReadPath(L"HKEY_CURRENT_USER\\Control Panel\\Desktop\\");
    ASSERT_TRUE(k);
    EXPECT_EQ(k->subkey, L"Control Panel\\Desktop\\");
    // A lower-case root still splits, but names no root, so the read gives the marker.
    k = SplitReadPath(L"hkey_current_user\\Control Panel");
    ASSERT_TRUE(k);
    EXPECT_FALSE(k->usable());
}

TEST(WallpaperKeyPath, LastComponentBecomesTheValueName) {
    auto s = SplitLastComponent(L"Control Panel\\Desktop\\Wallpaper");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->subkey, L"Control Panel\\Desktop");
    EXPECT_EQ(s->valueName, L"Wallpaper");
    EXPECT_EQ(SplitLastComponent(L"Software\\")->valueName, L"");
    // No backslash, or only one at the very start: no second try.
    EXPECT_FALSE(SplitLastComponent(L"Desktop").has_value());
    EXPECT_FALSE(SplitLastComponent(L"\\Wallpaper").has_value());
}

TEST(WallpaperKeyPath, ReadTextIsTrimmedAndCutAtTheFirstNul) {
    using namespace std::string_literals;
    EXPECT_EQ(CleanRegText(L"  C:\\a b.bmp\0      "s), L"C:\\a b.bmp");
    EXPECT_EQ(CleanRegText(L"\0     "s), L"");
    // Spaces before the terminator belong to the value; only the outer padding goes.
    EXPECT_EQ(CleanRegText(L"abc  \0  "s), L"abc  ");
    // Paths of 255 characters and more are read in full rather than taken for the marker.
    const std::wstring path = L"C:\\" + std::wstring(252, L'x') + L".bmp";
    EXPECT_EQ(CleanRegText(path + L'\0'), path);
}
