#include "catalog/SortKeys.h"

namespace tessary {

namespace {

template <typename T> int ThreeWay(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// Missing values first.
template <typename T> int CompareOptional(const std::optional<T>& a, const std::optional<T>& b) {
    if (a && b)
        return ThreeWay(*a, *b);
    return ThreeWay(a.has_value(), b.has_value());
}

int CompareAscending(const SortValues& a, const SortValues& b, SortColumn column, const NameCompare& names) {
    switch (column) {
    case SortColumn::Name:
        return ThreeWay(names(a.name, b.name), 0); // just its sign, so it can be negated
    case SortColumn::Size:
        return CompareOptional(a.size, b.size);
    case SortColumn::Date:
        return CompareOptional(a.writeTime, b.writeTime);
    case SortColumn::Resolution:
        if (int byWidth = ThreeWay(a.width, b.width))
            return byWidth;
        return ThreeWay(a.height, b.height);
    }
    return 0;
}

} // namespace

std::optional<SortOrder> SortOrderFromIndex(int sortBy) {
    if (sortBy < 0 || sortBy >= kSortOrderCount)
        return std::nullopt;
    return SortOrder{static_cast<SortColumn>(sortBy / 2), sortBy % 2 == 1};
}

int CompareForSort(const SortValues& a, const SortValues& b, SortOrder order, const NameCompare& names) {
    const int c = CompareAscending(a, b, order.column, names);
    return order.descending ? -c : c;
}

} // namespace tessary
