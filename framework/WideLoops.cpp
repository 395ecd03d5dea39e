#include "WideLoops.h"

#include <atomic>

namespace mppi::wide_loops {

namespace {

std::atomic<bool> wideEnabled{available()};

} // namespace

bool available()
{
#if defined(__i386__) || defined(__x86_64__)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

bool enabled()
{
    return wideEnabled.load(std::memory_order_relaxed);
}

void setEnabled(bool enabled)
{
    wideEnabled.store(enabled && available(), std::memory_order_relaxed);
}

} // namespace mppi::wide_loops
