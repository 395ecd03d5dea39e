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

    // What the alpha sampler reads, copied by value so that stores into the buffer do not make
    // the compiler read it again.
    struct View {
        const std::uint8_t* pixels;
        const std::uint32_t* palette;
        int width;
        int height;

        std::uint32_t colour(int i, int j) const { return palette[pixels[2 * (static_cast<std::ptrdiff_t>(j) * width + i)]]; }
        int alpha(int i, int j) const { return pixels[2 * (static_cast<std::ptrdiff_t>(j) * width + i) + 1]; }
        // The 2 x 2 block from (i, j), which lies inside the picture: colours and alphas in the
        // order (i, j), (i + 1, j), (i, j + 1), (i + 1, j + 1).
        void block(int i, int j, std::uint32_t colour[4], int alpha[4]) const
        {
            const std::uint8_t* top = pixels + 2 * (static_cast<std::ptrdiff_t>(j) * width + i);
            const std::uint8_t* bottom = top + 2 * static_cast<std::ptrdiff_t>(width);
            colour[0] = palette[top[0]];
            colour[1] = palette[top[2]];
            colour[2] = palette[bottom[0]];
            colour[3] = palette[bottom[2]];
            alpha[0] = top[1];
            alpha[1] = top[3];
            alpha[2] = bottom[1];
            alpha[3] = bottom[3];
        }
    };
    View view() const { return {pixels_, palette_.data(), width(), height()}; }

private:
    const std::uint8_t* pixels_;
    ApicResource::Palette palette_;
};

} // namespace pengui
