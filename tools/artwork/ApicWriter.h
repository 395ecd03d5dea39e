#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes APIC resources: the 36-byte little-endian header, the palette (if any) and the pixels.
namespace apic_writer {

struct Resource {
    std::uint32_t kind = 0;
    std::uint32_t depth = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> palette;
    std::vector<std::uint8_t> pixels;
};

std::vector<std::uint8_t> bytes(const Resource& resource);
// Writes the file through a temporary beside it; false when it cannot.
bool write(const std::string& path, const Resource& resource);

} // namespace apic_writer
