#pragma once


// tanh from sixteen cubic Hermite segments of width 1 over [-8, 8], held at the ends outside. Built
// once per process; evaluation is one table look-up and a third-order polynomial.
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
        segment = segment < kSegments - 1 ? segment : kSegments - 1;
        return ((a3_[segment] * shifted + a2_[segment]) * shifted + a1_[segment]) * shifted + a0_[segment];
    }

private:
    static constexpr int kSegments = 16;
    static constexpr float kHalfRange = 8.0f;

    TableTanh();

    // Coefficients A0..A3 of each segment in the shifted coordinate u + 8, one array per power
    // so that look-ups vectorise. The last segment ends at tanh(8).
    float a0_[kSegments] = {};
    float a1_[kSegments] = {};
    float a2_[kSegments] = {};
    float a3_[kSegments] = {};
};
