#pragma once

#include <array>

// tanh from sixteen cubic Hermite segments of width 1 over [-8, 8), constant outside. Built
// once per process; evaluation is one table look-up and a third-order polynomial.
class TableTanh {
public:
    static const TableTanh& instance();

    float operator()(float u) const
    {
        // Compared before the index is formed, so no rounding can step outside the table.
        if (!(u > -kHalfRange))
            return low_;
        if (!(u < kHalfRange))
            return high_;
        const float shifted = u + kHalfRange;
        int segment = static_cast<int>(shifted);
        segment = segment < kSegments ? segment : kSegments - 1;
        const auto& a = segments_[static_cast<std::size_t>(segment)];
        return ((a[3] * shifted + a[2]) * shifted + a[1]) * shifted + a[0];
    }

private:
    static constexpr int kSegments = 16;
    static constexpr float kHalfRange = 8.0f;

    TableTanh();

    // Coefficients A0..A3 of each segment in the shifted coordinate u + 8.
    std::array<std::array<float, 4>, kSegments> segments_{};
    float low_ = -1.0f;
    float high_ = 1.0f;
};
