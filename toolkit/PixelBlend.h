#pragma once

#include <cstdint>

// Per-channel arithmetic on 32-bit pixels (blue in bits 0-7, green 8-15, red 16-23). Only the
// three colour channels change; the fourth byte of the destination is kept.
namespace pengui::pixel_blend {

inline int channel(std::uint32_t pixel, int shift)
{
    return static_cast<int>((pixel >> shift) & 0xFFu);
}

inline std::uint32_t withChannels(std::uint32_t destination, int blue, int green, int red)
{
    return (destination & 0xFF000000u) | static_cast<std::uint32_t>(red & 0xFF) << 16 |
           static_cast<std::uint32_t>(green & 0xFF) << 8 | static_cast<std::uint32_t>(blue & 0xFF);
}

// d + ((s - d) * weight >> 8) per channel, with an arithmetic shift of the signed product.
inline std::uint32_t towards(std::uint32_t destination, std::uint32_t source, int weight)
{
    const int b = channel(destination, 0), g = channel(destination, 8), r = channel(destination, 16);
    return withChannels(destination, b + ((channel(source, 0) - b) * weight >> 8),
                        g + ((channel(source, 8) - g) * weight >> 8), r + ((channel(source, 16) - r) * weight >> 8));
}

// (s * alpha + d * (255 - alpha)) >> 8 per channel.
inline std::uint32_t mixed(std::uint32_t destination, std::uint32_t source, int alpha)
{
    const int inverse = 255 - alpha;
    return withChannels(destination, (channel(source, 0) * alpha + channel(destination, 0) * inverse) >> 8,
                        (channel(source, 8) * alpha + channel(destination, 8) * inverse) >> 8,
                        (channel(source, 16) * alpha + channel(destination, 16) * inverse) >> 8);
}

} // namespace pengui::pixel_blend
