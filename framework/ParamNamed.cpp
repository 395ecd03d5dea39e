#include "ParamNamed.h"

namespace mppi {

void ParamNamed::init(double defaultReal, int automationLevel, const std::string& storedName)
{
    NormalizedParamInterface::init(defaultReal, automationLevel);
    storedName_ = storedName;
}

} // namespace mppi
