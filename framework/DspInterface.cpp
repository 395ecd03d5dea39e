#include "DspInterface.h"

#include "NormalizedParamInterface.h"

namespace mppi {

NormalizedParamInterface* DspInterface::findParam(const std::string& name)
{
    for (int index = 0; index < paramCount(); ++index)
        if (NormalizedParamInterface* candidate = param(index); candidate && candidate->name() == name)
            return candidate;
    return nullptr;
}

} // namespace mppi
