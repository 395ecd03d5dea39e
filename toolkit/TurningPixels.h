#pragma once

#include "Geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace pengui {

class RenderingBufferInterface;

// A picture with alpha in the form its turned drawing reads. For each pixel (i, j) of the
// picture inside a transparent border one pixel wide, it holds the pixel and its right-hand
// neighbour side by side, lane by lane: blue, green and red times alpha, and alpha, each less a
// bias of 32768 so that a signed 16-bit multiply-add sums a row of neighbours at once. Every
// 2 x 2 neighbourhood a sample point can touch is two such entries, one above the other, and
// needs no bounds check. A picture makes it on its first turned drawing, on the editor's thread.
class TurningPixels {
public:
    // The 16-bit lanes of an entry: four channels, two pixels each.
    static constexpr int kLanes = 8;
    // What every lane adds to the value it stands for, to fit signed 16 bits.
    static constexpr int kBias = -32768;

    bool empty() const { return pairs_.empty(); }

    // Takes the pixels of `source`, which offers width, height, colour(i, j) and alpha(i, j).
    template <typename Source>
    void fill(const Source& source);

    // The ways of computing the drawing: the plain arithmetic, SSE2, and AVX2 (four sample
    // points at a time). Every path gives the same bits, and the tests hold them to it.
    enum class Path { kPortable, kVector, kWide };
    // Whether this build and this processor offer `path`.
    static bool offers(Path path);
    // The fastest path offered.
    static Path best_path();

    // Buffer pixel (i, j) of the top-left `size` block shows picture point (x + i cos - j sin,
    // y + i sin + j cos), reckoned in 32.32 fixed point from its row's start: its four
    // neighbours weighted by their distance and alpha, blended over the buffer in 8-bit fixed
    // point, within the bounds the turned picture's corners give.
    void draw(double x, double y, Size size, double angle, RenderingBufferInterface& buffer) const;
    // The same on the given path; nothing when it is not offered.
    void draw_on(Path path, double x, double y, Size size, double angle, RenderingBufferInterface& buffer) const;

private:
    std::vector<std::int16_t> pairs_;
    // The picture's centre, and how far from it a sample point can be and still reach a pixel
    // that is not clear (below 0 when every pixel is).
    double centreX_ = 0.0;
    double centreY_ = 0.0;
    double reach_ = -1.0;
    int width_ = 0;
    int height_ = 0;
    int stride_ = 0;
};

template <typename Source>
void TurningPixels::fill(const Source& source)
{
    width_ = source.width;
    height_ = source.height;
    // Entries for columns -1 .. width - 1 and rows -1 .. height: every top-left neighbour and
    // the row below it; then a clear row, so that the row of entries at `height` is a clear
    // neighbourhood, for sample points that miss the picture.
    stride_ = width_ + 1;
    pairs_.assign(static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_ + 3) * kLanes,
                  static_cast<std::int16_t>(kBias));
    auto lanesOf = [&source](int i, int j, int lanes[4]) {
        const bool inside = i >= 0 && j >= 0 && i < source.width && j < source.height;
        const int alpha = inside ? source.alpha(i, j) : 0;
        const std::uint32_t colour = inside ? source.colour(i, j) : 0u;
        for (int channel = 0; channel < 3; ++channel)
            lanes[channel] = static_cast<int>((colour >> (8 * channel)) & 0xFFu) * alpha;
        lanes[3] = alpha;
    };
    for (int j = -1; j <= height_; ++j)
        for (int i = -1; i < width_; ++i) {
            int left[4], right[4];
            lanesOf(i, j, left);
            lanesOf(i + 1, j, right);
            std::int16_t* entry = pairs_.data() + (static_cast<std::ptrdiff_t>(j + 1) * stride_ + (i + 1)) * kLanes;
            for (int lane = 0; lane < 4; ++lane) {
                entry[2 * lane] = static_cast<std::int16_t>(left[lane] + kBias);
                entry[2 * lane + 1] = static_cast<std::int16_t>(right[lane] + kBias);
            }
        }
    // A pixel (i, j) that is not clear is read by the sample points in [i - 1, i + 1) x
    // [j - 1, j + 1); the farthest corner of that square, with room for the rounding of the
    // walk's arithmetic in doubles (the points themselves are exact), bounds the disc.
    centreX_ = width_ / 2.0;
    centreY_ = height_ / 2.0;
    reach_ = -1.0;
    for (int j = 0; j < height_; ++j)
        for (int i = 0; i < width_; ++i)
            if (source.alpha(i, j) != 0)
                for (const double cornerX : {i - 1.0, i + 1.0})
                    for (const double cornerY : {j - 1.0, j + 1.0})
                        reach_ = std::max(reach_, std::hypot(cornerX - centreX_, cornerY - centreY_) + 1.0 / 64);
}

} // namespace pengui
