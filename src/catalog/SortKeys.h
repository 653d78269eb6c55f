// The eight sort orders of the thumbnail list and how entries compare under each. Entries compare
// by their values (bytes, time, width and height), never by the padded texts the list shows.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessary {

// In the order of the list's columns: entry text, "Size", "Date", "Resolution".
enum class SortColumn { Name = 0, Size = 1, Date = 2, Resolution = 3 };

struct SortOrder {
    SortColumn column = SortColumn::Name;
    bool descending = false;
    friend bool operator==(const SortOrder&, const SortOrder&) = default;
};

constexpr int kSortOrderCount = 8;
// The order for a SortBy index (descending when odd, column = index / 2); nothing outside 0..7.
std::optional<SortOrder> SortOrderFromIndex(int sortBy);

// What one list entry is sorted by.
struct SortValues {
    std::wstring name;
    std::optional<std::uint64_t> size;     // nothing when the file could not be looked up
    std::optional<std::int64_t> writeTime; // any chronological count (e.g. file-time ticks)
    int width = 0, height = 0;
};

// Compares two names, <0, 0 or >0; the program passes the locale's case-insensitive comparison.
using NameCompare = std::function<int(const std::wstring&, const std::wstring&)>;

// <0 when a comes first in the given order, 0 when the keys are equal, >0 otherwise. Missing sizes
// and dates come before every value in ascending order (after them in descending order).
int CompareForSort(const SortValues& a, const SortValues& b, SortOrder order, const NameCompare& names);

} // namespace tessary
