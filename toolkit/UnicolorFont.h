#pragma once

#include "ApicResource.h"
#include "FontInterface.h"

namespace pengui {

// A font of coverage bytes (0 none .. 255 full), drawn in the colour of the text.
class UnicolorFont : public FontInterface {
public:
    explicit UnicolorFont(const ApicResource& resource);
    void draw_glyph(const Rect& source, Point destination, RenderingBufferInterface& buffer,
                    std::uint32_t colour) const override;

private:
    const std::uint8_t* pixels_;
};

} // namespace pengui
