#include "DelayLineParams.h"

#include <cmath>

double ParamDlyTime::toReal(float normalized) const
{
    return std::exp2(9.0 * mppi::clampUnit(normalized) - 7.0);
}

float ParamDlyTime::toNormalized(double real) const
{
    return static_cast<float>((std::log2(real) + 7.0) / 9.0);
}

double ParamDlyTime::parse(const std::string& text, bool& understood) const
{
    return parseBeats(text, kMinBeats, kMaxBeats, understood);
}
