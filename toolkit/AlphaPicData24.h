#pragma once

#include "ApicResource.h"
#include "PicDataInterface.h"
#include "TurningPixels.h"

namespace pengui {

// A direct-colour picture with alpha: blue, green, red and alpha (0 transparent .. 255
// opaque) per pixel.
class AlphaPicData24 : public PicDataInterface {
public:
    explicit AlphaPicData24(const ApicResource& resource);
    void draw(const Rect& area, RenderingBufferInterface& buffer) const override;
    int draw_rotated(double x, double y, Size size, double angle, RenderingBufferInterface& buffer) const override;
    void draw_shifted(float x, float y, Size size, RenderingBufferInterface& buffer) const override;

    // What the alpha sampler reads, copied by value so that stores into the buffer do not make
    // the compiler read it again.
    struct View {
        const std::uint8_t* pixels;
        int width;
        int height;

        std::uint32_t colour(int i, int j) const { return load_pixel(pixels + 4 * (static_cast<std::ptrdiff_t>(j) * width + i)); }
        int alpha(int i, int j) const { return pixels[4 * (static_cast<std::ptrdiff_t>(j) * width + i) + 3]; }
    };
    View view() const { return {pixels_, width(), height()}; }

private:
    const std::uint8_t* pixels_;
    // The pixels as the turned drawing reads them, made on the first one.
    mutable TurningPixels turning_;
};

} // namespace pengui
