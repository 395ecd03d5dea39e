#include "PlatformWindowFactory.h"
#include "WindowWin32.h"

namespace pengui {

std::unique_ptr<PlatformWindowInterface> create_platform_window()
{
    return std::make_unique<WindowWin32>();
}

bool platform_windows_open()
{
    return true;
}

} // namespace pengui
