// The module handle, stored when Windows attaches the plug-in's DLL to a process. Compiled
// into each plug-in DLL itself, so that the linker takes this DllMain.
#include "Sys.h"

#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        sys::set_module(instance);
    return TRUE;
}
