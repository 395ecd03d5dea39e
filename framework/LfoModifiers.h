#pragma once

#include <algorithm>
#include <cmath>

// The formulas that combine an LFO group's base value b, oscillator output v and depth d.
// Each block names its modifiers by deriving from one of these and giving its clamp range:
//
//   struct TimeModifier : mppi::ScaledModifier<TimeModifier> {
//       static constexpr double kLow = 1.0 / 128.0, kHigh = 4.0;
//   };
namespace mppi {

// Pan: the swing shrinks towards the sides, b + (1 - |b|) v d, within [-1, 1].
struct PanSpreadModifier {
    static double apply(double b, double v, double d) { return std::clamp(b + (1.0 - std::fabs(b)) * v * d, -1.0, 1.0); }
};

// Proportional swing, b (1 + v d).
template <class Range>
struct ScaledModifier {
    static double apply(double b, double v, double d) { return std::clamp(b * (1.0 + v * d), Range::kLow, Range::kHigh); }
};

// Additive swing of up to half the range, b + v d / 2.
template <class Range>
struct OffsetModifier {
    static double apply(double b, double v, double d) { return std::clamp(b + v * d * 0.5, Range::kLow, Range::kHigh); }
};

// Swing of up to two octaves either way, b 4^(v d).
template <class Range>
struct ExponentialModifier {
    static double apply(double b, double v, double d)
    {
        return std::clamp(b * std::pow(4.0, v * d), Range::kLow, Range::kHigh);
    }
};

} // namespace mppi
