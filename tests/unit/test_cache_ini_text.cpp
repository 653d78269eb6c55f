#include "catalog/CacheIni.h"
#include <gtest/gtest.h>

using namespace tessary;

namespace {
using Keys = std::vector<std::pair<std::wstring, std::wstring>>;
} // namespace

TEST(IniText, SectionsAndKeysAsTheProfileReadGivesThem) {
    const auto sections = ParseIniText(L"stray=before any section\r\n"
                                       L"[a.jpg]\r\n"
                                       L"  Height =  480  \r\n"
                                       L"; Width=1\r\n"
                                       L"no equals sign\r\n"
                                       L"[half=open\r\n" // no "]": a key line of the section above
                                       L"[b.png]\n"
                                       L"Width=1=2 3\n"
                                       L"Height=\x1A\n"
                                       L"[a]b]\r\n" // the name runs to the last "]"
                                       L"\t[a.jpg]\t\r\n"
                                       L"Width=7");
    ASSERT_EQ(sections.size(), 4u);
    EXPECT_EQ(sections[0].name, L"a.jpg");
    EXPECT_EQ(sections[0].keys, (Keys{{L"Height", L"480"}, {L"[half", L"open"}}));
    // Only the first "=" separates; blanks inside a value stay; an empty value is a value.
    EXPECT_EQ(sections[1].keys, (Keys{{L"Width", L"1=2 3"}, {L"Height", L""}}));
    EXPECT_EQ(sections[2].name, L"a]b");
    // A repeated section is kept, in order; a last line without its line end still counts.
    EXPECT_EQ(sections[3].name, L"a.jpg");
    EXPECT_EQ(sections[3].keys, (Keys{{L"Width", L"7"}}));
    EXPECT_TRUE(ParseIniText(L"\r\nWidth=3\r\n").empty());
}

TEST(IniText, WhatTheCacheWritesReadsBack) {
    // A size past 32 bits, in sections whose name needs escaping (names of every kind go through
    // the real cache in the Windows tests).
    const FileStamp stamp{5368709120ULL, 133485696000000000ULL};
    IniSectionText written{CacheSectionName(L"a[1]=b;c.jpg"), {}};
    for (const auto& [key, value] : CacheSectionEntries(4000, 3000, stamp))
        written.keys.emplace_back(key, value);
    const auto sections = ParseIniText(FormatIniText({written, written}));
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[1].name, written.name);
    const auto& keys = sections[1].keys;
    ASSERT_EQ(keys.size(), 5u);
    EXPECT_EQ(InterpretIniValue(keys[1].second, 0).value, 3000);
    EXPECT_TRUE(
        CachedThumbnailIsCurrent({keys[0].second, keys[1].second, keys[2].second, keys[3].second}, stamp));
}
