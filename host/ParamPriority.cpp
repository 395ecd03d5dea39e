#include "ParamPriority.h"

namespace mppi {

bool ParamPriority::test(int priority, double now) const
{
    return !(priority < priority_.load(std::memory_order_relaxed) &&
             now <= lastTime_.load(std::memory_order_relaxed) + kHoldSeconds);
}

bool ParamPriority::accept(int priority, double now)
{
    if (!test(priority, now))
        return false;
    lastTime_.store(now, std::memory_order_relaxed);
    priority_.store(priority, std::memory_order_relaxed);
    return true;
}

void ParamPriority::release(int priority)
{
    int held = priority;
    priority_.compare_exchange_strong(held, 0, std::memory_order_relaxed);
}

} // namespace mppi
