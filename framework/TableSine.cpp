#include "TableSine.h"

#include <cmath>
#include <numbers>

namespace mppi {

const TableSine& TableSine::instance()
{
    static const TableSine table;
    return table;
}

TableSine::TableSine()
{
    constexpr double kStep = std::numbers::pi / 8.0;
    // Half-width of the central difference that gives each knot's slope per phase unit.
    constexpr double kHalfWidth = 1.0 / 2048.0;
    double value[17];
    double slope[17];
    for (int i = 0; i <= 16; ++i) {
        value[i] = std::sin(i * kStep);
        slope[i] = (std::sin((i + kHalfWidth) * kStep) - std::sin((i - kHalfWidth) * kStep)) * 1024.0;
    }
    for (int i = 0; i < 16; ++i) {
        // Hermite segment in t = u - i: c0 + c1 t + c2 t^2 + c3 t^3.
        const double c0 = value[i];
        const double c1 = slope[i];
        const double c2 = 3.0 * (value[i + 1] - value[i]) - 2.0 * slope[i] - slope[i + 1];
        const double c3 = 2.0 * (value[i] - value[i + 1]) + slope[i] + slope[i + 1];
        // Re-expressed in u by expanding the powers of (u - i).
        const double s = i;
        a0_[i] = static_cast<float>(c0 - c1 * s + c2 * s * s - c3 * s * s * s);
        a1_[i] = static_cast<float>(c1 - 2.0 * c2 * s + 3.0 * c3 * s * s);
        a2_[i] = static_cast<float>(c2 - 3.0 * c3 * s);
        a3_[i] = static_cast<float>(c3);
    }
}

} // namespace mppi
