#pragma once

#include "Geometry.h"
#include "PixelBlend.h"
#include "RenderingBufferInterface.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

// Bilinear, alpha-weighted drawing shared by the alpha picture classes. A source is a view of
// a picture: its width and height and, for a pixel inside it, `colour(i, j)`, `alpha(i, j)` and
// the 2 x 2 `spread_block(i, j, redBlues, greens, alphas)`.
namespace pengui::alpha_sampler {

// Positions beyond this are off any buffer; they are not drawn (and never overflow an int).
inline constexpr float kFarthest = 1e6f;

// Red and blue of a pixel in the two 32-bit lanes of a 64-bit word: blue at bit 0, red at 32.
inline std::uint64_t spread_red_blue(std::uint32_t pixel)
{
    return static_cast<std::uint64_t>(pixel & 0xFFu) | static_cast<std::uint64_t>(pixel & 0xFF0000u) << 16;
}

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

// The same weights from fractions already in 8-bit fixed point (0 .. 255).
inline Weights fixedWeights(int fx, int fy)
{
    const int t = (fx * fy) >> 8;
    return {256 - fx - fy + t, fx - t, fy - t, t};
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

// As blend, for a neighbourhood wholly inside the picture: the 2 x 2 block is read at once
// (`source.spread_block`), nothing is done where it is all transparent, and the channels are summed
// as d + (sum of (s - d) * weight >> 16) rewritten as (sum of s * weight + d * (65536 - total))
// >> 16, whose terms are never negative: red and blue then share one 64-bit word, each in a
// 32-bit lane.
template <typename Source>
inline std::uint32_t blendInside(const Source source, int i, int j, const Weights& w, std::uint32_t destination)
{
    std::uint64_t redBlues[4];
    std::uint32_t greens[4];
    int alpha[4];
    source.spread_block(i, j, redBlues, greens, alpha);
    if ((alpha[0] | alpha[1] | alpha[2] | alpha[3]) == 0)
        return destination;
    const auto w0 = static_cast<std::uint32_t>(w.w00 * alpha[0]);
    const auto w1 = static_cast<std::uint32_t>(w.wx * alpha[1]);
    const auto w2 = static_cast<std::uint32_t>(w.wy * alpha[2]);
    const auto w3 = static_cast<std::uint32_t>(w.t * alpha[3]);
    const std::uint32_t rest = 65536u - (w0 + w1 + w2 + w3);
    const std::uint64_t redBlue = spread_red_blue(destination) * rest + redBlues[0] * w0 + redBlues[1] * w1 +
                                  redBlues[2] * w2 + redBlues[3] * w3;
    const std::uint32_t green =
        ((destination >> 8) & 0xFFu) * rest + greens[0] * w0 + greens[1] * w1 + greens[2] * w2 + greens[3] * w3;
    const auto blue = static_cast<std::uint32_t>((redBlue >> 16) & 0xFFu);
    const auto red = static_cast<std::uint32_t>((redBlue >> 48) & 0xFFu);
    return (destination & 0xFF000000u) | red << 16 | ((green >> 16) & 0xFFu) << 8 | blue;
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

// The columns of buffer row `j` whose sample point can reach the picture: floor(px) in
// [-1, width) and floor(py) in [-1, height), for px = x + i c - j s and py = y + i s + j c.
// Conservative by one column on each side; each pixel is still checked.
inline void rowSpan(double x, double y, double c, double s, int j, int width, int height, int& first, int& last)
{
    double low = -1e9, high = 1e9;
    auto limit = [&low, &high](double start, double slope, double lowest, double highest) {
        // lowest <= start + i * slope < highest
        if (std::fabs(slope) < 1e-12) {
            if (start < lowest || start >= highest) {
                low = 1.0;
                high = 0.0;
            }
            return;
        }
        double a = (lowest - start) / slope;
        double b = (highest - start) / slope;
        if (a > b)
            std::swap(a, b);
        low = std::max(low, a);
        high = std::min(high, b);
    };
    limit(x - j * s, c, -1.0, width);
    limit(y + j * c, s, -1.0, height);
    if (low > high) {
        first = 0;
        last = -1;
        return;
    }
    first = static_cast<int>(std::max(std::floor(low) - 1.0, -1e6));
    last = static_cast<int>(std::min(std::ceil(high) + 1.0, 1e6));
}

// Buffer pixel (i, j) shows picture point (x + i c - j s, y + i s + j c), within the bounds the
// turned picture's corners give. Inside the picture the four neighbours are read without
// bounds checks and a fully transparent neighbourhood is skipped; at its edges each neighbour
// is checked.
template <typename Source>
int drawRotated(const Source source, float x, float y, Size size, float angle, RenderingBufferInterface& buffer)
{
    if (!(std::fabs(x) < kFarthest && std::fabs(y) < kFarthest && std::isfinite(angle)))
        return 0;
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    int lowU = 0, highU = 0, lowV = 0, highV = 0;
    bool first = true;
    for (int corner = 0; corner < 4; ++corner) {
        const float cx = corner & 1 ? static_cast<float>(source.width) : 0.0f;
        const float cy = corner & 2 ? static_cast<float>(source.height) : 0.0f;
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
    const int width = source.width;
    const int height = source.height;
    // Sample points step along a row in 16.16 fixed point; their fractions give the weights.
    constexpr double kOne = 65536.0;
    const auto stepX = static_cast<std::int32_t>(std::lround(c * kOne));
    const auto stepY = static_cast<std::int32_t>(std::lround(s * kOne));
    std::uint32_t* pixels = buffer.pixels();
    for (int j = firstRow; j < lastRow; ++j) {
        int from = 0, to = -1;
        rowSpan(x, y, c, s, j, width, height, from, to);
        from = std::max(from, firstColumn);
        to = std::min(to + 1, lastColumn);
        if (from >= to)
            continue;
        std::uint32_t* line = pixels + static_cast<std::ptrdiff_t>(j) * buffer.width();
        auto px = static_cast<std::int32_t>(std::lround((x + static_cast<double>(from) * c - static_cast<double>(j) * s) * kOne));
        auto py = static_cast<std::int32_t>(std::lround((y + static_cast<double>(from) * s + static_cast<double>(j) * c) * kOne));
        for (int i = from; i < to; ++i, px += stepX, py += stepY) {
            const int i0 = px >> 16;
            const int j0 = py >> 16;
            if (i0 < -1 || j0 < -1 || i0 >= width || j0 >= height)
                continue;
            const Weights w = fixedWeights((px >> 8) & 0xFF, (py >> 8) & 0xFF);
            if (i0 >= 0 && j0 >= 0 && i0 + 1 < width && j0 + 1 < height)
                line[i] = blendInside(source, i0, j0, w, line[i]);
            else
                line[i] = blend(source, i0, j0, w, line[i]);
        }
    }
    return 0;
}

} // namespace pengui::alpha_sampler
