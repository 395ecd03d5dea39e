#pragma once

#include "ApicResource.h"
#include "PicDataInterface.h"

#include <vector>

namespace pengui {

// An opaque palette picture: one palette index per pixel. Its first drawing looks the colours up
// once and keeps them, so that drawing is a copy of rows: backgrounds are drawn whole at every
// full repaint.
class PicData8 : public PicDataInterface {
public:
    explicit PicData8(const ApicResource& resource);
    void draw(const Rect& area, RenderingBufferInterface& buffer) const override;

private:
    const std::uint8_t* pixels_;
    ApicResource::Palette palette_;
    // The pixels' colours, made on the first drawing (on the editor's thread).
    mutable std::vector<std::uint32_t> colours_;
};

} // namespace pengui
