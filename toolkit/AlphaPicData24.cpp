#include "AlphaPicData24.h"

#include "AlphaSampler.h"

namespace pengui {

AlphaPicData24::AlphaPicData24(const ApicResource& resource)
    : PicDataInterface(resource.width(), resource.height()), pixels_(resource.pixels())
{
}

void AlphaPicData24::draw(const Rect& area, RenderingBufferInterface& buffer) const
{
    for_each_row(area, pixels_, width(), height(), 4, buffer, [](const std::uint8_t* source, std::uint32_t* destination, int columns) {
        for (int column = 0; column < columns; ++column) {
            const std::uint32_t pixel = load_pixel(source + 4 * column);
            const int alpha = static_cast<int>(pixel >> 24);
            if (alpha == 255)
                destination[column] = pixel;
            else if (alpha != 0)
                destination[column] = pixel_blend::mixed(destination[column], pixel, alpha);
        }
    });
}

int AlphaPicData24::draw_rotated(double x, double y, Size size, double angle, RenderingBufferInterface& buffer) const
{
    if (turning_.empty())
        turning_.fill(view());
    turning_.draw(x, y, size, angle, buffer);
    return 0;
}

void AlphaPicData24::draw_shifted(float x, float y, Size size, RenderingBufferInterface& buffer) const
{
    alpha_sampler::drawShifted(view(), x, y, size, buffer);
}

} // namespace pengui
