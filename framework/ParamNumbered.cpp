#include "ParamNumbered.h"

namespace mppi {

void ParamNumbered::init(double defaultReal, int automationLevel, int unitNumber)
{
    NormalizedParamInterface::init(defaultReal, automationLevel);
    unitNumber_ = unitNumber;
}

std::string ParamNumbered::name() const
{
    return namePrefix() + std::to_string(unitNumber() + 1) + nameSuffix();
}

} // namespace mppi
