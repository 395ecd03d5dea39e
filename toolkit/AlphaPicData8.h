#pragma once

#include "ApicResource.h"
#include "PicDataInterface.h"
#include "TurningPixels.h"

#include <vector>

namespace pengui {

// A palette picture with alpha: a palette index and an alpha byte (0 transparent .. 255
// opaque) per pixel.
class AlphaPicData8 : public PicDataInterface {
public:
    explicit AlphaPicData8(const ApicResource& resource);
    void draw(const Rect& area, RenderingBufferInterface& buffer) const override;
    int draw_rotated(double x, double y, Size size, double angle, RenderingBufferInterface& buffer) const override;
    void draw_shifted(float x, float y, Size size, RenderingBufferInterface& buffer) const override;

    // What the alpha sampler reads, copied by value so that stores into the buffer do not make
    // the compiler read it again.
    struct View {
        const std::uint8_t* pixels;
        const std::uint32_t* palette;
        int width;
        int height;

        std::uint32_t colour(int i, int j) const { return palette[pixels[2 * (static_cast<std::ptrdiff_t>(j) * width + i)]]; }
        int alpha(int i, int j) const { return pixels[2 * (static_cast<std::ptrdiff_t>(j) * width + i) + 1]; }
    };
    View view() const { return {pixels_, palette_.data(), width(), height()}; }

private:
    const std::uint8_t* pixels_;
    ApicResource::Palette palette_;
    // Each pixel's palette entry, looked up on the first drawing (on the editor's thread).
    mutable std::vector<std::uint32_t> colours_;
    // The pixels as the turned drawing reads them, made on the first one.
    mutable TurningPixels turning_;
};

} // namespace pengui
