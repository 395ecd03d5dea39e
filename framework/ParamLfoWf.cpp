#include "ParamLfoWf.h"

#include "LfoGenerator.h"
#include "UnitRange.h"

#include <cmath>

namespace mppi {

namespace {

constexpr double kLastWaveform = LfoGenerator::kWaveformCount - 1;

} // namespace

double ParamLfoWf::toReal(float normalized) const
{
    return std::floor(kLastWaveform * clampUnit(normalized) + 0.5);
}

float ParamLfoWf::toNormalized(double real) const
{
    return static_cast<float>(real / kLastWaveform);
}

std::string ParamLfoWf::valueText(double real) const
{
    return LfoGenerator::waveformName(LfoGenerator::typeOf(real));
}

double ParamLfoWf::parse(const std::string&, bool&) const
{
    return 0.0;
}

} // namespace mppi
