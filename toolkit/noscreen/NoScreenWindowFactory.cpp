#include "NoScreenWindow.h"
#include "PlatformWindowFactory.h"

namespace pengui {

std::unique_ptr<PlatformWindowInterface> create_platform_window()
{
    return std::make_unique<NoScreenWindow>();
}

bool platform_windows_open()
{
    return false;
}

} // namespace pengui
