#pragma once

#include "ParamDlyMixin.h"
#include "ParamCurves.h"
#include "ParamKinds.h"
#include "TempoTimeParam.h"

// The delay line's own parameters: "D1 level", "D1 pan", "D1 time", "D1 fdbk".

class ParamDlyLvl : public virtual mppi::ParamNumbered, public GainParam<mppi::ParamDlyMixin> {
public:
    std::string nameSuffix() const override { return " level"; }
};

class ParamDlyPan : public virtual mppi::ParamNumbered, public PanParam<mppi::ParamDlyMixin> {
public:
    std::string nameSuffix() const override { return " pan"; }
};

// Delay time in beats, 1/128 to 4 on an exponential scale.
class ParamDlyTime : public virtual mppi::ParamNumbered, public TempoTimeParam<mppi::ParamDlyMixin> {
public:
    static constexpr double kMinBeats = 1.0 / 128.0;
    static constexpr double kMaxBeats = 4.0;
    static constexpr double kLowestOctave = mppi::octavesIn(kMinBeats);
    static constexpr double kOctaves = mppi::octavesIn(kMaxBeats / kMinBeats);

    using TempoTimeParam::TempoTimeParam;

    std::string nameSuffix() const override { return " time"; }
    double toReal(float normalized) const override;
    float toNormalized(double real) const override;
    double parse(const std::string& text, bool& understood) const override;
};

class ParamDlyFdbk : public virtual mppi::ParamNumbered, public PercentParam<mppi::ParamDlyMixin, 1> {
public:
    std::string nameSuffix() const override { return " fdbk"; }
};
