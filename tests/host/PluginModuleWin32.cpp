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
    return handle_ ? reinterpret_cast<Entry>(GetProcAddress(static_cast<HMODULE>(handle_), name)) : nullptr;
}
