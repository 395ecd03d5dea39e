#include "TapUnitParams.h"

#include "TimeText.h"

#include <cmath>

double ParamTapTime::toReal(float normalized) const
{
    return kMaxBeats * (std::pow(64.0, mppi::clampUnit(normalized)) - 1.0) / 63.0;
}

float ParamTapTime::toNormalized(double real) const
{
    return static_cast<float>(std::log2(1.0 + 63.0 * real / kMaxBeats) / 6.0);
}

std::string ParamTapTime::valueText(double real) const
{
    return time_text::beatsText(tempo_, real);
}

double ParamTapTime::parse(const std::string& text, bool& understood) const
{
    return time_text::parseBeats(tempo_, text, 0.0, kMaxBeats, understood);
}
