#pragma once

#include "ApicResource.h"
#include "PicDataInterface.h"

namespace pengui {

// An opaque palette picture: one palette index per pixel.
class PicData8 : public PicDataInterface {
public:
    explicit PicData8(const ApicResource& resource);
    void draw(const Rect& area, RenderingBufferInterface& buffer) const override;

private:
    const std::uint8_t* pixels_;
    ApicResource::Palette palette_;
};

} // namespace pengui
