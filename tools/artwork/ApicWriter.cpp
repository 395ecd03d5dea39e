#include "ApicWriter.h"

#include <cstdio>
#include <fstream>

namespace apic_writer {

namespace {

void put32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

constexpr std::uint32_t kHeaderSize = 36;

} // namespace

std::vector<std::uint8_t> bytes(const Resource& resource)
{
    std::vector<std::uint8_t> out;
    const auto paletteBytes = static_cast<std::uint32_t>(4 * resource.palette.size());
    put32(out, 1);
    put32(out, kHeaderSize);
    put32(out, resource.kind);
    put32(out, resource.depth);
    put32(out, static_cast<std::uint32_t>(resource.width));
    put32(out, static_cast<std::uint32_t>(resource.height));
    put32(out, static_cast<std::uint32_t>(resource.palette.size()));
    put32(out, kHeaderSize + paletteBytes);
    put32(out, resource.palette.empty() ? 0 : kHeaderSize);
    for (std::uint32_t entry : resource.palette)
        put32(out, entry);
    out.insert(out.end(), resource.pixels.begin(), resource.pixels.end());
    return out;
}

bool write(const std::string& path, const Resource& resource)
{
    const std::vector<std::uint8_t> data = bytes(resource);
    const std::string temporary = path + ".part";
    {
        std::ofstream file(temporary, std::ios::binary);
        file.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
        if (!file)
            return false;
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

} // namespace apic_writer
