#include "PicData8.h"

#include "RenderingBufferInterface.h"

namespace pengui {

PicData8::PicData8(const ApicResource& resource)
    : PicDataInterface(resource.width(), resource.height()), pixels_(resource.pixels()), palette_(resource.palette())
{
}

void PicData8::draw(const Rect& area, RenderingBufferInterface& buffer) const
{
    const std::uint32_t* palette = palette_.data();
    for_each_row(area, pixels_, width(), height(), 1, buffer,
                 [palette](const std::uint8_t* source, std::uint32_t* destination, int columns) {
                     for (int column = 0; column < columns; ++column)
                         destination[column] = palette[source[column]];
                 });
}

} // namespace pengui
