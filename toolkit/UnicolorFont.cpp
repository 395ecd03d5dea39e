#include "UnicolorFont.h"

#include "PixelBlend.h"
#include "RenderingBufferInterface.h"

namespace pengui {

UnicolorFont::UnicolorFont(const ApicResource& resource)
    : FontInterface(resource.width(), resource.height()), pixels_(resource.pixels())
{
    const std::uint8_t* markers = pixels_ + static_cast<std::ptrdiff_t>(height() - 1) * width();
    scanMarkers([markers](int x) { return markers[x]; });
}

void UnicolorFont::draw_glyph(const Rect& source, Point destination, RenderingBufferInterface& buffer,
                              std::uint32_t colour) const
{
    for (int row = 0; row < source.height(); ++row) {
        const std::uint8_t* coverage = pixels_ + static_cast<std::ptrdiff_t>(source.y0 + row) * width() + source.x0;
        std::uint32_t* line =
            buffer.pixels() + static_cast<std::ptrdiff_t>(destination.y + row) * buffer.width() + destination.x;
        for (int column = 0; column < source.width(); ++column)
            if (coverage[column] != 0)
                line[column] = pixel_blend::towards(line[column], colour, coverage[column]);
    }
}

} // namespace pengui
