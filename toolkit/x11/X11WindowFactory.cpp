#include "PlatformWindowFactory.h"
#include "WindowX11.h"

namespace pengui {

std::unique_ptr<PlatformWindowInterface> create_platform_window()
{
    return std::make_unique<WindowX11>();
}

bool platform_windows_open()
{
    return true;
}

} // namespace pengui
