#include "PicData8.h"

#include "RenderingBufferInterface.h"

namespace pengui {

PicData8::PicData8(const ApicResource& resource)
    : PicDataInterface(resource.width(), resource.height()), pixels_(resource.pixels()), palette_(resource.palette())
{
}

void PicData8::draw(const Rect& area, RenderingBufferInterface& buffer) const
{
    const ClippedCopy copy = clip_copy(area, width(), height(), buffer);
    if (copy.empty())
        return;
    const std::uint32_t* palette = palette_.data();
    for (int row = 0; row < copy.rows; ++row) {
        const std::uint8_t* source = pixels_ + static_cast<std::ptrdiff_t>(copy.sourceY + row) * width() + copy.sourceX;
        std::uint32_t* destination =
            buffer.pixels() + static_cast<std::ptrdiff_t>(copy.destinationY + row) * buffer.width() + copy.destinationX;
        for (int column = 0; column < copy.columns; ++column)
            destination[column] = palette[source[column]];
    }
}

} // namespace pengui
