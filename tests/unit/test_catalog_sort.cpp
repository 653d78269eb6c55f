#include "catalog/SortKeys.h"
#include <climits>
#include <gtest/gtest.h>

using namespace tessary;

namespace {

std::vector<std::wstring> Names(const std::vector<SortValues>& entries, int sortBy,
                                const NameCompare& names = CompareNamesIgnoringAsciiCase) {
    std::vector<std::wstring> result;
    for (std::size_t i : SortedOrder(entries, *SortOrderFromIndex(sortBy), names))
        result.push_back(entries[i].name);
    return result;
}

SortValues Entry(std::wstring name, std::optional<std::uint64_t> size = 0,
                 std::optional<std::int64_t> time = 0, int width = 0, int height = 0) {
    return {std::move(name), size, time, width, height};
}

using Order = std::vector<std::wstring>;

} // namespace

TEST(SortKeys, EightOrdersMapToColumnAndDirection) {
    const auto& entries = SortListEntries();
    EXPECT_EQ(entries[0], L"Sort by Name Ascending");
    EXPECT_EQ(entries[3], L"Sort by Size Descending");
    EXPECT_EQ(entries[4], L"Sort by Date Ascending");
    EXPECT_EQ(entries[7], L"Sort by Resolution Descending");
    for (int i = 0; i < kSortOrderCount; ++i) {
        auto order = SortOrderFromIndex(i);
        ASSERT_TRUE(order);
        EXPECT_EQ(order->descending, i % 2 == 1);
        EXPECT_EQ(static_cast<int>(order->column), i / 2);
        EXPECT_EQ(SortIndex(*order), i);
    }
    EXPECT_EQ(SortIndex({SortColumn::Size, true}), 3);
    EXPECT_FALSE(SortOrderFromIndex(-1));
    EXPECT_FALSE(SortOrderFromIndex(8));
}

TEST(SortKeys, NameIgnoresCaseAndUsesTheGivenComparison) {
    const std::vector<SortValues> entries = {Entry(L"b.jpg"), Entry(L"A.jpg"), Entry(L"c.jpg")};
    EXPECT_EQ(Names(entries, 0), (Order{L"A.jpg", L"b.jpg", L"c.jpg"}));
    EXPECT_EQ(Names(entries, 1), (Order{L"c.jpg", L"b.jpg", L"A.jpg"}));
    EXPECT_LT(CompareNamesIgnoringAsciiCase(L"a", L"ab"), 0);
    EXPECT_EQ(CompareNamesIgnoringAsciiCase(L"ABC.JPG", L"abc.jpg"), 0);
    // The locale's comparison is used as given, and any magnitude it returns is fine to negate.
    NameCompare reversed = [](const std::wstring& a, const std::wstring& b) {
        return a < b ? INT_MAX : (b < a ? INT_MIN : 0);
    };
    EXPECT_EQ(Names(entries, 0, reversed), (Order{L"c.jpg", L"b.jpg", L"A.jpg"}));
    EXPECT_EQ(Names(entries, 1, reversed), (Order{L"A.jpg", L"b.jpg", L"c.jpg"}));
}

TEST(SortKeys, SizeSortsByBytesEvenWhereTheTextsWouldNot) {
    const std::vector<SortValues> entries = {
        Entry(L"huge", 123456789), Entry(L"big", 99999999),          Entry(L"k", 1000),
        Entry(L"small", 999),      Entry(L"five-gb", 5368709120ULL), Entry(L"unknown", std::nullopt),
    };
    EXPECT_EQ(Names(entries, 2), (Order{L"unknown", L"small", L"k", L"big", L"huge", L"five-gb"}));
    EXPECT_EQ(Names(entries, 3), (Order{L"five-gb", L"huge", L"big", L"k", L"small", L"unknown"}));
}

TEST(SortKeys, DateSortsChronologicallyWithUnreadableDatesFirst) {
    // Seconds since 1970: 1999 has nine digits, 2002 and 2005 ten.
    const std::vector<SortValues> entries = {
        Entry(L"2005", 1, 1104537600),      Entry(L"1999", 1, 915148800),  Entry(L"2002", 1, 1009843200),
        Entry(L"no date", 1, std::nullopt), Entry(L"1960", 1, -315619200),
    };
    EXPECT_EQ(Names(entries, 4), (Order{L"no date", L"1960", L"1999", L"2002", L"2005"}));
    EXPECT_EQ(Names(entries, 5), (Order{L"2005", L"2002", L"1999", L"1960", L"no date"}));
}

TEST(SortKeys, ResolutionByWidthThenHeight) {
    const std::vector<SortValues> entries = {
        Entry(L"1280x1024", 0, 0, 1280, 1024), Entry(L"1024x768", 0, 0, 1024, 768),
        Entry(L"800x600", 0, 0, 800, 600),     Entry(L"1024x1000", 0, 0, 1024, 1000),
        Entry(L"1024x600", 0, 0, 1024, 600),   Entry(L"0x0", 0, 0, 0, 0),
    };
    EXPECT_EQ(Names(entries, 6),
              (Order{L"0x0", L"800x600", L"1024x600", L"1024x768", L"1024x1000", L"1280x1024"}));
    EXPECT_EQ(Names(entries, 7),
              (Order{L"1280x1024", L"1024x1000", L"1024x768", L"1024x600", L"800x600", L"0x0"}));
}

TEST(SortKeys, EqualKeysKeepLoadOrderInBothDirections) {
    const std::vector<SortValues> entries = {Entry(L"first", 10), Entry(L"second", 10), Entry(L"third", 5)};
    EXPECT_EQ(Names(entries, 2), (Order{L"third", L"first", L"second"}));
    EXPECT_EQ(Names(entries, 3), (Order{L"first", L"second", L"third"}));
    EXPECT_TRUE(SortedOrder({}, {SortColumn::Date, false}).empty());
}
