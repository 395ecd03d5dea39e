#pragma once

#include <cstdint>
#include <vector>

// Builds APIC resources in memory, as the resource compiler lays them out: a 36-byte header,
// the palette right after it (when there is one), then the pixel array.
namespace apic {

enum Kind : std::uint32_t { kOpaque = 0, kAlpha = 1, kMulticolour = 1, kUnicolour = 2 };

inline void put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

inline std::vector<std::uint8_t> build(std::uint32_t kind, std::uint32_t depth, int width, int height,
                                       const std::vector<std::uint32_t>& palette, const std::vector<std::uint8_t>& pixels)
{
    const std::size_t paletteBytes = 4 * palette.size();
    std::vector<std::uint8_t> bytes(36 + paletteBytes + pixels.size());
    put32(bytes, 0, 1);
    put32(bytes, 4, 36);
    put32(bytes, 8, kind);
    put32(bytes, 12, depth);
    put32(bytes, 16, static_cast<std::uint32_t>(width));
    put32(bytes, 20, static_cast<std::uint32_t>(height));
    put32(bytes, 24, static_cast<std::uint32_t>(palette.size()));
    put32(bytes, 28, static_cast<std::uint32_t>(36 + paletteBytes));
    put32(bytes, 32, palette.empty() ? 0 : 36);
    for (std::size_t i = 0; i < palette.size(); ++i)
        put32(bytes, 36 + 4 * i, palette[i]);
    for (std::size_t i = 0; i < pixels.size(); ++i)
        bytes[36 + paletteBytes + i] = pixels[i];
    return bytes;
}

// A unicolour font whose glyph n is `widths[n]` columns of full coverage in every row above
// the marker row, with markers alternating 0 and 255.
inline std::vector<std::uint8_t> font(const std::vector<int>& widths, int lineHeight)
{
    int width = 0;
    for (int w : widths)
        width += w;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * (lineHeight + 1)), 255);
    int x = 0;
    for (std::size_t glyph = 0; glyph < widths.size(); ++glyph)
        for (int column = 0; column < widths[glyph]; ++column, ++x)
            pixels[static_cast<std::size_t>(lineHeight * width + x)] = glyph % 2 ? 255 : 0;
    return build(kUnicolour, 0, width, lineHeight + 1, {}, pixels);
}

} // namespace apic
