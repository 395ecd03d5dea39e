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
        segments_[i][0] = static_cast<float>(c0 - c1 * s + c2 * s * s - c3 * s * s * s);
        segments_[i][1] = static_cast<float>(c1 - 2.0 * c2 * s + 3.0 * c3 * s * s);
        segments_[i][2] = static_cast<float>(c2 - 3.0 * c3 * s);
        segments_[i][3] = static_cast<float>(c3);
    }
}

float TableSine::operator()(float u) const
{
    // Beyond 2^24 a float has no fraction left, and the segment index would overflow.
    if (!(std::fabs(u) < 16777216.0f))
        return 0.0f;
    const int whole = static_cast<int>(std::floor(u));
    // Bring u into [0, 16) by removing whole periods; the segment is the phase unit within it.
    const float inPeriod = u - static_cast<float>(whole & ~15);
    const auto& a = segments_[whole & 15];
    return ((a[3] * inPeriod + a[2]) * inPeriod + a[1]) * inPeriod + a[0];
}

} // namespace mppi
