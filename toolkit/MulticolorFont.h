#pragma once

#include "ApicResource.h"
#include "FontInterface.h"

namespace pengui {

// A font of palette colours: a palette index and a transparency byte (0 opaque .. 255
// transparent) per pixel; its marker row is cut where the palette index changes.
class MulticolorFont : public FontInterface {
public:
    explicit MulticolorFont(const ApicResource& resource);
    void draw_glyph(const Rect& source, Point destination, RenderingBufferInterface& buffer,
                    std::uint32_t colour) const override;

private:
    const std::uint8_t* pixels_;
    ApicResource::Palette palette_;
};

} // namespace pengui
