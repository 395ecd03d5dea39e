#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace pengui {

// The header of an APIC picture or font resource (little-endian), checked against the
// resource's size: a resource whose header, palette or pixel array would reach past its end is
// refused, so nothing built from it ever reads outside the resource.
//
// Layout: u32 version (non-zero), u32 header size (at least 36), u32 kind, u32 depth, i32 width,
// i32 height, u32 palette count (0 .. 256), u32 pixel offset, u32 palette offset; the palette is
// 4-byte entries (blue, green, red, fourth byte); pixel rows have no padding.
class ApicResource {
public:
    static constexpr std::uint32_t kMinimumHeaderSize = 36;
    // Larger sides than this are refused: no skin comes near it.
    static constexpr std::int32_t kLargestSide = 16384;

    using Palette = std::array<std::uint32_t, 256>;

    // Reads the header and checks that `bytesPerPixel(kind, depth)` bytes per pixel, and the
    // palette when the depth is 8, lie inside `size` bytes. False when anything does not.
    bool read(const std::uint8_t* bytes, std::size_t size, int (*bytesPerPixel)(std::uint32_t kind, std::uint32_t depth));

    std::uint32_t kind() const { return kind_; }
    std::uint32_t depth() const { return depth_; }
    int width() const { return width_; }
    int height() const { return height_; }
    const std::uint8_t* pixels() const { return pixels_; }
    // The palette, with every entry beyond the stored count black, so any index is safe.
    Palette palette() const;

private:
    const std::uint8_t* bytes_ = nullptr;
    std::uint32_t kind_ = 0;
    std::uint32_t depth_ = 0;
    int width_ = 0;
    int height_ = 0;
    std::uint32_t paletteCount_ = 0;
    std::uint32_t paletteOffset_ = 0;
    const std::uint8_t* pixels_ = nullptr;
};

// A 4-byte pixel or palette entry read from resource memory, whatever its alignment.
inline std::uint32_t load_pixel(const std::uint8_t* at)
{
    return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
           static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

} // namespace pengui
