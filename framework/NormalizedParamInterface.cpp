#include "NormalizedParamInterface.h"

#include "NotifiedInterface.h"

namespace mppi {

void NormalizedParamInterface::init(double defaultReal, int automationLevel)
{
    real_.store(defaultReal, std::memory_order_relaxed);
    normalized_.store(toNormalized(defaultReal), std::memory_order_relaxed);
    automationLevel_ = automationLevel;
}

void NormalizedParamInterface::setNormalized(float normalized)
{
    normalized_.store(normalized, std::memory_order_relaxed);
    real_.store(toReal(normalized), std::memory_order_relaxed);
    changed();
}

void NormalizedParamInterface::setReal(double real)
{
    real_.store(real, std::memory_order_relaxed);
    normalized_.store(toNormalized(real), std::memory_order_relaxed);
    changed();
}

void NormalizedParamInterface::changed()
{
    valueChanged();
    if (listener_)
        listener_->notify(this);
}

} // namespace mppi
