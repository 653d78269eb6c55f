#include "catalog/SortKeys.h"
#include <algorithm>
#include <climits>
#include <gtest/gtest.h>

using namespace tessary;

namespace {

using Order = std::vector<std::wstring>;

// The names in the order the comparison gives, stable for equal keys as the list sorts.
Order Sorted(
    std::vector<SortValues> entries, int sortBy,
    const NameCompare& names = [](const std::wstring& a, const std::wstring& b) { return a.compare(b); }) {
    const SortOrder order = *SortOrderFromIndex(sortBy);
    std::stable_sort(entries.begin(), entries.end(), [&](const SortValues& a, const SortValues& b) {
        return CompareForSort(a, b, order, names) < 0;
    });
    Order result;
    for (const SortValues& e : entries)
        result.push_back(e.name);
    return result;
}

SortValues Entry(std::wstring name, std::optional<std::uint64_t> size = 0,
                 std::optional<std::int64_t> time = 0, int width = 0, int height = 0) {
    return {std::move(name), size, time, width, height};
}

} // namespace

TEST(SortKeys, NameUsesTheGivenComparison) {
    const std::vector<SortValues> entries = {Entry(L"b.jpg"), Entry(L"A.jpg"), Entry(L"c.jpg")};
    EXPECT_EQ(Sorted(entries, 1), (Order{L"c.jpg", L"b.jpg", L"A.jpg"}));
    // The locale's comparison is used as given, and any magnitude it returns is fine to negate.
    NameCompare reversed = [](const std::wstring& a, const std::wstring& b) {
        return a < b ? INT_MAX : (b < a ? INT_MIN : 0);
    };
    EXPECT_EQ(Sorted(entries, 1, reversed), (Order{L"A.jpg", L"b.jpg", L"c.jpg"}));
}

TEST(SortKeys, ValuesWithUnknownsFirstAndEqualKeysInLoadOrder) {
    // Sizes past 4 GB, dates before 1970, and what could not be read.
    const std::vector<SortValues> entries = {
        Entry(L"five-gb", 5368709120ULL, 1104537600), Entry(L"small", 999, -315619200),
        Entry(L"unknown", std::nullopt, std::nullopt), Entry(L"also-small", 999, 915148800)};
    EXPECT_EQ(Sorted(entries, 2), (Order{L"unknown", L"small", L"also-small", L"five-gb"}));
    EXPECT_EQ(Sorted(entries, 3), (Order{L"five-gb", L"small", L"also-small", L"unknown"}));
    EXPECT_EQ(Sorted(entries, 4), (Order{L"unknown", L"small", L"also-small", L"five-gb"}));
    const std::vector<SortValues> pictures = {Entry(L"1024x768", 0, 0, 1024, 768),
                                              Entry(L"800x600", 0, 0, 800, 600),
                                              Entry(L"1024x1000", 0, 0, 1024, 1000)};
    EXPECT_EQ(Sorted(pictures, 7), (Order{L"1024x1000", L"1024x768", L"800x600"}));
}
