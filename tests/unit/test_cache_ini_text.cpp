#include "catalog/CacheIni.h"
#include <gtest/gtest.h>

using namespace tessary;

namespace {

using Keys = std::vector<std::pair<std::wstring, std::wstring>>;

} // namespace

TEST(IniText, SectionsAndKeysAsTheProfileReadGivesThem) {
    const auto sections = ParseIniText(L"stray=before any section\r\n"
                                       L"[a.jpg]\r\n"
                                       L"Width=640\r\n"
                                       L"  Height =  480  \r\n"
                                       L"\r\n"
                                       L"; Width=1\r\n"
                                       L"no equals sign\r\n"
                                       L"[b.png]\n"
                                       L"Width=1=2 3\n"
                                       L"Height=\x1A\n"
                                       L"\t[c.gif]\t\r\n"
                                       L"Width=7");
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].name, L"a.jpg");
    EXPECT_EQ(sections[0].keys, (Keys{{L"Width", L"640"}, {L"Height", L"480"}}));
    EXPECT_EQ(sections[1].name, L"b.png");
    // Only the first "=" separates; blanks inside a value stay; an empty value is a value.
    EXPECT_EQ(sections[1].keys, (Keys{{L"Width", L"1=2 3"}, {L"Height", L""}}));
    // A last line without its line end still counts.
    EXPECT_EQ(sections[2].name, L"c.gif");
    EXPECT_EQ(sections[2].keys, (Keys{{L"Width", L"7"}}));
}

TEST(IniText, HeadersRepeatedUnclosedOrEmpty) {
    const auto sections = ParseIniText(L"[x.jpg]\r\nWidth=1\r\n"
                                       L"[half=open\r\n"         // no "]": a key line of the section above
                                       L"[x.jpg]\r\nWidth=2\r\n" // repeated: kept, in order
                                       L"[a]b]\r\nWidth=3\r\n"   // the name runs to the last "]"
                                       L"[]\r\n");
    ASSERT_EQ(sections.size(), 4u);
    EXPECT_EQ(sections[0].name, L"x.jpg");
    EXPECT_EQ(sections[0].keys, (Keys{{L"Width", L"1"}, {L"[half", L"open"}}));
    EXPECT_EQ(sections[1].name, L"x.jpg");
    EXPECT_EQ(sections[1].keys, (Keys{{L"Width", L"2"}}));
    EXPECT_EQ(sections[2].name, L"a]b");
    EXPECT_EQ(sections[3].name, L"");
    EXPECT_TRUE(sections[3].keys.empty());
    EXPECT_TRUE(ParseIniText(L"").empty());
    EXPECT_TRUE(ParseIniText(L"\r\n\r\nWidth=3\r\n").empty());
}

TEST(IniText, WhatTheCacheWritesReadsBack) {
    // Section names of awkward file names and the keys of an entry, written as the profile
    // functions write them, come back unchanged.
    const FileStamp stamp{5368709120ULL, 133485696000000000ULL};
    const std::vector<std::wstring> names = {L"beach.jpg", L" padded .png", L"a[1]=b;c.jpg", L"東.jpg"};
    std::wstring file;
    for (const std::wstring& name : names) {
        file += L"[" + CacheSectionName(name) + L"]\r\n";
        for (const auto& [key, value] : CacheSectionEntries(4000, 3000, stamp))
            file += std::wstring(key) + L"=" + value + L"\r\n";
    }
    const auto sections = ParseIniText(file);
    ASSERT_EQ(sections.size(), names.size());
    for (std::size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(FileNameFromSection(sections[i].name), names[i]);
        ASSERT_EQ(sections[i].keys.size(), 4u);
        EXPECT_EQ(InterpretIniValue(sections[i].keys[0].second, 0).value, 4000);
        EXPECT_EQ(InterpretIniValue(sections[i].keys[1].second, 0).value, 3000);
        EXPECT_EQ(sections[i].keys[2].second, L"5368709120");
    }
}
