#include "catalog/CacheIni.h"
#include <iterator>
#include <set>
#include <gtest/gtest.h>

using namespace tessary;

TEST(CacheIni, PathsForAFolderAndForADriveRoot) {
    const std::wstring dir = FolderCacheDir(L"C:\\Program Files\\Tessary", L"2004");
    EXPECT_EQ(dir, L"C:\\Program Files\\Tessary\\Cache\\2004");
    EXPECT_EQ(CacheFilePath(dir, L"Renamed"), dir + L"\\Renamed.cache"); // after the executable's name
    EXPECT_EQ(ThumbnailTempPath(ThumbnailPath(dir, L"beach.png")), dir + L"\\beach.png.tmp");
    // A drive root's empty folder name uses the cache root itself, without doubled backslashes.
    const std::wstring root = FolderCacheDir(L"D:\\Apps\\Tessary", L"");
    EXPECT_EQ(root, L"D:\\Apps\\Tessary\\Cache\\");
    EXPECT_EQ(ThumbnailPath(root, L"a.jpg"), L"D:\\Apps\\Tessary\\Cache\\a.jpg");
    EXPECT_EQ(CacheRoot(L"E:\\"), L"E:\\Cache\\");
}

TEST(CacheIni, CountedDirectoriesAndWhatGetsCached) {
    EXPECT_TRUE(IsCountedCacheDirectory(L"2004"));
    EXPECT_FALSE(IsCountedCacheDirectory(L".."));
    EXPECT_FALSE(IsCountedCacheDirectory(L".hidden"));
    EXPECT_TRUE(ShouldWriteToCache(false, true, 2));
    EXPECT_FALSE(ShouldWriteToCache(false, true, 1));
    EXPECT_FALSE(ShouldWriteToCache(false, false, 5));
    EXPECT_FALSE(ShouldWriteToCache(true, true, 5));
}

TEST(CacheIni, NumbersOfAnIniValue) {
    EXPECT_EQ(LeadingNumber(L"  768px"), 768);
    EXPECT_EQ(LeadingNumber(L"-5"), -5);
    EXPECT_EQ(LeadingNumber(L"+12.7"), 12);
    EXPECT_EQ(LeadingNumber(L"abc"), 0);
    EXPECT_EQ(LeadingNumber(L"2147483647"), 2147483647);
    EXPECT_EQ(LeadingNumber(L"2147483648"), 0);
    EXPECT_EQ(LeadingNumber(std::wstring_view(L"12\0"
                                              L"34",
                                              5)),
              12);
    // The default only when nothing came back; the text ends at its first NUL.
    EXPECT_EQ(InterpretIniValue(L"abc", 7).value, 0);
    EXPECT_TRUE(InterpretIniValue(L"abc", 7).found);
    EXPECT_EQ(InterpretIniValue(L"", 7).value, 7);
    EXPECT_FALSE(InterpretIniValue(std::wstring_view(L"\0"
                                                     L"99",
                                                     3),
                                   7)
                     .found);
}

TEST(CacheIni, AwkwardNamesAreEscapedAndNeverCollide) {
    EXPECT_EQ(CacheSectionName(L"IMG 0001.JPG"), L"IMG 0001.JPG");
    EXPECT_EQ(CacheSectionName(L"a[1].jpg"), L"a|005B1|005D.jpg");
    EXPECT_EQ(CacheSectionName(L" lead.jpg"), L"|0020lead.jpg");
    // With the program's own test of what the ANSI file holds, its characters stay.
    auto latin1 = [](wchar_t c) { return c >= 0x20 && c <= 0xFF && c != 0x7F; };
    EXPECT_EQ(CacheSectionName(L"Ünïcødé.jpg", latin1), L"Ünïcødé.jpg");
    const std::wstring names[] = {L"]",     L"=;",     L"Ünïcødé 東京.jpg",  L"|0041.jpg", L"A.jpg",
                                  L"😀.png", L"a.jpg ", L"line\r\nbreak.jpg", L"",          L"pipe|.jpg"};
    std::set<std::wstring> sections;
    for (const auto& name : names) {
        const std::wstring section = CacheSectionName(name);
        for (wchar_t c : section)
            EXPECT_TRUE(c >= 0x20 && c <= 0x7E && c != L'[' && c != L']' && c != L'=' && c != L';')
                << section;
        EXPECT_TRUE(section.empty() || (section.front() != L' ' && section.back() != L' '));
        sections.insert(section);
    }
    EXPECT_EQ(sections.size(), std::size(names));
}

TEST(CacheIni, CachedThumbnailBelongsToItsImage) {
    const FileStamp image{123456, 133485696000000000ULL};
    using Text = std::optional<std::wstring>;
    // Written together with the image's stamp, read back against it.
    const auto entries = CacheSectionEntries(10, 10, image);
    EXPECT_TRUE(CachedThumbnailIsCurrent(entries[2].second, entries[3].second, image));
    // Caches written before the stamp existed are trusted.
    EXPECT_TRUE(CachedThumbnailIsCurrent(Text{}, Text{}, image));
    // Another file of the same name, half a stamp, a damaged one, or an image that cannot be
    // looked up: decode again.
    EXPECT_FALSE(CachedThumbnailIsCurrent(Text{L"123457"}, entries[3].second, image));
    EXPECT_FALSE(CachedThumbnailIsCurrent(entries[2].second, Text{L"133485696000000001"}, image));
    EXPECT_FALSE(CachedThumbnailIsCurrent(entries[2].second, Text{}, image));
    EXPECT_FALSE(CachedThumbnailIsCurrent(Text{L"123456x"}, entries[3].second, image));
    EXPECT_FALSE(CachedThumbnailIsCurrent(Text{L"99999999999999999999999"}, Text{L"1"}, FileStamp{0, 1}));
    EXPECT_FALSE(CachedThumbnailIsCurrent(entries[2].second, entries[3].second, std::nullopt));
}
