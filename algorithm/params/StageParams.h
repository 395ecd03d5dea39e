#pragma once

#include "ParamDlyMixin.h"
#include "ParamCurves.h"
#include "ParamKinds.h"

// The parameters of the filter, distortion and shelf stages of a delay line.

// "Low-pass", "High-pass", "Resonator" or "Band-pass"; names cannot be typed.
class ParamDlyFiltType : public virtual mppi::ParamNumbered, public mppi::ParamDlyMixin {
public:
    std::string nameSuffix() const override { return " filt type"; }
    std::string unitLabel() const override { return {}; }
    double toReal(float normalized) const override;
    float toNormalized(double real) const override { return static_cast<float>(real / 3.0); }
    std::string valueText(double real) const override;
    double parse(const std::string& text, bool& understood) const override;
};

// Filter cutoff, 40 to 10240 Hz over eight octaves.
class ParamDlyFiltCutoff : public virtual mppi::ParamNumbered, public mppi::ParamDlyMixin {
public:
    static constexpr double kMin = 40.0;
    static constexpr double kMax = 10240.0;
    static constexpr double kOctaves = mppi::octavesIn(kMax / kMin);

    std::string nameSuffix() const override { return " filt cutoff"; }
    std::string unitLabel() const override { return "Hz"; }
    double toReal(float normalized) const override;
    float toNormalized(double real) const override;
    std::string valueText(double real) const override;
    double parse(const std::string& text, bool& understood) const override;
};

// Filter resonance, 1/16 to 16, shown in decibels.
class ParamDlyFiltReso : public virtual mppi::ParamNumbered, public mppi::ParamDlyMixin {
public:
    static constexpr double kMin = 0.0625;
    static constexpr double kMax = 16.0;
    static constexpr double kOctaves = mppi::octavesIn(kMax / kMin);
    static_assert(kMin * kMax == 1.0, "unity in the middle");

    std::string nameSuffix() const override { return " filt reso"; }
    std::string unitLabel() const override { return "dB"; }
    double toReal(float normalized) const override;
    float toNormalized(double real) const override;
    std::string valueText(double real) const override;
    double parse(const std::string& text, bool& understood) const override;
};

// Filter sharpness Q, 0.1 to 10.
class ParamDlyFiltQ : public virtual mppi::ParamNumbered, public mppi::ParamDlyMixin {
public:
    static constexpr double kMin = 0.1;
    static constexpr double kMax = 10.0;
    // 10^-1 to 10^1: tenths cannot be halved exactly, so the decades are named, not derived.
    static constexpr double kLowestDecade = -1.0;
    static constexpr double kDecades = 2.0;

    std::string nameSuffix() const override { return " filt Q"; }
    std::string unitLabel() const override { return {}; }
    double toReal(float normalized) const override;
    float toNormalized(double real) const override;
    std::string valueText(double real) const override;
    double parse(const std::string& text, bool& understood) const override;
};

// Blend of the two distortion curves, 0 "Overdrive" to 1 "Puncher"; names cannot be typed.
class ParamDlyDistType : public virtual mppi::ParamNumbered, public mppi::ParamDlyMixin {
public:
    std::string nameSuffix() const override { return " disto type"; }
    std::string unitLabel() const override { return {}; }
    double toReal(float normalized) const override { return mppi::clampUnit(normalized); }
    float toNormalized(double real) const override { return static_cast<float>(real); }
    std::string valueText(double real) const override;
    double parse(const std::string& text, bool& understood) const override;
};

class ParamDlyDistLvl : public virtual mppi::ParamNumbered, public PercentParam<mppi::ParamDlyMixin, 1> {
public:
    std::string nameSuffix() const override { return " disto lvl"; }
};

// High-shelf cutoff, 200 to 20000 Hz over two decades.
class ParamDlyHsCutoff : public virtual mppi::ParamNumbered, public mppi::ParamDlyMixin {
public:
    static constexpr double kMin = 200.0;
    static constexpr double kMax = 20000.0;
    static constexpr double kDecades = 2.0;
    static_assert(kMin * 100.0 == kMax, "two decades");

    std::string nameSuffix() const override { return " HS cutoff"; }
    std::string unitLabel() const override { return "Hz"; }
    double toReal(float normalized) const override;
    float toNormalized(double real) const override;
    std::string valueText(double real) const override;
    double parse(const std::string& text, bool& understood) const override;
};

// High-shelf gain, 0 to 1 (a shelf that only cuts), shown in decibels.
class ParamDlyHsLvl : public virtual mppi::ParamNumbered, public mppi::ParamDlyMixin {
public:
    std::string nameSuffix() const override { return " HS level"; }
    std::string unitLabel() const override { return "dB"; }
    double toReal(float normalized) const override { return mppi::clampUnit(normalized); }
    float toNormalized(double real) const override { return static_cast<float>(real); }
    std::string valueText(double real) const override { return mppi::gainText(real); }
    double parse(const std::string& text, bool& understood) const override;
};
