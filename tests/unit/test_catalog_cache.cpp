#include "catalog/CacheIni.h"
#include "imaging/FileNames.h"
#include <iterator>
#include <set>
#include <gtest/gtest.h>

using namespace tessary;

TEST(CacheIni, PathsForAFolderAndForADriveRoot) {
    const std::wstring dir = FolderCacheDir(L"C:\\Program Files\\Tessary", L"D:\\Photos\\2004");
    EXPECT_TRUE(dir.starts_with(L"C:\\Program Files\\Tessary\\Cache\\2004~"));
    EXPECT_EQ(CacheFilePath(dir, L"Renamed"), dir + L"\\Renamed.cache"); // after the executable's name
    EXPECT_EQ(CacheRoot(L"E:\\"), L"E:\\Cache\\");
    // Caches of earlier versions: one per last name; a drive root's has no directory of its own.
    EXPECT_EQ(LegacyFolderCacheDir(L"E:\\", L"D:\\Photos\\2004"), L"E:\\Cache\\2004");
    EXPECT_FALSE(LegacyFolderCacheDir(L"E:\\", L"D:\\"));
}

TEST(CacheIni, FoldersOfTheSameNameNeverShareACacheDirectory) {
    const std::wstring photos = CacheDirectoryName(L"D:\\Photos\\2004");
    EXPECT_NE(photos, CacheDirectoryName(L"E:\\Backup\\2004"));
    EXPECT_NE(CacheDirectoryName(L"C:\\"), CacheDirectoryName(L"D:\\"));
    EXPECT_EQ(photos, CacheDirectoryName(L"d:/photos/2004\\")); // one folder, however spelled
    // Always one plain component inside the cache root, even for paths no folder has.
    for (const std::wstring& odd : {std::wstring(L".."), std::wstring(L"a\\..\\.."), std::wstring(L"C:.."),
                                    std::wstring(L"x\\a/b:c"), std::wstring(300, L'n')})
        EXPECT_TRUE(IsPlainComponent(CacheDirectoryName(odd))) << CacheDirectoryName(odd).size();
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
    using namespace std::string_literals;
    EXPECT_EQ(LeadingNumber(L"  768px"), 768);
    EXPECT_EQ(LeadingNumber(L"-5"), -5);
    EXPECT_EQ(LeadingNumber(L"+12.7"), 12);
    EXPECT_EQ(LeadingNumber(L"abc"), 0);
    EXPECT_EQ(LeadingNumber(L"2147483647"), 2147483647);
    EXPECT_EQ(LeadingNumber(L"2147483648"), 0);
    EXPECT_EQ(LeadingNumber(L"12\0 34"s), 12);
    // The default only when nothing came back; the text ends at its first NUL.
    EXPECT_EQ(InterpretIniValue(L"abc", 7).value, 0);
    EXPECT_TRUE(InterpretIniValue(L"abc", 7).found);
    EXPECT_EQ(InterpretIniValue(L"", 7).value, 7);
    EXPECT_FALSE(InterpretIniValue(L"\0 99"s, 7).found);
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
    const auto entries = CacheSectionEntries(10, 10, image);
    const std::wstring w = entries[0].second, h = entries[1].second;
    auto current = [&](std::optional<std::wstring> size, std::optional<std::wstring> time,
                       std::optional<FileStamp> stamp) {
        return CachedThumbnailIsCurrent({w, h, std::move(size), std::move(time)}, stamp);
    };
    // Written together with the image's stamp, read back against it.
    EXPECT_TRUE(current(entries[2].second, entries[3].second, image));
    // Caches written before the stamp existed are trusted.
    EXPECT_TRUE(current({}, {}, image));
    // A section that holds no size is decoded again.
    EXPECT_FALSE(CachedThumbnailIsCurrent({w, {}, {}, {}}, image));
    // Another file of the same name, half a stamp, a damaged one, or an image that cannot be
    // looked up: decode again.
    EXPECT_FALSE(current(L"123457", entries[3].second, image));
    EXPECT_FALSE(current(entries[2].second, L"133485696000000001", image));
    EXPECT_FALSE(current(entries[2].second, {}, image));
    EXPECT_FALSE(current(L"123456x", entries[3].second, image));
    EXPECT_FALSE(current(L"99999999999999999999999", L"1", FileStamp{0, 1}));
    EXPECT_FALSE(current(entries[2].second, entries[3].second, std::nullopt));
}

TEST(FileNames, LongPathsAndTemporaryNamesBesideLongNames) {
    const std::wstring path = L"C:\\Tessary\\Cache\\pics~01234567\\" + std::wstring(250, L'a');
    EXPECT_EQ(LongPathForm(path), L"\\\\?\\" + path);
    EXPECT_EQ(LongPathForm(L"\\\\server\\share\\" + path.substr(3)),
              L"\\\\?\\UNC\\server\\share\\" + path.substr(3));
    EXPECT_EQ(LongPathForm(L"C:\\short.jpg"), L"C:\\short.jpg");
    // A temporary name must still fit one component.
    const std::wstring temp = TempPathBeside(path, L"12-1");
    EXPECT_TRUE(temp.starts_with(L"C:\\Tessary\\Cache\\pics~01234567\\aaa"));
    EXPECT_TRUE(IsPlainComponent(temp.substr(temp.rfind(L'\\') + 1)));
}
