#pragma once

#include "ParamCurves.h"
#include "ParamKinds.h"
#include "ParamTapMixin.h"
#include "TempoTimeParam.h"

// The tap parameters: "Tap 1 time", "Tap 1 level", "Tap 1 pan".

// Tap time in beats, 0 to 4 on a curve that gives the short times room: 4 (64^n - 1) / 63.
class ParamTapTime : public virtual mppi::ParamNumbered, public TempoTimeParam<mppi::ParamTapMixin> {
public:
    static constexpr double kMaxBeats = 4.0;
    // The curve (c^x - 1) / (c - 1) from 0 to the longest time: half-way is a ninth of it.
    static constexpr double kCurvature = 64.0;

    using TempoTimeParam::TempoTimeParam;

    std::string nameSuffix() const override { return " time"; }
    double toReal(float normalized) const override;
    float toNormalized(double real) const override;
    double parse(const std::string& text, bool& understood) const override;
};

class ParamTapLvl : public virtual mppi::ParamNumbered, public GainParam<mppi::ParamTapMixin> {
public:
    std::string nameSuffix() const override { return " level"; }
};

class ParamTapPan : public virtual mppi::ParamNumbered, public PanParam<mppi::ParamTapMixin> {
public:
    std::string nameSuffix() const override { return " pan"; }
};
