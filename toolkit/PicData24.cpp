#include "PicData24.h"

#include "RenderingBufferInterface.h"

#include <cstring>

namespace pengui {

PicData24::PicData24(const ApicResource& resource)
    : PicDataInterface(resource.width(), resource.height()), pixels_(resource.pixels())
{
}

void PicData24::draw(const Rect& area, RenderingBufferInterface& buffer) const
{
    const ClippedCopy copy = clip_copy(area, width(), height(), buffer);
    if (copy.empty())
        return;
    for (int row = 0; row < copy.rows; ++row) {
        const std::uint8_t* source =
            pixels_ + (static_cast<std::ptrdiff_t>(copy.sourceY + row) * width() + copy.sourceX) * 4;
        std::uint32_t* destination =
            buffer.pixels() + static_cast<std::ptrdiff_t>(copy.destinationY + row) * buffer.width() + copy.destinationX;
        for (int column = 0; column < copy.columns; ++column)
            destination[column] = load_pixel(source + 4 * column);
    }
}

} // namespace pengui
