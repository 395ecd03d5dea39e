#include "AlphaPicData8.h"

#include "AlphaSampler.h"

namespace pengui {

AlphaPicData8::AlphaPicData8(const ApicResource& resource)
    : PicDataInterface(resource.width(), resource.height()), pixels_(resource.pixels()), palette_(resource.palette())
{
}

void AlphaPicData8::draw(const Rect& area, RenderingBufferInterface& buffer) const
{
    const ClippedCopy copy = clip_copy(area, width(), height(), buffer);
    if (copy.empty())
        return;
    const std::uint32_t* palette = palette_.data();
    for (int row = 0; row < copy.rows; ++row) {
        const std::uint8_t* source =
            pixels_ + (static_cast<std::ptrdiff_t>(copy.sourceY + row) * width() + copy.sourceX) * 2;
        std::uint32_t* destination =
            buffer.pixels() + static_cast<std::ptrdiff_t>(copy.destinationY + row) * buffer.width() + copy.destinationX;
        for (int column = 0; column < copy.columns; ++column) {
            const int alpha = source[2 * column + 1];
            const std::uint32_t colour = palette[source[2 * column]];
            if (alpha == 255)
                destination[column] = colour;
            else if (alpha != 0)
                destination[column] = pixel_blend::towards(destination[column], colour, alpha);
        }
    }
}

int AlphaPicData8::draw_rotated(float x, float y, Size size, float angle, RenderingBufferInterface& buffer) const
{
    return alpha_sampler::drawRotated(view(), x, y, size, angle, buffer);
}

void AlphaPicData8::draw_shifted(float x, float y, Size size, RenderingBufferInterface& buffer) const
{
    alpha_sampler::drawShifted(view(), x, y, size, buffer);
}

} // namespace pengui
