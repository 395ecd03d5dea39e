#pragma once

#include "Geometry.h"
#include "PixelBlend.h"
#include "RenderingBufferInterface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

// Bilinear, alpha-weighted drawing shared by the alpha picture classes. A source offers its
// width and height and, for a pixel inside it, `colour(i, j)` and `alpha(i, j)`.
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
inline std::uint32_t blend(const Source& source, int i, int j, const Weights& w, std::uint32_t destination)
{
    const int d[3] = {pixel_blend::channel(destination, 0), pixel_blend::channel(destination, 8),
                      pixel_blend::channel(destination, 16)};
    int sum[3] = {0, 0, 0};
    auto add = [&](int x, int y, int weight) {
        if (weight == 0 || x < 0 || y < 0 || x >= source.width() || y >= source.height())
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
void drawShifted(const Source& source, float x, float y, Size size, RenderingBufferInterface& buffer)
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
    const int lastColumn = std::min({size.w, buffer.width(), source.width() - originX});
    const int firstRow = std::max(0, -1 - originY);
    const int lastRow = std::min({size.h, buffer.height(), source.height() - originY});
    std::uint32_t* pixels = buffer.pixels();
    for (int row = firstRow; row < lastRow; ++row) {
        std::uint32_t* line = pixels + static_cast<std::ptrdiff_t>(row) * buffer.width();
        for (int column = firstColumn; column < lastColumn; ++column)
            line[column] = blend(source, originX + column, originY + row, w, line[column]);
    }
}

// Buffer pixel (i, j) shows picture point (x + i c - j s, y + i s + j c), within the bounds the
// turned picture's corners give.
template <typename Source>
int drawRotated(const Source& source, float x, float y, Size size, float angle, RenderingBufferInterface& buffer)
{
    if (!(std::fabs(x) < kFarthest && std::fabs(y) < kFarthest && std::isfinite(angle)))
        return 0;
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    int lowU = 0, highU = 0, lowV = 0, highV = 0;
    bool first = true;
    for (int corner = 0; corner < 4; ++corner) {
        const float cx = corner & 1 ? static_cast<float>(source.width()) : 0.0f;
        const float cy = corner & 2 ? static_cast<float>(source.height()) : 0.0f;
        const int u = static_cast<int>(std::floor((cx - x) * c + (cy - y) * s));
        const int v = static_cast<int>(std::floor((cy - y) * c - (cx - x) * s));
        lowU = first ? u : std::min(lowU, u);
        highU = first ? u : std::max(highU, u);
        lowV = first ? v : std::min(lowV, v);
        highV = first ? v : std::max(highV, v);
        first = false;
    }
    const int firstColumn = std::max(lowU - 1, 0);
    const int lastColumn = std::min({highU + 2, size.w, buffer.width()});
    const int firstRow = std::max(lowV - 1, 0);
    const int lastRow = std::min({highV + 2, size.h, buffer.height()});
    std::uint32_t* pixels = buffer.pixels();
    for (int j = firstRow; j < lastRow; ++j) {
        std::uint32_t* line = pixels + static_cast<std::ptrdiff_t>(j) * buffer.width();
        for (int i = firstColumn; i < lastColumn; ++i) {
            const float px = x + static_cast<float>(i) * c - static_cast<float>(j) * s;
            const float py = y + static_cast<float>(i) * s + static_cast<float>(j) * c;
            const float floorX = std::floor(px);
            const float floorY = std::floor(py);
            if (floorX < -1.0f || floorY < -1.0f || floorX >= static_cast<float>(source.width()) ||
                floorY >= static_cast<float>(source.height()))
                continue;
            line[i] = blend(source, static_cast<int>(floorX), static_cast<int>(floorY), weights(px - floorX, py - floorY),
                            line[i]);
        }
    }
    return 0;
}

} // namespace pengui::alpha_sampler
