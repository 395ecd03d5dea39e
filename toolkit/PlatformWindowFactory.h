#pragma once

#include "PlatformWindowInterface.h"

#include <memory>

namespace pengui {

// The platform side of the module's editor windows: each platform build links one.
std::unique_ptr<PlatformWindowInterface> create_platform_window();
// Whether those windows can open on this platform: only then is the host offered an editor.
bool platform_windows_open();

} // namespace pengui
