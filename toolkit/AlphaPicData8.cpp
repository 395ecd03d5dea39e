#include "AlphaPicData8.h"

#include "AlphaSampler.h"

namespace pengui {

AlphaPicData8::AlphaPicData8(const ApicResource& resource)
    : PicDataInterface(resource.width(), resource.height()), pixels_(resource.pixels()), palette_(resource.palette())
{
}

void AlphaPicData8::draw(const Rect& area, RenderingBufferInterface& buffer) const
{
    const std::uint32_t* palette = palette_.data();
    for_each_row(area, pixels_, width(), height(), 2, buffer,
                 [palette](const std::uint8_t* source, std::uint32_t* destination, int columns) {
                     for (int column = 0; column < columns; ++column) {
                         const int alpha = source[2 * column + 1];
                         const std::uint32_t colour = palette[source[2 * column]];
                         if (alpha == 255)
                             destination[column] = colour;
                         else if (alpha != 0)
                             destination[column] = pixel_blend::towards(destination[column], colour, alpha);
                     }
                 });
}

int AlphaPicData8::draw_rotated(float x, float y, Size size, float angle, RenderingBufferInterface& buffer) const
{
    if (turning_.empty())
        turning_.fill(view());
    turning_.draw(x, y, size, angle, buffer);
    return 0;
}

void AlphaPicData8::draw_shifted(float x, float y, Size size, RenderingBufferInterface& buffer) const
{
    alpha_sampler::drawShifted(view(), x, y, size, buffer);
}

} // namespace pengui
