#pragma once

#include "ApicResource.h"
#include "PicDataInterface.h"

namespace pengui {

// A palette picture with alpha: a palette index and an alpha byte (0 transparent .. 255
// opaque) per pixel.
class AlphaPicData8 : public PicDataInterface {
public:
    explicit AlphaPicData8(const ApicResource& resource);
    void draw(const Rect& area, RenderingBufferInterface& buffer) const override;
    int draw_rotated(float x, float y, Size size, float angle, RenderingBufferInterface& buffer) const override;
    void draw_shifted(float x, float y, Size size, RenderingBufferInterface& buffer) const override;

    std::uint32_t colour(int i, int j) const { return palette_[pixels_[2 * (static_cast<std::ptrdiff_t>(j) * width() + i)]]; }
    int alpha(int i, int j) const { return pixels_[2 * (static_cast<std::ptrdiff_t>(j) * width() + i) + 1]; }

private:
    const std::uint8_t* pixels_;
    ApicResource::Palette palette_;
};

} // namespace pengui
