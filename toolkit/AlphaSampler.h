#pragma once

#include "Geometry.h"
#include "PixelBlend.h"
#include "RenderingBufferInterface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

// Bilinear, alpha-weighted drawing at a sub-pixel offset, shared by the alpha picture classes.
// A source is a view of a picture: its width and height and, for a pixel inside it,
// `colour(i, j)` and `alpha(i, j)`.
namespace pengui::alpha_sampler {

// Positions beyond this are off any buffer; they are not drawn (and never overflow an int).
inline constexpr float kFarthest = 1e6f;

struct Weights {
    int w00, wx, wy, t;
};

// 8-bit fixed-point weights of the four neighbours for fractional parts fx and fy.
inline Weights weights(float fx, float fy)
{
    const int t = static_cast<int>(std::floor(fx * fy * 256.0f));
    const int wx = static_cast<int>(std::floor(fx * 256.0f)) - t;
    const int wy = static_cast<int>(std::floor(fy * 256.0f)) - t;
    return {256 - t - wx - wy, wx, wy, t};
}

// Blends the four neighbours of picture pixel (i, j) into `destination`; a neighbour outside
// the picture has weight 0.
template <typename Source>
inline std::uint32_t blend(const Source source, int i, int j, const Weights& w, std::uint32_t destination)
{
    const int d[3] = {pixel_blend::channel(destination, 0), pixel_blend::channel(destination, 8),
                      pixel_blend::channel(destination, 16)};
    int sum[3] = {0, 0, 0};
    auto add = [&](int x, int y, int weight) {
        if (weight == 0 || x < 0 || y < 0 || x >= source.width || y >= source.height)
            return;
        const int scaled = weight * source.alpha(x, y);
        if (scaled == 0)
            return;
        const std::uint32_t s = source.colour(x, y);
        sum[0] += (pixel_blend::channel(s, 0) - d[0]) * scaled;
        sum[1] += (pixel_blend::channel(s, 8) - d[1]) * scaled;
        sum[2] += (pixel_blend::channel(s, 16) - d[2]) * scaled;
    };
    add(i, j, w.w00);
    add(i + 1, j, w.wx);
    add(i, j + 1, w.wy);
    add(i + 1, j + 1, w.t);
    return pixel_blend::withChannels(destination, d[0] + (sum[0] >> 16), d[1] + (sum[1] >> 16), d[2] + (sum[2] >> 16));
}

// Picture point (x, y) on buffer pixel (0, 0), at sub-pixel precision.
template <typename Source>
void drawShifted(const Source source, float x, float y, Size size, RenderingBufferInterface& buffer)
{
    if (!(std::fabs(x) < kFarthest && std::fabs(y) < kFarthest))
        return;
    const float floorX = std::floor(x);
    const float floorY = std::floor(y);
    const Weights w = weights(x - floorX, y - floorY);
    const int originX = static_cast<int>(floorX);
    const int originY = static_cast<int>(floorY);
    // Only columns and rows whose neighbourhood touches the picture.
    const int firstColumn = std::max(0, -1 - originX);
    const int lastColumn = std::min({size.w, buffer.width(), source.width - originX});
    const int firstRow = std::max(0, -1 - originY);
    const int lastRow = std::min({size.h, buffer.height(), source.height - originY});
    std::uint32_t* pixels = buffer.pixels();
    for (int row = firstRow; row < lastRow; ++row) {
        std::uint32_t* line = pixels + static_cast<std::ptrdiff_t>(row) * buffer.width();
        for (int column = firstColumn; column < lastColumn; ++column)
            line[column] = blend(source, originX + column, originY + row, w, line[column]);
    }
}

} // namespace pengui::alpha_sampler
