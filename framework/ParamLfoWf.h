#pragma once

#include "ParamNamed.h"

namespace mppi {

// LFO waveform, one of ten, shown by name. Names cannot be typed.
class ParamLfoWf : public ParamNamed {
public:
    std::string nameSuffix() const override { return " LFO WF"; }
    std::string unitLabel() const override { return {}; }
    double toReal(float normalized) const override;
    float toNormalized(double real) const override;
    std::string valueText(double real) const override;
    double parse(const std::string& text, bool& understood) const override;
};

} // namespace mppi
