#include "SpinLock.h"

#include <windows.h>

namespace sys {

void SpinLock::yield()
{
    SwitchToThread();
}

} // namespace sys
