#include "app/SettingsText.h"
#include <gtest/gtest.h>

using namespace tessary;

namespace {
const NumberFormat kEnglish{L'.', L','};
const NumberFormat kGerman{L',', L'.'};
} // namespace

TEST(SettingsText, SwitchesAcceptNumbersAndTheTwoWords) {
    EXPECT_EQ(ToBoolean(L"-1", kEnglish), true);
    EXPECT_EQ(ToBoolean(L"0", kEnglish), false);
    EXPECT_EQ(ToBoolean(L"2", kEnglish), true);
    EXPECT_EQ(ToBoolean(L"0.0", kEnglish), false);
    EXPECT_EQ(ToBoolean(L"True", kEnglish), true);
    EXPECT_EQ(ToBoolean(L"FALSE", kEnglish), false);
    EXPECT_EQ(ToBoolean(L" true ", kEnglish), true);
    // Any other word does not convert: the caller keeps its value.
    EXPECT_EQ(ToBoolean(L"Yes", kEnglish), std::nullopt);
    EXPECT_EQ(ToBoolean(L"", kEnglish), std::nullopt);
    EXPECT_EQ(ToBoolean(L"1x", kEnglish), std::nullopt);
}

TEST(SettingsText, IntegersRoundHalvesToEven) {
    EXPECT_EQ(ToLong(L"100", kEnglish), 100);
    EXPECT_EQ(ToLong(L"2.5", kEnglish), 2);
    EXPECT_EQ(ToLong(L"3.5", kEnglish), 4);
    EXPECT_EQ(ToLong(L"-2.5", kEnglish), -2);
    EXPECT_EQ(ToLong(L"72.4999", kEnglish), 72);
    EXPECT_EQ(ToLong(L"1,000", kEnglish), 1000);
    EXPECT_EQ(ToLong(L"abc", kEnglish), std::nullopt);
    EXPECT_EQ(ToLong(L"12abc", kEnglish), std::nullopt);
    EXPECT_EQ(ToLong(L"99999999999", kEnglish), std::nullopt);
    EXPECT_EQ(ToLong(L"2147483647", kEnglish), 2147483647);
}

TEST(SettingsText, SinglesFollowTheUsersDecimalSeparator) {
    EXPECT_FLOAT_EQ(*ToSingle(L"1234.5", kEnglish), 1234.5f);
    EXPECT_FLOAT_EQ(*ToSingle(L"1234,5", kGerman), 1234.5f);
    EXPECT_FLOAT_EQ(*ToSingle(L"1.234,5", kGerman), 1234.5f);
    EXPECT_FLOAT_EQ(*ToSingle(L"-15", kEnglish), -15.0f);
    EXPECT_FLOAT_EQ(*ToSingle(L"1.5E+3", kEnglish), 1500.0f);
    EXPECT_EQ(ToSingle(L"1e999", kEnglish), std::nullopt);
    EXPECT_EQ(ToSingle(L"12 34", kEnglish), std::nullopt);
    EXPECT_EQ(ToSingle(L".", kEnglish), std::nullopt);
}

TEST(SettingsText, WrittenFormsReadBackToTheSameValue) {
    EXPECT_EQ(SingleToText(12315.0f, kEnglish), L"12315");
    EXPECT_EQ(SingleToText(-120.0f, kEnglish), L"-120");
    EXPECT_EQ(SingleToText(1234.5f, kGerman), L"1234,5");
    EXPECT_EQ(SingleToText(0.0f, kEnglish), L"0");
    EXPECT_EQ(SingleToText(0.25f, kEnglish), L"0.25");
    EXPECT_EQ(SingleToText(12345678.0f, kEnglish), L"12345680");
    EXPECT_EQ(BooleanToText(true), L"-1");
    EXPECT_EQ(BooleanToText(false), L"0");
    for (float v : {13500.0f, 7.5f, -4230.0f, 0.125f, 1e20f}) {
        auto back = ToSingle(SingleToText(v, kGerman), kGerman);
        ASSERT_TRUE(back.has_value()) << v;
        EXPECT_FLOAT_EQ(*back, v);
    }
}
