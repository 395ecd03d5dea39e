#pragma once

#include "ApicResource.h"
#include "PicDataInterface.h"

namespace pengui {

// An opaque direct-colour picture: blue, green, red and a fourth byte per pixel.
class PicData24 : public PicDataInterface {
public:
    explicit PicData24(const ApicResource& resource);
    void draw(const Rect& area, RenderingBufferInterface& buffer) const override;

private:
    const std::uint8_t* pixels_;
};

} // namespace pengui
