#include "DelayLineParams.h"

#include <cmath>

double ParamDlyTime::toReal(float normalized) const
{
    return std::exp2(kOctaves * mppi::clampUnit(normalized) + kLowestOctave);
}

float ParamDlyTime::toNormalized(double real) const
{
    return static_cast<float>((std::log2(real) - kLowestOctave) / kOctaves);
}

double ParamDlyTime::parse(const std::string& text, bool& understood) const
{
    return parseBeats(text, kMinBeats, kMaxBeats, understood);
}
