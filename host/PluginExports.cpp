// The plug-in module's entry points. Windows hosts look up "main"; Linux hosts look up
// "VSTPluginMain", then "main". The C++ function cannot be named main, so the export takes
// that name from the module-definition file on Windows and from an assembler label elsewhere.
#include "PlatformWindowFactory.h"
#include "PluginEntry.h"
#include "SkinLayout.h"
#include "Sys.h"

// The module's skin, named by the build: wide or compact.
#define ZORVANE_SKIN_OF_MODULE skin_layout::ZORVANE_MODULE_SKIN

#if defined(_WIN32)
#define ZORVANE_EXPORT
#else
#define ZORVANE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" ZORVANE_EXPORT AEffect* VST2_CALL VSTPluginMain(audioMasterCallback host)
{
    return mppi::createEffect(host, ZORVANE_SKIN_OF_MODULE(), pengui::create_platform_window,
                              pengui::platform_windows_open(), sys::settings_folder());
}

#if !defined(_WIN32)
extern "C" ZORVANE_EXPORT AEffect* vstMainEntry(audioMasterCallback host) __asm__("main");

extern "C" AEffect* vstMainEntry(audioMasterCallback host)
{
    return mppi::createEffect(host, ZORVANE_SKIN_OF_MODULE(), pengui::create_platform_window,
                              pengui::platform_windows_open(), sys::settings_folder());
}
#endif
