#include "TurningPixels.h"

#include "RenderingBufferInterface.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pengui {

namespace {

// Positions beyond this are off any buffer; they are not drawn (and never overflow an int).
constexpr float kFarthest = 1e6f;

// The 8-bit fixed-point weights of the four neighbours, in the order (i, j), (i + 1, j),
// (i, j + 1), (i + 1, j + 1), for fractions fx and fy (0 .. 255).
struct Weights {
    int w00, wx, wy, t;
};

Weights weights(int fx, int fy)
{
    const int t = (fx * fy) >> 8;
    return {256 - fx - fy + t, fx - t, fy - t, t};
}

// Neighbour k counts w_k = weight_k * alpha_k (at most 65280); a channel becomes
// (d * (65536 - sum of w_k) + sum of s_k * w_k) >> 16, which is d moved towards the neighbours
// with the shift rounding down. The words hold s_k * alpha_k, so the sums are of lane times
// weight, and the alpha lane's sum is the total of the w_k.
struct PortableBlend {
    std::uint32_t operator()(const std::uint64_t* top, int stride, const Weights& w, std::uint32_t destination) const
    {
        const std::uint64_t neighbours[4] = {top[0], top[1], top[stride], top[stride + 1]};
        const int weight[4] = {w.w00, w.wx, w.wy, w.t};
        std::uint32_t sums[4] = {0, 0, 0, 0};
        for (int k = 0; k < 4; ++k)
            for (int lane = 0; lane < 4; ++lane)
                sums[lane] += static_cast<std::uint32_t>((neighbours[k] >> (16 * lane)) & 0xFFFFu) * static_cast<std::uint32_t>(weight[k]);
        const std::uint32_t total = sums[3];
        if (total == 0)
            return destination;
        std::uint32_t result = destination & 0xFF000000u;
        for (int c = 0; c < 3; ++c)
            result |= ((((destination >> (8 * c)) & 0xFFu) * (65536u - total) + sums[c]) >> 16) << (8 * c);
        return result;
    }
};

#if defined(__SSE2__)
// The portable blend with the lanes of two neighbours in one register. The products are exact
// 32-bit ones (the low and high halves of 16 x 16 bits), so the pixels are the same bits.
struct VectorBlend {
    std::uint32_t operator()(const std::uint64_t* top, int stride, const Weights& w, std::uint32_t destination) const
    {
        const __m128i upper = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top));
        const __m128i lower = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top + stride));
        // Each neighbour's weight in its four lanes.
        const __m128i single = _mm_unpacklo_epi32(_mm_cvtsi32_si128(w.w00 | w.wx << 16), _mm_cvtsi32_si128(w.wy | w.t << 16));
        const __m128i paired = _mm_unpacklo_epi16(single, single);
        const __m128i upperWeight = _mm_unpacklo_epi32(paired, paired);
        const __m128i lowerWeight = _mm_unpackhi_epi32(paired, paired);
        const __m128i upperLow = _mm_mullo_epi16(upper, upperWeight);
        const __m128i upperHigh = _mm_mulhi_epu16(upper, upperWeight);
        const __m128i lowerLow = _mm_mullo_epi16(lower, lowerWeight);
        const __m128i lowerHigh = _mm_mulhi_epu16(lower, lowerWeight);
        // Blue, green and red sums and the total weight, 32 bits each.
        const __m128i sums = _mm_add_epi32(
            _mm_add_epi32(_mm_unpacklo_epi16(upperLow, upperHigh), _mm_unpackhi_epi16(upperLow, upperHigh)),
            _mm_add_epi32(_mm_unpacklo_epi16(lowerLow, lowerHigh), _mm_unpackhi_epi16(lowerLow, lowerHigh)));
        const auto total = static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 12)));
        if (total == 0)
            return destination;
        // A neighbour counts, so the rest fits 16 bits.
        const __m128i zero = _mm_setzero_si128();
        const __m128i rest = _mm_set1_epi16(static_cast<short>(65536u - total));
        const __m128i target = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(destination)), zero);
        const __m128i keptLow = _mm_mullo_epi16(target, rest);
        const __m128i keptHigh = _mm_mulhi_epu16(target, rest);
        const __m128i channels = _mm_srli_epi32(_mm_add_epi32(_mm_unpacklo_epi16(keptLow, keptHigh), sums), 16);
        const __m128i packed = _mm_packus_epi16(_mm_packs_epi32(channels, zero), zero);
        return (destination & 0xFF000000u) | (static_cast<std::uint32_t>(_mm_cvtsi128_si32(packed)) & 0xFFFFFFu);
    }
};
#endif

// The columns of buffer row `j` whose sample point can reach the picture: floor(px) in
// [-1, width) and floor(py) in [-1, height), for px = x + i c - j s and py = y + i s + j c.
// Conservative by one column on each side; each pixel is still checked.
void rowSpan(double x, double y, double c, double s, int j, int width, int height, int& first, int& last)
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

} // namespace

template <typename Blend>
void TurningPixels::drawWith(Blend blend, float x, float y, Size size, float angle, RenderingBufferInterface& buffer) const
{
    if (words_.empty() || !(std::fabs(x) < kFarthest && std::fabs(y) < kFarthest && std::isfinite(angle)))
        return;
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    int lowU = 0, highU = 0, lowV = 0, highV = 0;
    for (int corner = 0; corner < 4; ++corner) {
        const float cx = corner & 1 ? static_cast<float>(width_) : 0.0f;
        const float cy = corner & 2 ? static_cast<float>(height_) : 0.0f;
        const int u = static_cast<int>(std::floor((cx - x) * c + (cy - y) * s));
        const int v = static_cast<int>(std::floor((cy - y) * c - (cx - x) * s));
        lowU = corner == 0 ? u : std::min(lowU, u);
        highU = corner == 0 ? u : std::max(highU, u);
        lowV = corner == 0 ? v : std::min(lowV, v);
        highV = corner == 0 ? v : std::max(highV, v);
    }
    const int firstColumn = std::max(lowU - 1, 0);
    const int lastColumn = std::min({highU + 2, size.w, buffer.width()});
    const int firstRow = std::max(lowV - 1, 0);
    const int lastRow = std::min({highV + 2, size.h, buffer.height()});
    // Sample points step along a row in 16.16 fixed point; their fractions give the weights.
    constexpr double kOne = 65536.0;
    const auto stepX = static_cast<std::int32_t>(std::lround(c * kOne));
    const auto stepY = static_cast<std::int32_t>(std::lround(s * kOne));
    // The word of picture pixel (-1, -1), the border's corner.
    const std::uint64_t* origin = words_.data();
    std::uint32_t* pixels = buffer.pixels();
    for (int j = firstRow; j < lastRow; ++j) {
        int from = 0, to = -1;
        rowSpan(x, y, c, s, j, width_, height_, from, to);
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
            if (i0 < -1 || j0 < -1 || i0 >= width_ || j0 >= height_)
                continue;
            const std::uint64_t* top = origin + static_cast<std::ptrdiff_t>(j0 + 1) * stride_ + (i0 + 1);
            line[i] = blend(top, stride_, weights((px >> 8) & 0xFF, (py >> 8) & 0xFF), line[i]);
        }
    }
}

void TurningPixels::draw(float x, float y, Size size, float angle, RenderingBufferInterface& buffer) const
{
#if defined(__SSE2__)
    drawWith(VectorBlend{}, x, y, size, angle, buffer);
#else
    drawWith(PortableBlend{}, x, y, size, angle, buffer);
#endif
}

void TurningPixels::draw_portable(float x, float y, Size size, float angle, RenderingBufferInterface& buffer) const
{
    drawWith(PortableBlend{}, x, y, size, angle, buffer);
}

} // namespace pengui
