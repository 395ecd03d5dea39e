#include "TapUnitParams.h"

#include <cmath>

double ParamTapTime::toReal(float normalized) const
{
    return kMaxBeats * (std::pow(kCurvature, mppi::clampUnit(normalized)) - 1.0) / (kCurvature - 1.0);
}

float ParamTapTime::toNormalized(double real) const
{
    return static_cast<float>(std::log2(1.0 + (kCurvature - 1.0) * real / kMaxBeats) / mppi::octavesIn(kCurvature));
}

double ParamTapTime::parse(const std::string& text, bool& understood) const
{
    return parseBeats(text, 0.0, kMaxBeats, understood);
}
