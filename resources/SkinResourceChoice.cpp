#include "SkinResourceChoice.h"

#include "EmbeddedResources.h"

namespace sys {
// The two modules' tables, renamed when built in together.
const EmbeddedResource* embedded_resources_wide(std::size_t& count);
const EmbeddedResource* embedded_resources_compact(std::size_t& count);
} // namespace sys

namespace {

bool g_compact = false;

} // namespace

void select_skin_resources(bool compact)
{
    g_compact = compact;
}

const sys::EmbeddedResource* sys::embedded_resources(std::size_t& count)
{
    return g_compact ? embedded_resources_compact(count) : embedded_resources_wide(count);
}
