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
    for_each_row(area, pixels_, width(), height(), 4, buffer, [](const std::uint8_t* source, std::uint32_t* destination, int columns) {
        for (int column = 0; column < columns; ++column)
            destination[column] = load_pixel(source + 4 * column);
    });
}

} // namespace pengui
