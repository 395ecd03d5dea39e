// The plug-in module's entry points. Windows hosts look up "main"; Linux hosts look up
// "VSTPluginMain", then "main". The C++ function cannot be named main, so the export takes
// that name from the module-definition file on Windows and from an assembler label elsewhere.
#include "PluginEntry.h"

#if defined(_WIN32)
#define ZORVANE_EXPORT
#else
#define ZORVANE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" ZORVANE_EXPORT AEffect* VST2_CALL VSTPluginMain(audioMasterCallback host)
{
    return mppi::createEffect(host);
}

#if !defined(_WIN32)
extern "C" ZORVANE_EXPORT AEffect* vstMainEntry(audioMasterCallback host) __asm__("main");

extern "C" AEffect* vstMainEntry(audioMasterCallback host)
{
    return mppi::createEffect(host);
}
#endif
