#include "SpinLock.h"

#include <sched.h>

namespace sys {

void SpinLock::yield()
{
    sched_yield();
}

} // namespace sys
