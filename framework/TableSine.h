#pragma once

#include <array>

namespace mppi {

// Sine of period 16 as sixteen cubic Hermite segments, one per phase unit. Built once per
// process; evaluation is one table look-up and a third-order polynomial.
class TableSine {
public:
    // The process-wide table, built on first use.
    static const TableSine& instance();

    // sin(2 * pi * u / 16); 0 where |u| is too large to hold a phase, or not finite.
    float operator()(float u) const;

private:
    TableSine();

    // Polynomial coefficients A0..A3 of each segment, in u itself rather than in u - segment.
    std::array<std::array<float, 4>, 16> segments_{};
};

} // namespace mppi
