#pragma once

#include "Geometry.h"

#include <cstdint>
#include <vector>

namespace pengui {

class RenderingBufferInterface;

// A picture with alpha in the form its turned drawing reads: per pixel one 64-bit word of four
// 16-bit lanes, blue, green and red times alpha and alpha itself (from the low lane up), inside
// a transparent border one pixel wide, so that every 2 x 2 neighbourhood a sample point can
// touch lies in the array and no neighbour needs a bounds check. A picture makes it on its
// first turned drawing, on the editor's thread.
class TurningPixels {
public:
    bool empty() const { return words_.empty(); }

    // Takes the pixels of `source`, which offers width, height, colour(i, j) and alpha(i, j).
    template <typename Source>
    void fill(const Source& source);

    // The ways of computing the drawing: the plain arithmetic, SSE2, and AVX2 (two pixels at
    // once). Every path gives the same bits, and the tests hold them to it.
    enum class Path { kPortable, kVector, kWide };
    // Whether this build and this processor offer `path`.
    static bool offers(Path path);
    // The fastest path offered.
    static Path best_path();

    // Buffer pixel (i, j) of the top-left `size` block shows picture point (x + i cos - j sin,
    // y + i sin + j cos): its four neighbours weighted by their distance and alpha, blended over
    // the buffer in 8-bit fixed point, within the bounds the turned picture's corners give.
    void draw(float x, float y, Size size, float angle, RenderingBufferInterface& buffer) const;
    // The same on the given path; nothing when it is not offered.
    void draw_on(Path path, float x, float y, Size size, float angle, RenderingBufferInterface& buffer) const;

private:
    std::vector<std::uint64_t> words_;
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
};

template <typename Source>
void TurningPixels::fill(const Source& source)
{
    width_ = source.width;
    height_ = source.height;
    stride_ = width_ + 2;
    words_.assign(static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_ + 2), 0u);
    for (int j = 0; j < height_; ++j) {
        for (int i = 0; i < width_; ++i) {
            const std::uint32_t colour = source.colour(i, j);
            const auto alpha = static_cast<std::uint64_t>(source.alpha(i, j));
            std::uint64_t word = alpha << 48;
            for (int channel = 0; channel < 3; ++channel)
                word |= ((colour >> (8 * channel)) & 0xFFu) * alpha << (16 * channel);
            words_[static_cast<std::size_t>((j + 1) * stride_ + i + 1)] = word;
        }
    }
}

} // namespace pengui
