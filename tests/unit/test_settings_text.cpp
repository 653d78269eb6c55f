#include "core/NumberText.h"
#include <gtest/gtest.h>

using namespace tessary;

namespace {
const NumberFormat kEnglish{L'.', L','};
const NumberFormat kGerman{L',', L'.'};
} // namespace

TEST(SettingsText, SwitchesAcceptNumbersAndTheTwoWords) {
    EXPECT_EQ(ToBoolean(L"2", kEnglish), true);
    EXPECT_EQ(ToBoolean(L"0.0", kEnglish), false);
    EXPECT_EQ(ToBoolean(L" true ", kEnglish), true);
    EXPECT_EQ(ToBoolean(L"FALSE", kEnglish), false);
    // Any other word does not convert: the caller keeps its value.
    EXPECT_EQ(ToBoolean(L"Yes", kEnglish), std::nullopt);
    EXPECT_EQ(ToBoolean(L"1x", kEnglish), std::nullopt);
}

TEST(SettingsText, IntegersRoundHalvesToEven) {
    EXPECT_EQ(ToLong(L"2.5", kEnglish), 2);
    EXPECT_EQ(ToLong(L"3.5", kEnglish), 4);
    EXPECT_EQ(ToLong(L"-2.5", kEnglish), -2);
    EXPECT_EQ(ToLong(L"1,000", kEnglish), 1000);
    EXPECT_EQ(ToLong(L"2147483647", kEnglish), 2147483647);
    EXPECT_EQ(ToLong(L"99999999999", kEnglish), std::nullopt);
    EXPECT_EQ(ToLong(L"12abc", kEnglish), std::nullopt);
}

TEST(SettingsText, SinglesFollowTheUsersSeparatorsAndReadBack) {
    EXPECT_FLOAT_EQ(*ToSingle(L"1.234,5", kGerman), 1234.5f);
    EXPECT_FLOAT_EQ(*ToSingle(L"1.5E+3", kEnglish), 1500.0f);
    EXPECT_EQ(ToSingle(L"1e999", kEnglish), std::nullopt);
    EXPECT_EQ(ToSingle(L"12 34", kEnglish), std::nullopt);
    EXPECT_EQ(ToSingle(L".", kEnglish), std::nullopt);
    EXPECT_EQ(SingleToText(12315.0f, kEnglish), L"12315");
    EXPECT_EQ(SingleToText(1234.5f, kGerman), L"1234,5");
    EXPECT_EQ(SingleToText(12345678.0f, kEnglish), L"12345680");
    for (float v : {-4230.0f, 0.125f, 1e20f})
        EXPECT_FLOAT_EQ(ToSingle(SingleToText(v, kGerman), kGerman).value_or(0), v);
}
