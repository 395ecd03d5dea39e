#pragma once

#include "ApicResource.h"
#include "PicDataInterface.h"

namespace pengui {

// A direct-colour picture with alpha: blue, green, red and alpha (0 transparent .. 255
// opaque) per pixel.
class AlphaPicData24 : public PicDataInterface {
public:
    explicit AlphaPicData24(const ApicResource& resource);
    void draw(const Rect& area, RenderingBufferInterface& buffer) const override;
    int draw_rotated(float x, float y, Size size, float angle, RenderingBufferInterface& buffer) const override;
    void draw_shifted(float x, float y, Size size, RenderingBufferInterface& buffer) const override;

    // What the alpha sampler reads, copied by value so that stores into the buffer do not make
    // the compiler read it again.
    struct View {
        const std::uint8_t* pixels;
        int width;
        int height;

        std::uint32_t colour(int i, int j) const { return load_pixel(pixels + 4 * (static_cast<std::ptrdiff_t>(j) * width + i)); }
        int alpha(int i, int j) const { return pixels[4 * (static_cast<std::ptrdiff_t>(j) * width + i) + 3]; }
        // The 2 x 2 block from (i, j), which lies inside the picture, in the order (i, j),
        // (i + 1, j), (i, j + 1), (i + 1, j + 1): red and blue spread into 64-bit lanes, green, alpha.
        void spread_block(int i, int j, std::uint64_t redBlues[4], std::uint32_t greens[4], int alpha[4]) const
        {
            const std::uint8_t* top = pixels + 4 * (static_cast<std::ptrdiff_t>(j) * width + i);
            const std::uint8_t* bottom = top + 4 * static_cast<std::ptrdiff_t>(width);
            const std::uint8_t* at[4] = {top, top + 4, bottom, bottom + 4};
            for (int k = 0; k < 4; ++k) {
                redBlues[k] = static_cast<std::uint64_t>(at[k][0]) | static_cast<std::uint64_t>(at[k][2]) << 32;
                greens[k] = at[k][1];
                alpha[k] = at[k][3];
            }
        }
    };
    View view() const { return {pixels_, width(), height()}; }

private:
    const std::uint8_t* pixels_;
};

} // namespace pengui
