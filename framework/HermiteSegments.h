#pragma once

#include <cmath>

namespace mppi {

// A curve as sixteen cubic Hermite segments over the table coordinate x in [0, 16], segment i
// covering [i, i + 1], for curves that are evaluated per sample. The knots take the curve's
// values and slopes by central difference; each polynomial is stored in x itself, one array
// per power, so that evaluation is Horner's rule and look-ups vectorise.
class HermiteSegments {
public:
    static constexpr int kCount = 16;

    // Fits the segments to `curve`, a function of the table coordinate.
    template <class Curve>
    void fit(Curve curve)
    {
        // Half-width of the central difference that gives each knot's slope.
        constexpr double kHalfWidth = 1.0 / 2048.0;
        double value[kCount + 1];
        double slope[kCount + 1];
        for (int i = 0; i <= kCount; ++i) {
            value[i] = curve(static_cast<double>(i));
            slope[i] = (curve(i + kHalfWidth) - curve(i - kHalfWidth)) / (2.0 * kHalfWidth);
        }
        for (int i = 0; i < kCount; ++i) {
            // The segment in t = x - i, then re-expressed in x by expanding the powers of t.
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

    // Segment `segment` (0 to 15) at table coordinate x.
    float evaluate(int segment, float x) const
    {
        return ((a3_[segment] * x + a2_[segment]) * x + a1_[segment]) * x + a0_[segment];
    }

    // The sixteen segments' coefficients of x^power (0 to 3), for evaluations that hold the
    // table in registers.
    const float* coefficients(int power) const
    {
        const float* const all[] = {a0_, a1_, a2_, a3_};
        return all[power];
    }

private:
    float a0_[kCount] = {};
    float a1_[kCount] = {};
    float a2_[kCount] = {};
    float a3_[kCount] = {};
};

} // namespace mppi
