#include "WideLoops.h"

namespace mppi::wide_loops {

std::atomic<bool> detail::wideEnabled{available()};

bool available()
{
#if defined(__i386__) || defined(__x86_64__)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
#else
    return false;
#endif
}

void setEnabled(bool enabled)
{
    detail::wideEnabled.store(enabled && available(), std::memory_order_relaxed);
}

} // namespace mppi::wide_loops
