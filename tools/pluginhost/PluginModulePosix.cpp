#include "PluginModule.h"

#include <dlfcn.h>

PluginModule::PluginModule(const std::string& path)
{
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_)
        error_ = dlerror();
}

PluginModule::~PluginModule()
{
    if (handle_)
        dlclose(handle_);
}

PluginModule::Entry PluginModule::entry(const char* name) const
{
    return handle_ ? reinterpret_cast<Entry>(dlsym(handle_, name)) : nullptr;
}
