#include "PluginModule.h"

#include <windows.h>

PluginModule::PluginModule(const std::string& path)
{
    handle_ = LoadLibraryA(path.c_str());
    if (!handle_)
        error_ = "LoadLibrary failed with error " + std::to_string(GetLastError());
}

PluginModule::~PluginModule()
{
    if (handle_)
        FreeLibrary(static_cast<HMODULE>(handle_));
}

PluginModule::Entry PluginModule::entry(const char* name) const
{
    // Through void*: a module's export is a function of any type.
    FARPROC address = handle_ ? GetProcAddress(static_cast<HMODULE>(handle_), name) : nullptr;
    return reinterpret_cast<Entry>(reinterpret_cast<void*>(address));
}
