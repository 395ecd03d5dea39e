#include "Sys.h"

namespace sys {

namespace {

ModuleHandle g_module = nullptr;

} // namespace

ModuleHandle get_module()
{
    return g_module;
}

void set_module(ModuleHandle module)
{
    g_module = module;
}

} // namespace sys
