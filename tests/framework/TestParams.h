#pragma once

#include "NotifiedInterface.h"
#include "ParamDlyMixin.h"
#include "ParamTapMixin.h"

#include <vector>

// Small concrete parameters and a recording listener for the framework tests.
namespace testing_params {

// A unit-interval value with identity conversions and a "%" text.
class UnitParam : public virtual mppi::ParamNumbered {
public:
    std::string unitLabel() const override { return "u"; }
    double toReal(float normalized) const override { return normalized; }
    float toNormalized(double real) const override { return static_cast<float>(real); }
    std::string valueText(double real) const override { return std::to_string(real); }
    double parse(const std::string&, bool&) const override { return 0.0; }
};

class LineLevel : public UnitParam, public mppi::ParamDlyMixin {
public:
    std::string nameSuffix() const override { return " level"; }
};

class TapPan : public UnitParam, public mppi::ParamTapMixin {
public:
    std::string nameSuffix() const override { return " pan"; }
};

// Counts notifications and remembers their sources.
class RecordingListener : public mppi::NotifiedInterface {
public:
    void notify(mppi::NotifierInterface* source) override { sources.push_back(source); }
    std::vector<mppi::NotifierInterface*> sources;
};

} // namespace testing_params
