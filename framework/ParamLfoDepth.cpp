#include "ParamLfoDepth.h"

#include "TextFormat.h"

namespace mppi {

std::string ParamLfoDepth::valueText(double real) const
{
    return percentText(real);
}

double ParamLfoDepth::parse(const std::string& text, bool& understood) const
{
    return parsePercent(text, understood);
}

} // namespace mppi
