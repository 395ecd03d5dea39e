#include "DelayLineParams.h"

#include "TimeText.h"

#include <cmath>

double ParamDlyTime::toReal(float normalized) const
{
    return std::exp2(9.0 * mppi::clampUnit(normalized) - 7.0);
}

float ParamDlyTime::toNormalized(double real) const
{
    return static_cast<float>((std::log2(real) + 7.0) / 9.0);
}

std::string ParamDlyTime::valueText(double real) const
{
    return time_text::beatsText(tempo_, real);
}

double ParamDlyTime::parse(const std::string& text, bool& understood) const
{
    return time_text::parseBeats(tempo_, text, kMinBeats, kMaxBeats, understood);
}
