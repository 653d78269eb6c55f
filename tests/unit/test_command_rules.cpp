#include "commands/CommandRules.h"
#include <gtest/gtest.h>

using namespace tessary;

TEST(CommandRules, ColumnClicksTurnTheOrderShownOnlyOnTheSameColumn) {
    int last = 0;                                // after start-up nothing was clicked
    EXPECT_EQ(ColumnClickSortBy(1, last, 0), 0); // Filename ascending although it is shown so
    EXPECT_EQ(ColumnClickSortBy(2, last, 0), 2); // Size ascending
    EXPECT_EQ(ColumnClickSortBy(2, last, 2), 3); // descending
    // Size ascending, then "Size Descending" chosen in the sort box: the next click turns that.
    EXPECT_EQ(ColumnClickSortBy(2, last, 3), 2);
    // The sort box moved to another column: a click on Size starts ascending.
    EXPECT_EQ(ColumnClickSortBy(2, last, 5), 2);
}

TEST(CommandRules, NewNamesThatWouldMoveOrDamageFilesAreRefused) {
    for (const wchar_t* bad : {L"..\\x.jpg", L"a/b.jpg", L"c:x.jpg", L"*.jpg", L"what?.jpg", L"<a>.jpg",
                               L"a|b.jpg", L"..", L"tab\there.jpg", L"trailing.", L"trailing "})
        EXPECT_TRUE(InvalidNewNameReason(bad).has_value()) << bad;
    // Device names, with any extension and in any case, and names the file system cannot hold.
    for (const std::wstring& device :
         {std::wstring(L"CON"), std::wstring(L"nul.jpg"), std::wstring(L"LPT1.gif"),
          std::wstring(L"conout$.png"), std::wstring(L"COM\u00B9.jpg"), std::wstring(L"Aux .tar.gz"),
          std::wstring(256, L'x')})
        EXPECT_TRUE(InvalidNewNameReason(device).has_value());
    for (const wchar_t* good :
         {L"beach", L"Ünïcødé 東京.jpg", L"a.b.c.png", L".hidden", L"CONSOLE.jpg", L"COM10.jpg"})
        EXPECT_FALSE(InvalidNewNameReason(good).has_value());
}
