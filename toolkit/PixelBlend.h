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

// s * a + d * b per channel, shifted down by 8, with red and blue computed together in one
// 32-bit word and green in another: each lane's sum stays below 65536, so no lane spills into
// the next.
inline std::uint32_t lanes(std::uint32_t source, int a, std::uint32_t destination, int b)
{
    const auto ua = static_cast<std::uint32_t>(a);
    const auto ub = static_cast<std::uint32_t>(b);
    const std::uint32_t redBlue = (((source & 0xFF00FFu) * ua + (destination & 0xFF00FFu) * ub) >> 8) & 0xFF00FFu;
    const std::uint32_t green = (((source & 0xFF00u) * ua + (destination & 0xFF00u) * ub) >> 8) & 0xFF00u;
    return (destination & 0xFF000000u) | redBlue | green;
}

// d + ((s - d) * weight >> 8) per channel, with an arithmetic shift of the signed product:
// the same as (s * weight + d * (256 - weight)) >> 8, whose terms are never negative.
inline std::uint32_t towards(std::uint32_t destination, std::uint32_t source, int weight)
{
    return lanes(source, weight, destination, 256 - weight);
}

// (s * alpha + d * (255 - alpha)) >> 8 per channel.
inline std::uint32_t mixed(std::uint32_t destination, std::uint32_t source, int alpha)
{
    return lanes(source, alpha, destination, 255 - alpha);
}

} // namespace pengui::pixel_blend
