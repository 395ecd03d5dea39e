#pragma once

#include "PlatformWindowInterface.h"

#include <memory>

namespace pengui {

// The platform side of the module's editor windows: each platform build links one.
std::unique_ptr<PlatformWindowInterface> create_platform_window();

} // namespace pengui
