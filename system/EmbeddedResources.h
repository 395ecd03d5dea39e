#pragma once

#include <cstddef>

namespace sys {

// One resource linked into the module on platforms without a resource section.
struct EmbeddedResource {
    const char* type;
    const char* name;
    const unsigned char* bytes;
    std::size_t size;
};

// The module's resources: a table that the build generates from the resource files.
const EmbeddedResource* embedded_resources(std::size_t& count);

} // namespace sys
