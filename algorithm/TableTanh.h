#pragma once

#include "HermiteSegments.h"

// tanh from sixteen cubic Hermite segments of width 1 over [-8, 8], held at the ends outside.
// Built once per process; evaluation is one table look-up and a third-order polynomial.
class TableTanh {
public:
    static const TableTanh& instance();

    // Without branches, so that loops over samples vectorise. NaN reads as -8.
    float operator()(float u) const
    {
        u = u > -kHalfRange ? u : -kHalfRange;
        u = u < kHalfRange ? u : kHalfRange;
        const float shifted = u + kHalfRange;
        // The upper end belongs to the last segment, so no rounding can step outside the table.
        int segment = static_cast<int>(shifted);
        segment = segment < kLastSegment ? segment : kLastSegment;
        return segments_.evaluate(segment, shifted);
    }

    static constexpr int kLastSegment = mppi::HermiteSegments::kCount - 1;
    static constexpr float kHalfRange = 8.0f;

    const mppi::HermiteSegments& segments() const { return segments_; }

private:
    TableTanh();

    // In the shifted coordinate u + 8; the last segment ends at tanh(8).
    mppi::HermiteSegments segments_;
};
