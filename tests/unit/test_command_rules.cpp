#include "commands/CommandRules.h"
#include <gtest/gtest.h>

using namespace tessary;

TEST(CommandRules, ColumnClicksFlipOnlyOnTheSameColumn) {
    int last = 1;
    bool descending = false;
    EXPECT_EQ(ColumnClickSortBy(2, last, descending), 2); // Size ascending
    EXPECT_EQ(last, 2);
    EXPECT_EQ(ColumnClickSortBy(2, last, descending), 3); // descending
    EXPECT_EQ(ColumnClickSortBy(2, last, descending), 2); // ascending again
    EXPECT_EQ(ColumnClickSortBy(4, last, descending), 6);
    EXPECT_EQ(ColumnClickSortBy(4, last, descending), 7);
    // After start-up nothing was clicked: the first click on Filename sorts ascending.
    int fresh = 0;
    bool freshDescending = true;
    EXPECT_EQ(ColumnClickSortBy(1, fresh, freshDescending), 0);
    EXPECT_FALSE(freshDescending);
}

TEST(CommandRules, DialogTexts) {
    EXPECT_EQ(DeleteConfirmText(1), L"Are you sure you want to delete the 1 selected files?");
    EXPECT_EQ(DeleteConfirmText(12), L"Are you sure you want to delete the 12 selected files?");
    EXPECT_EQ(RenamePromptText(L"sea.jpg"), L"Enter the new name for 'sea.jpg'.");
}

TEST(CommandRules, PathSplitsAtTheLastBackslash) {
    PathParts p = SplitAtLastBackslash(L"C:\\Pics\\sea.jpg");
    EXPECT_EQ(p.folder, L"C:\\Pics");
    EXPECT_EQ(p.name, L"sea.jpg");
    p = SplitAtLastBackslash(L"C:\\sea.jpg");
    EXPECT_EQ(p.folder, L"C:");
    EXPECT_EQ(p.name, L"sea.jpg");
    p = SplitAtLastBackslash(L"sea.jpg");
    EXPECT_EQ(p.folder, L"");
    EXPECT_EQ(p.name, L"sea.jpg");
}

TEST(CommandRules, NewNamesThatWouldMoveOrDamageFilesAreRefused) {
    for (const wchar_t* bad :
         {L"..\\x.jpg", L"a/b.jpg", L"c:x.jpg", L"*.jpg", L"what?.jpg", L"say \"hi\".jpg", L"<a>.jpg",
          L"a|b.jpg", L".", L"..", L"tab\there.jpg", L"bell\x07.jpg", L"trailing.", L"trailing "})
        EXPECT_TRUE(InvalidNewNameReason(bad).has_value()) << bad;
    for (const wchar_t* good :
         {L"beach.jpg", L"beach", L"Ünïcødé 東京.jpg", L"a.b.c.png", L".hidden", L"x [1].jpg"})
        EXPECT_FALSE(InvalidNewNameReason(good).has_value());
}
