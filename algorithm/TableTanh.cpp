#include "TableTanh.h"

#include <cmath>

const TableTanh& TableTanh::instance()
{
    static const TableTanh table;
    return table;
}

TableTanh::TableTanh()
{
    // Half-width of the central difference that gives each knot's slope.
    constexpr double kHalfWidth = 1.0 / 2048.0;
    double value[kSegments + 1];
    double slope[kSegments + 1];
    for (int i = 0; i <= kSegments; ++i) {
        const double x = i - kHalfRange;
        value[i] = std::tanh(x);
        slope[i] = (std::tanh(x + kHalfWidth) - std::tanh(x - kHalfWidth)) * 1024.0;
    }
    for (int i = 0; i < kSegments; ++i) {
        // Hermite segment in t = (u + 8) - i, re-expressed in u + 8.
        const double c0 = value[i];
        const double c1 = slope[i];
        const double c2 = 3.0 * (value[i + 1] - value[i]) - 2.0 * slope[i] - slope[i + 1];
        const double c3 = 2.0 * (value[i] - value[i + 1]) + slope[i] + slope[i + 1];
        const double s = i;
        a0_[i] = static_cast<float>(c0 - c1 * s + c2 * s * s - c3 * s * s * s);
        a1_[i] = static_cast<float>(c1 - 2.0 * c2 * s + 3.0 * c3 * s * s);
        a2_[i] = static_cast<float>(c2 - 3.0 * c3 * s);
        a3_[i] = static_cast<float>(c3);
    }
}
