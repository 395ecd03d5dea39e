#include "TapUnitParams.h"

#include <cmath>

double ParamTapTime::toReal(float normalized) const
{
    return kMaxBeats * (std::pow(64.0, mppi::clampUnit(normalized)) - 1.0) / 63.0;
}

float ParamTapTime::toNormalized(double real) const
{
    return static_cast<float>(std::log2(1.0 + 63.0 * real / kMaxBeats) / 6.0);
}

double ParamTapTime::parse(const std::string& text, bool& understood) const
{
    return parseBeats(text, 0.0, kMaxBeats, understood);
}
