#include "catalog/CacheIni.h"
#include <iterator>
#include <set>
#include <gtest/gtest.h>

using namespace tessary;

TEST(CacheIni, PathsForAFolderAndForADriveRoot) {
    const std::wstring dir = FolderCacheDir(L"C:\\Program Files\\Tessary", L"2004");
    EXPECT_EQ(CacheRoot(L"C:\\Program Files\\Tessary"), L"C:\\Program Files\\Tessary\\Cache\\");
    EXPECT_EQ(dir, L"C:\\Program Files\\Tessary\\Cache\\2004");
    EXPECT_EQ(CacheFilePath(dir, L"Tessary"), L"C:\\Program Files\\Tessary\\Cache\\2004\\Tessary.cache");
    EXPECT_EQ(ThumbnailPath(dir, L"beach.png"), L"C:\\Program Files\\Tessary\\Cache\\2004\\beach.png");
    EXPECT_EQ(ThumbnailTempPath(ThumbnailPath(dir, L"beach.png")),
              L"C:\\Program Files\\Tessary\\Cache\\2004\\beach.png.tmp");

    // A drive root's empty folder name uses the cache root itself, without doubled backslashes.
    const std::wstring root = FolderCacheDir(L"D:\\Apps\\Tessary", L"");
    EXPECT_EQ(root, L"D:\\Apps\\Tessary\\Cache\\");
    EXPECT_EQ(CacheFilePath(root, L"Tessary"), L"D:\\Apps\\Tessary\\Cache\\Tessary.cache");
    EXPECT_EQ(ThumbnailPath(root, L"a.jpg"), L"D:\\Apps\\Tessary\\Cache\\a.jpg");
    // A program installed at a drive root.
    EXPECT_EQ(CacheRoot(L"E:\\"), L"E:\\Cache\\");
    // The cache file follows the executable's name.
    EXPECT_EQ(CacheFilePath(dir, L"Renamed"), L"C:\\Program Files\\Tessary\\Cache\\2004\\Renamed.cache");
}

TEST(CacheIni, CountedDirectoriesAndWhatGetsCached) {
    EXPECT_TRUE(IsCountedCacheDirectory(L"2004"));
    EXPECT_FALSE(IsCountedCacheDirectory(L"."));
    EXPECT_FALSE(IsCountedCacheDirectory(L".."));
    EXPECT_FALSE(IsCountedCacheDirectory(L".hidden"));

    EXPECT_TRUE(ShouldWriteToCache(false, true, 2));
    EXPECT_FALSE(ShouldWriteToCache(false, true, 1));
    EXPECT_FALSE(ShouldWriteToCache(false, false, 5));
    EXPECT_FALSE(ShouldWriteToCache(true, true, 5));
}

TEST(CacheIni, LeadingNumberOfAnIniValue) {
    EXPECT_EQ(LeadingNumber(L"640"), 640);
    EXPECT_EQ(LeadingNumber(L"640px"), 640);
    EXPECT_EQ(LeadingNumber(L"abc"), 0);
    EXPECT_EQ(LeadingNumber(L""), 0);
    EXPECT_EQ(LeadingNumber(L"  768 "), 768);
    EXPECT_EQ(LeadingNumber(L"-5"), -5);
    EXPECT_EQ(LeadingNumber(L"+12x"), 12);
    EXPECT_EQ(LeadingNumber(L"12.7"), 12);
    EXPECT_EQ(LeadingNumber(L"2147483647"), 2147483647);
    EXPECT_EQ(LeadingNumber(L"2147483648"), 0);
    EXPECT_EQ(LeadingNumber(L"99999999999999999999999"), 0);
    EXPECT_EQ(LeadingNumber(std::wstring_view(L"12\0"
                                              L"34",
                                              5)),
              12);
}

TEST(CacheIni, ReadIniValueUsesDefaultOnlyWhenNothingCameBack) {
    auto v = InterpretIniValue(L"1024", 0);
    EXPECT_TRUE(v.found);
    EXPECT_EQ(v.value, 1024);
    v = InterpretIniValue(L"abc", 7);
    EXPECT_TRUE(v.found);
    EXPECT_EQ(v.value, 0);
    v = InterpretIniValue(L"", 7);
    EXPECT_FALSE(v.found);
    EXPECT_EQ(v.value, 7);
    v = InterpretIniValue(std::wstring_view(L"\0"
                                            L"99",
                                            3),
                          7); // the text ends at its first NUL
    EXPECT_FALSE(v.found);
    EXPECT_EQ(v.value, 7);
}

TEST(CacheIni, PlainNamesAreTheirOwnSections) {
    for (const wchar_t* name : {L"beach.jpg", L"IMG 0001.JPG", L"a-b_c (2).png", L"x"})
        EXPECT_EQ(CacheSectionName(name), name);
    // With the program's own test of what the ANSI file holds, its characters stay too.
    auto latin1 = [](wchar_t c) { return c >= 0x20 && c <= 0xFF && c != 0x7F; };
    EXPECT_EQ(CacheSectionName(L"Ünïcødé.jpg", latin1), L"Ünïcødé.jpg");
}

TEST(CacheIni, AwkwardNamesAreEscapedReversiblyAndNeverCollide) {
    EXPECT_EQ(CacheSectionName(L"a[1].jpg"), L"a|005B1|005D.jpg");
    EXPECT_EQ(CacheSectionName(L"x=y;z.jpg"), L"x|003Dy|003Bz.jpg");
    EXPECT_EQ(CacheSectionName(L" lead.jpg"), L"|0020lead.jpg");
    EXPECT_EQ(CacheSectionName(L"東.jpg"), L"|6771.jpg");
    const std::wstring names[] = {
        L"a[1].jpg",  L"]",      L"[x]",    L"=;",        L"Ünïcødé 東京.jpg", L"|0041.jpg",         L"A.jpg",
        L"😀.png",     L" a.jpg", L"a.jpg ", L"  two.jpg", L"tab\t.jpg",        L"line\r\nbreak.jpg", L"",
        L"pipe|.jpg",
    };
    std::set<std::wstring> sections;
    for (const auto& name : names) {
        const std::wstring section = CacheSectionName(name);
        SCOPED_TRACE(section);
        for (wchar_t c : section) {
            EXPECT_TRUE(c >= 0x20 && c <= 0x7E);
            EXPECT_TRUE(c != L'[' && c != L']' && c != L'=' && c != L';');
        }
        if (!section.empty()) {
            EXPECT_NE(section.front(), L' ');
            EXPECT_NE(section.back(), L' ');
        }
        EXPECT_EQ(FileNameFromSection(section), name);
        EXPECT_EQ(CacheSectionName(name), section); // stable
        sections.insert(section);
    }
    EXPECT_EQ(sections.size(), std::size(names));
}

TEST(CacheIni, ForeignSectionsAreRecognised) {
    EXPECT_EQ(FileNameFromSection(L"|004"), std::nullopt);
    EXPECT_EQ(FileNameFromSection(L"|00G1"), std::nullopt);
    EXPECT_EQ(FileNameFromSection(L"a|"), std::nullopt);
    EXPECT_EQ(FileNameFromSection(L"|00e9"), L"é"); // either case of hex digits
}

TEST(CacheIni, SectionEntriesKeepWidthAndHeightFirstAndStampLast) {
    const auto entries = CacheSectionEntries(4000, 3000, {5368709120ULL, 133485696000000000ULL});
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].first, L"Width");
    EXPECT_EQ(entries[0].second, L"4000");
    EXPECT_EQ(entries[1].first, L"Height");
    EXPECT_EQ(entries[1].second, L"3000");
    EXPECT_EQ(entries[2].first, kFileSizeKey);
    EXPECT_EQ(entries[2].second, L"5368709120");
    EXPECT_EQ(entries[3].first, kFileTimeKey);
    EXPECT_EQ(entries[3].second, L"133485696000000000");
}

TEST(CacheIni, CachedThumbnailBelongsToItsImage) {
    const FileStamp image{123456, 133485696000000000ULL};
    using Text = std::optional<std::wstring>;
    // Written together with the image's stamp, read back against it.
    const auto entries = CacheSectionEntries(10, 10, image);
    EXPECT_TRUE(CachedThumbnailIsCurrent(entries[2].second, entries[3].second, image));
    // Caches written before the stamp existed are trusted.
    EXPECT_TRUE(CachedThumbnailIsCurrent(Text{}, Text{}, image));
    EXPECT_TRUE(CachedThumbnailIsCurrent(Text{}, Text{}, std::nullopt));
    // Another file of the same name (other size or time) is a miss.
    EXPECT_FALSE(CachedThumbnailIsCurrent(Text{L"123457"}, Text{L"133485696000000000"}, image));
    EXPECT_FALSE(CachedThumbnailIsCurrent(Text{L"123456"}, Text{L"133485696000000001"}, image));
    // Half a stamp, a damaged one, or an image that cannot be looked up: decode again.
    EXPECT_FALSE(CachedThumbnailIsCurrent(Text{L"123456"}, Text{}, image));
    EXPECT_FALSE(CachedThumbnailIsCurrent(Text{}, Text{L"133485696000000000"}, image));
    EXPECT_FALSE(CachedThumbnailIsCurrent(Text{L"123456x"}, Text{L"133485696000000000"}, image));
    EXPECT_FALSE(CachedThumbnailIsCurrent(Text{L""}, Text{L""}, image));
    EXPECT_FALSE(CachedThumbnailIsCurrent(Text{L"99999999999999999999999"}, Text{L"1"}, FileStamp{0, 1}));
    EXPECT_FALSE(CachedThumbnailIsCurrent(Text{L"123456"}, Text{L"133485696000000000"}, std::nullopt));
}
