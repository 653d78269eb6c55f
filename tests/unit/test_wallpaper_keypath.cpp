#include "wallpaper/KeyPath.h"
#include <gtest/gtest.h>
#include <utility>

using namespace tessary;

TEST(WallpaperKeyPath, RootNamesMapToThePredefinedKeysExactly) {
    const std::pair<const wchar_t*, std::uint32_t> table[] = {{L"HKEY_CLASSES_ROOT", 0x80000000u},
                                                              {L"HKEY_CURRENT_USER", 0x80000001u},
                                                              {L"HKEY_LOCAL_MACHINE", 0x80000002u},
                                                              {L"HKEY_USERS", 0x80000003u},
                                                              {L"HKEY_PERFORMANCE_DATA", 0x80000004u},
                                                              {L"HKEY_CURRENT_CONFIG", 0x80000005u},
                                                              {L"HKEY_DYN_DATA", 0x80000006u},
                                                              {L"hkey_current_user", 0},
                                                              {L"HKEY_Current_User", 0},
                                                              {L"HKCU", 0},
                                                              {L"HKEY_CURRENT_USER ", 0},
                                                              {L"", 0}};
    for (const auto& [name, handle] : table)
        EXPECT_EQ(static_cast<std::uint32_t>(RootKeyFromName(name)), handle) << name;
}

TEST(WallpaperKeyPath, WritePathSplitsAtTheFirstBackslash) {
    KeyPath k = ParseKeyPath(L"HKEY_CURRENT_USER\\Control Panel\\Desktop");
    EXPECT_TRUE(k.usable());
    EXPECT_EQ(k.root, RegistryRoot::CurrentUser);
    EXPECT_EQ(k.subkey, L"Control Panel\\Desktop");

    k = ParseKeyPath(L"HKEY_LOCAL_MACHINE\\Software");
    EXPECT_EQ(k.root, RegistryRoot::LocalMachine);
    EXPECT_EQ(k.subkey, L"Software");
}

TEST(WallpaperKeyPath, WritePathOfARootAloneAddressesTheRoot) {
    KeyPath k = ParseKeyPath(L"HKEY_CURRENT_USER");
    EXPECT_TRUE(k.usable());
    EXPECT_EQ(k.root, RegistryRoot::CurrentUser);
    EXPECT_EQ(k.subkey, L"");
}

TEST(WallpaperKeyPath, MalformedWritePathsAreRejectedAndKeptWhole) {
    for (const wchar_t* bad : {L"HKEY_CURRENT_USER\\Control Panel\\Desktop\\", L"HKEY_CURRENT_USER\\",
                               L"hkey_current_user\\Control Panel\\Desktop", L"Control Panel\\Desktop",
                               L"HKEY", L"", L"\\HKEY_CURRENT_USER\\Control Panel"}) {
        KeyPath k = ParseKeyPath(bad);
        EXPECT_FALSE(k.usable()) << bad;
        EXPECT_EQ(k.subkey, bad);
    }
}

TEST(WallpaperKeyPath, WritePathWithUnknownRootHasNoUsableRoot) {
    // Passes the prefix test but names no root: the write stops.
    KeyPath k = ParseKeyPath(L"HKEY_current_user\\Control Panel");
    EXPECT_FALSE(k.usable());
    EXPECT_EQ(k.subkey, L"Control Panel");
    EXPECT_FALSE(ParseKeyPath(L"HKEY_NOWHERE").usable());
}

TEST(WallpaperKeyPath, ReadPathNeedsABackslashButNoPrefix) {
    EXPECT_FALSE(SplitReadPath(L"HKEY_CURRENT_USER").has_value());
    EXPECT_FALSE(SplitReadPath(L"").has_value());

    auto k = SplitReadPath(L"HKEY_CURRENT_USER\\Control Panel\\Desktop\\");
    ASSERT_TRUE(k);
    EXPECT_EQ(k->root, RegistryRoot::CurrentUser);
    EXPECT_EQ(k->subkey, L"Control Panel\\Desktop\\");

    // A lower-case root still splits, but names no root, so the read gives the marker.
    k = SplitReadPath(L"hkey_current_user\\Control Panel\\Desktop");
    ASSERT_TRUE(k);
    EXPECT_FALSE(k->usable());
    EXPECT_EQ(k->subkey, L"Control Panel\\Desktop");
}

TEST(WallpaperKeyPath, LastComponentBecomesTheValueName) {
    auto s = SplitLastComponent(L"Control Panel\\Desktop\\Wallpaper");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->subkey, L"Control Panel\\Desktop");
    EXPECT_EQ(s->valueName, L"Wallpaper");

    s = SplitLastComponent(L"Software\\");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->subkey, L"Software");
    EXPECT_EQ(s->valueName, L"");

    // No backslash, or only one at the very start: no second try.
    EXPECT_FALSE(SplitLastComponent(L"Desktop").has_value());
    EXPECT_FALSE(SplitLastComponent(L"\\Wallpaper").has_value());
    EXPECT_FALSE(SplitLastComponent(L"").has_value());
    s = SplitLastComponent(L"a\\b");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->subkey, L"a");
    EXPECT_EQ(s->valueName, L"b");
}

TEST(WallpaperKeyPath, ReadTextIsTrimmedAndCutAtTheFirstNul) {
    using namespace std::string_literals;
    EXPECT_EQ(CleanRegText(L"C:\\Windows\\bliss.bmp\0      "s), L"C:\\Windows\\bliss.bmp");
    EXPECT_EQ(CleanRegText(L"  C:\\a b.bmp  "), L"C:\\a b.bmp");
    EXPECT_EQ(CleanRegText(L"\0     "s), L"");
    EXPECT_EQ(CleanRegText(L"     "), L"");
    EXPECT_EQ(CleanRegText(L""), L"");
    // Spaces before the terminator belong to the value; only the outer padding goes.
    EXPECT_EQ(CleanRegText(L"abc  \0  "s), L"abc  ");
    EXPECT_EQ(CleanRegText(L"abc\0def"s), L"abc");
}

TEST(WallpaperKeyPath, LongValuesAreKeptWhole) {
    // Paths of 255 characters and more are read in full rather than taken for the marker.
    for (size_t n : {254u, 255u, 259u, 1000u}) {
        std::wstring path = L"C:\\" + std::wstring(n - 7, L'x') + L".bmp";
        ASSERT_EQ(path.size(), n);
        std::wstring raw = path;
        raw.push_back(L'\0');
        EXPECT_EQ(CleanRegText(raw), path) << n;
    }
    EXPECT_EQ(kRegNotAvailable, L"N/A");
}
