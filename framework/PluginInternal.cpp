#include "PluginInternal.h"

namespace mppi {

void PluginInternal::addParam(std::shared_ptr<NormalizedParamInterface> param)
{
    params_.push_back(std::move(param));
}

NormalizedParamInterface* PluginInternal::registered(int index) const
{
    if (index < 0 || index >= registeredCount())
        return nullptr;
    return params_[static_cast<std::size_t>(index)].get();
}

} // namespace mppi
