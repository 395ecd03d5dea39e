#pragma once

#include "ParamNamed.h"
#include "UnitRange.h"

namespace mppi {

// LFO depth, 0 to 1, shown and typed as a percentage.
class ParamLfoDepth : public ParamNamed {
public:
    std::string nameSuffix() const override { return " LFO depth"; }
    std::string unitLabel() const override { return "%"; }
    double toReal(float normalized) const override { return clampUnit(normalized); }
    float toNormalized(double real) const override { return static_cast<float>(real); }
    std::string valueText(double real) const override;
    double parse(const std::string& text, bool& understood) const override;
};

} // namespace mppi
