#include "MulticolorFont.h"

#include "PixelBlend.h"
#include "RenderingBufferInterface.h"

namespace pengui {

MulticolorFont::MulticolorFont(const ApicResource& resource)
    : FontInterface(resource.width(), resource.height()), pixels_(resource.pixels()), palette_(resource.palette())
{
    const std::uint8_t* markers = pixels_ + 2 * static_cast<std::ptrdiff_t>(height() - 1) * width();
    scanMarkers([markers](int x) { return markers[2 * x]; });
}

void MulticolorFont::draw_glyph(const Rect& source, Point destination, RenderingBufferInterface& buffer,
                                std::uint32_t) const
{
    for (int row = 0; row < source.height(); ++row) {
        const std::uint8_t* pixel = pixels_ + 2 * (static_cast<std::ptrdiff_t>(source.y0 + row) * width() + source.x0);
        std::uint32_t* line =
            buffer.pixels() + static_cast<std::ptrdiff_t>(destination.y + row) * buffer.width() + destination.x;
        for (int column = 0; column < source.width(); ++column) {
            const int opacity = 255 - pixel[2 * column + 1];
            if (opacity != 0)
                line[column] = pixel_blend::towards(line[column], palette_[pixel[2 * column]], opacity);
        }
    }
}

} // namespace pengui
