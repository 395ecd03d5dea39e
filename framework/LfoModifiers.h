#pragma once

#include <algorithm>
#include <cmath>

// The formulas that combine an LFO group's base value b, oscillator output v and depth d.
// Each block names its modifiers by deriving from one of these with its own clamp range.
namespace mppi {

// Pan: the swing shrinks towards the sides, b + (1 - |b|) v d, within [-1, 1].
struct PanSpreadModifier {
    static double apply(double b, double v, double d) { return std::clamp(b + (1.0 - std::fabs(b)) * v * d, -1.0, 1.0); }
};

// Proportional swing, b (1 + v d).
template <double Low, double High>
struct ScaledModifier {
    static double apply(double b, double v, double d) { return std::clamp(b * (1.0 + v * d), Low, High); }
};

// Additive swing of up to half the range, b + v d / 2.
template <double Low, double High>
struct OffsetModifier {
    static double apply(double b, double v, double d) { return std::clamp(b + v * d * 0.5, Low, High); }
};

// Swing of up to two octaves either way, b 4^(v d).
template <double Low, double High>
struct ExponentialModifier {
    static double apply(double b, double v, double d) { return std::clamp(b * std::pow(4.0, v * d), Low, High); }
};

} // namespace mppi
