#include "core/Geometry.h"
#include <cmath>
#include <limits>

namespace tessary {

bool Intersects(const IntRect& a, const IntRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

double RoundHalfEven(double value) {
    return value - std::remainder(value, 1.0);
}

int RoundToInt(double value) {
    // Clamped before rounding: the rounding of an infinity is not a number.
    if (std::isnan(value))
        return 0;
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(RoundHalfEven(value));
}

} // namespace tessary
