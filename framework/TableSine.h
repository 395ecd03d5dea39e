#pragma once

#include "HermiteSegments.h"

#include <cmath>
#include <cstddef>

namespace mppi {

// Sine of period 16 as sixteen cubic Hermite segments, one per phase unit. Built once per
// process; evaluation is one table look-up and a third-order polynomial.
class TableSine {
public:
    // The process-wide table, built on first use.
    static const TableSine& instance();

    // Phases beyond 2^23, where a float has no fraction left, are held there.
    static constexpr float kLargestPhase = 8388608.0f;

    // sin(2 * pi * u / 16). Without branches, so that loops over samples vectorise.
    float operator()(float u) const
    {
        u = u > -kLargestPhase ? u : -kLargestPhase;
        u = u < kLargestPhase ? u : kLargestPhase;
        // floor(u) without a library call: truncate, then step down for negative fractions.
        int whole = static_cast<int>(u);
        whole -= static_cast<float>(whole) > u ? 1 : 0;
        // Bring u into [0, 16) by removing whole periods; the segment is the phase unit within it.
        const float inPeriod = u - static_cast<float>(whole & ~15);
        const int segment = whole & 15;
        return segments_.evaluate(segment, inPeriod);
    }

    const HermiteSegments& segments() const { return segments_; }

private:
    TableSine();

    HermiteSegments segments_;
};

} // namespace mppi
