#include "ApicResource.h"

namespace pengui {

bool ApicResource::read(const std::uint8_t* bytes, std::size_t size,
                        int (*bytesPerPixel)(std::uint32_t kind, std::uint32_t depth))
{
    if (!bytes || size < kMinimumHeaderSize)
        return false;
    const std::uint32_t version = load_pixel(bytes);
    const std::uint32_t headerSize = load_pixel(bytes + 4);
    kind_ = load_pixel(bytes + 8);
    depth_ = load_pixel(bytes + 12);
    const auto width = static_cast<std::int32_t>(load_pixel(bytes + 16));
    const auto height = static_cast<std::int32_t>(load_pixel(bytes + 20));
    paletteCount_ = load_pixel(bytes + 24);
    const std::uint32_t pixelOffset = load_pixel(bytes + 28);
    paletteOffset_ = load_pixel(bytes + 32);
    if (version == 0 || headerSize < kMinimumHeaderSize || headerSize > size)
        return false;
    if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide)
        return false;
    const int perPixel = bytesPerPixel(kind_, depth_);
    if (perPixel <= 0)
        return false;
    if (depth_ == 8) {
        if (paletteCount_ > 256)
            return false;
        const std::uint64_t paletteEnd = std::uint64_t{paletteOffset_} + 4ull * paletteCount_;
        if (paletteCount_ > 0 && (paletteOffset_ < headerSize || paletteEnd > size))
            return false;
    } else {
        paletteCount_ = 0;
    }
    const std::uint64_t pixelBytes =
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * static_cast<std::uint64_t>(perPixel);
    if (pixelOffset < headerSize || pixelOffset + pixelBytes > size)
        return false;
    bytes_ = bytes;
    width_ = width;
    height_ = height;
    pixels_ = bytes + pixelOffset;
    return true;
}

ApicResource::Palette ApicResource::palette() const
{
    Palette entries{};
    for (std::uint32_t i = 0; i < paletteCount_; ++i)
        entries[i] = load_pixel(bytes_ + paletteOffset_ + 4 * i);
    return entries;
}

} // namespace pengui
