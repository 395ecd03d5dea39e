#pragma once

#include "ApicResource.h"
#include "PicDataInterface.h"

#include <array>

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
        const std::uint64_t* redBlue;
        const std::uint32_t* green;
        int width;
        int height;

        std::uint32_t colour(int i, int j) const { return palette[pixels[2 * (static_cast<std::ptrdiff_t>(j) * width + i)]]; }
        int alpha(int i, int j) const { return pixels[2 * (static_cast<std::ptrdiff_t>(j) * width + i) + 1]; }
        // The 2 x 2 block from (i, j), which lies inside the picture, in the order (i, j),
        // (i + 1, j), (i, j + 1), (i + 1, j + 1): red and blue spread into 64-bit lanes, green, alpha.
        void spread_block(int i, int j, std::uint64_t redBlues[4], std::uint32_t greens[4], int alpha[4]) const
        {
            const std::uint8_t* top = pixels + 2 * (static_cast<std::ptrdiff_t>(j) * width + i);
            const std::uint8_t* bottom = top + 2 * static_cast<std::ptrdiff_t>(width);
            const std::uint8_t index[4] = {top[0], top[2], bottom[0], bottom[2]};
            alpha[0] = top[1];
            alpha[1] = top[3];
            alpha[2] = bottom[1];
            alpha[3] = bottom[3];
            for (int k = 0; k < 4; ++k) {
                redBlues[k] = redBlue[index[k]];
                greens[k] = green[index[k]];
            }
        }
    };
    View view() const { return {pixels_, palette_.data(), redBlue_.data(), green_.data(), width(), height()}; }

private:
    const std::uint8_t* pixels_;
    ApicResource::Palette palette_;
    // The palette's channels as the turned drawing sums them.
    std::array<std::uint64_t, 256> redBlue_;
    std::array<std::uint32_t, 256> green_;
};

} // namespace pengui
