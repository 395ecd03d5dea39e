#pragma once

#include "NormalizedParamInterface.h"
#include "ParamTexts.h"
#include "TextFormat.h"
#include "UnitRange.h"

#include <cmath>

// Behaviours shared by several parameter classes, each added on top of the class's base (the
// line or tap mixin, or the plain interface for the global parameters).

// A gain from 0 to 4 on a curve that gives the low levels room: 4 (256^n - 1) / 255, so
// normalized 0.75 is about unity. Shown and typed in decibels.
template <class Base>
class GainParam : public Base {
public:
    static constexpr double kMaxGain = 4.0;

    std::string unitLabel() const override { return "dB"; }
    double toReal(float normalized) const override
    {
        return kMaxGain * (std::pow(256.0, mppi::clampUnit(normalized)) - 1.0) / 255.0;
    }
    float toNormalized(double real) const override
    {
        return static_cast<float>(std::log(1.0 + 255.0 * real / kMaxGain) / std::log(256.0));
    }
    std::string valueText(double real) const override { return mppi::gainText(real); }
    double parse(const std::string& text, bool& understood) const override
    {
        return mppi::parseGain(text, kMaxGain, understood);
    }
};

// A pan position from -1 (left) to +1 (right), shown as "L 50", "Mid", "R 100".
template <class Base>
class PanParam : public Base {
public:
    std::string unitLabel() const override { return "%"; }
    double toReal(float normalized) const override { return 2.0 * mppi::clampUnit(normalized) - 1.0; }
    float toNormalized(double real) const override { return static_cast<float>((real + 1.0) / 2.0); }
    std::string valueText(double real) const override { return algo_text::panText(real); }
    double parse(const std::string& text, bool& understood) const override
    {
        return algo_text::parsePan(text, understood);
    }
};

// A fraction from 0 to 1, equal in both views, shown and typed as a percentage.
template <class Base, int Decimals>
class PercentParam : public Base {
public:
    std::string unitLabel() const override { return "%"; }
    double toReal(float normalized) const override { return mppi::clampUnit(normalized); }
    float toNormalized(double real) const override { return static_cast<float>(real); }
    std::string valueText(double real) const override
    {
        return Decimals == 1 ? algo_text::percentOneDecimalText(real) : mppi::percentText(real);
    }
    double parse(const std::string& text, bool& understood) const override
    {
        return mppi::parsePercent(text, understood);
    }
};
