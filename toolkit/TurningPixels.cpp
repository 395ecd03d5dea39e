#include "TurningPixels.h"

#include "RenderingBufferInterface.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace pengui {

namespace {

// Positions beyond this are off any buffer; they are not drawn (and never overflow an int).
constexpr float kFarthest = 1e6f;

// One row of samples: `count` buffer pixels from `line`, the first sampling picture point
// (px, py) in 16.16 fixed point, each next one (stepX, stepY) further on.
struct RowWalk {
    const std::int16_t* pairs;
    int stride;
    int width;
    int height;
    std::uint32_t* line;
    int count;
    std::int32_t px;
    std::int32_t py;
    std::int32_t stepX;
    std::int32_t stepY;
};

// Where sample points find their neighbours, copied out of the walk so that stores into the
// buffer do not make the compiler read it again.
struct Neighbours {
    const std::int16_t* pairs;
    std::ptrdiff_t stride;
    unsigned columns;
    unsigned rows;

    explicit Neighbours(const RowWalk& walk)
        : pairs(walk.pairs), stride(walk.stride), columns(static_cast<unsigned>(walk.width) + 1u),
          rows(static_cast<unsigned>(walk.height) + 1u)
    {
    }
    // The pair of the top neighbours of sample point (px, py) (the bottom ones are a stride
    // further), or null when the point's neighbourhood misses the picture: its top-left
    // neighbour lies in [-1, width) x [-1, height).
    const std::int16_t* at(std::int32_t px, std::int32_t py) const
    {
        const auto column = static_cast<unsigned>((px >> 16) + 1);
        const auto row = static_cast<unsigned>((py >> 16) + 1);
        if (column >= columns || row >= rows)
            return nullptr;
        return pairs + (static_cast<std::ptrdiff_t>(row) * stride + column) * TurningPixels::kLanes;
    }
};

// The 8-bit fixed-point weights of the four neighbours, in the order (i, j), (i + 1, j),
// (i, j + 1), (i + 1, j + 1), for the fractions of (px, py). They add up to 256.
struct Weights {
    std::uint32_t w00, wx, wy, t;
};

inline Weights weights(std::int32_t px, std::int32_t py)
{
    const auto fx = static_cast<std::uint32_t>(px >> 8) & 0xFFu;
    const auto fy = static_cast<std::uint32_t>(py >> 8) & 0xFFu;
    const std::uint32_t t = (fx * fy) >> 8;
    return {256u - fx - fy + t, fx - t, fy - t, t};
}

// Neighbour k counts w_k = weight_k * alpha_k; the total W of the w_k is at most 65280. A
// channel becomes (d * (65536 - W) + C) >> 16 for C the sum of s_k * w_k: d moved towards the
// neighbours, the shift rounding down, written d + ((C - d * W) >> 16) with an arithmetic shift.
// The lanes hold s_k * alpha_k (and alpha_k) less the bias; the weights add up to 256, so each
// sum of lane times weight comes back by adding the bias times 256.
inline std::uint32_t blendPortable(const std::int16_t* top, std::ptrdiff_t stride, const Weights& w, std::uint32_t destination)
{
    const std::int16_t* bottom = top + stride * TurningPixels::kLanes;
    std::int32_t sums[4];
    for (int lane = 0; lane < 4; ++lane)
        sums[lane] = top[2 * lane] * static_cast<std::int32_t>(w.w00) + top[2 * lane + 1] * static_cast<std::int32_t>(w.wx) +
                     bottom[2 * lane] * static_cast<std::int32_t>(w.wy) + bottom[2 * lane + 1] * static_cast<std::int32_t>(w.t) +
                     -TurningPixels::kBias * 256;
    std::uint32_t result = destination & 0xFF000000u;
    for (int c = 0; c < 3; ++c) {
        const auto d = static_cast<std::int32_t>((destination >> (8 * c)) & 0xFFu);
        result |= static_cast<std::uint32_t>(d + ((sums[c] - d * sums[3]) >> 16)) << (8 * c);
    }
    return result;
}

using Blend = std::uint32_t (*)(const std::int16_t* top, std::ptrdiff_t stride, const Weights& w, std::uint32_t destination);

// Every sample point of a row, one at a time, through `blend`.
template <Blend blend>
void eachPoint(const RowWalk& walk)
{
    const Neighbours neighbours(walk);
    const int count = walk.count;
    const std::int32_t stepX = walk.stepX, stepY = walk.stepY;
    std::uint32_t* line = walk.line;
    std::int32_t px = walk.px, py = walk.py;
    for (int i = 0; i < count; ++i, px += stepX, py += stepY)
        if (const std::int16_t* top = neighbours.at(px, py))
            line[i] = blend(top, neighbours.stride, weights(px, py), line[i]);
}

#if defined(__SSE2__)
// The portable blend with each lane's two neighbours side by side: one multiply-add per row of
// neighbours gives the 32-bit sums exactly.
inline std::uint32_t blendVector(const std::int16_t* top, std::ptrdiff_t stride, const Weights& w, std::uint32_t destination)
{
    const __m128i upper = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top));
    const __m128i lower = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top + stride * TurningPixels::kLanes));
    const __m128i sums = _mm_add_epi32(
        _mm_add_epi32(_mm_madd_epi16(upper, _mm_set1_epi32(static_cast<int>(w.w00 | w.wx << 16))),
                      _mm_madd_epi16(lower, _mm_set1_epi32(static_cast<int>(w.wy | w.t << 16)))),
        _mm_set1_epi32(-TurningPixels::kBias * 256));
    // W fits 16 bits: d * W from 16-bit halves.
    const __m128i total = _mm_shuffle_epi32(_mm_shufflehi_epi16(sums, 0xAA), 0xFF);
    const __m128i zero = _mm_setzero_si128();
    const __m128i target = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int>(destination)), zero);
    const __m128i product = _mm_unpacklo_epi16(_mm_mullo_epi16(target, total), _mm_mulhi_epu16(target, total));
    const __m128i moved = _mm_srai_epi32(_mm_sub_epi32(sums, product), 16);
    const __m128i channels = _mm_add_epi32(_mm_unpacklo_epi16(target, zero), moved);
    const __m128i packed = _mm_packus_epi16(_mm_packs_epi32(channels, zero), zero);
    return (destination & 0xFF000000u) | (static_cast<std::uint32_t>(_mm_cvtsi128_si32(packed)) & 0xFFFFFFu);
}
#endif

#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
#define ZORVANE_WIDE_PATH 1
// Two sample points whose neighbourhoods lie in the picture, one in each 128-bit half: the
// vector blend's steps side by side, with 32-bit products where AVX2 has them. `upperWeights`
// and `lowerWeights` hold each point's pairs of weights in every 32-bit lane of its half;
// `pixels` the two buffer pixels.
__attribute__((target("avx2"))) inline void blendPair(const std::int16_t* first, const std::int16_t* second, std::ptrdiff_t stride,
                                                      __m256i upperWeights, __m256i lowerWeights, std::uint32_t* pixels)
{
    const std::ptrdiff_t below = stride * TurningPixels::kLanes;
    const __m256i upper = _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(first))),
                                                  _mm_loadu_si128(reinterpret_cast<const __m128i*>(second)), 1);
    const __m256i lower =
        _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(first + below))),
                                _mm_loadu_si128(reinterpret_cast<const __m128i*>(second + below)), 1);
    const __m256i sums = _mm256_add_epi32(
        _mm256_add_epi32(_mm256_madd_epi16(upper, upperWeights), _mm256_madd_epi16(lower, lowerWeights)),
        _mm256_set1_epi32(-TurningPixels::kBias * 256));
    const __m256i total = _mm256_shuffle_epi32(sums, 0xFF);
    const __m256i target = _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(pixels)));
    // The fourth byte does not move: its lane's change is masked out.
    const __m256i moved = _mm256_and_si256(_mm256_srai_epi32(_mm256_sub_epi32(sums, _mm256_mullo_epi32(target, total)), 16),
                                           _mm256_set_epi32(0, -1, -1, -1, 0, -1, -1, -1));
    const __m256i zero = _mm256_setzero_si256();
    const __m256i packed = _mm256_packus_epi16(_mm256_packs_epi32(_mm256_add_epi32(target, moved), zero), zero);
    // Both pixels side by side in the low 64 bits, stored at once.
    const __m256i together = _mm256_permutevar8x32_epi32(packed, _mm256_set_epi32(0, 0, 0, 0, 0, 0, 4, 0));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(pixels), _mm256_castsi256_si128(together));
}

// Four sample points at a time: their neighbourhoods and weights computed side by side, then
// blended in two pairs. The last points of the row go one by one.
__attribute__((target("avx2"))) void wideRow(const RowWalk& walk)
{
    const Neighbours neighbours(walk);
    const int count = walk.count;
    const std::int32_t stepX = walk.stepX, stepY = walk.stepY;
    std::uint32_t* line = walk.line;
    const __m128i lanes = _mm_set_epi32(3, 2, 1, 0);
    __m128i xs = _mm_add_epi32(_mm_set1_epi32(walk.px), _mm_mullo_epi32(lanes, _mm_set1_epi32(stepX)));
    __m128i ys = _mm_add_epi32(_mm_set1_epi32(walk.py), _mm_mullo_epi32(lanes, _mm_set1_epi32(stepY)));
    const __m128i fourX = _mm_set1_epi32(4 * stepX), fourY = _mm_set1_epi32(4 * stepY);
    const __m128i one = _mm_set1_epi32(1), byte = _mm_set1_epi32(0xFF), full = _mm_set1_epi32(256);
    const __m128i lastColumn = _mm_set1_epi32(walk.width), lastRow = _mm_set1_epi32(walk.height);
    const __m128i rowPairs = _mm_set1_epi32(static_cast<int>(neighbours.stride));
    const __m128i clearEntry =
        _mm_set1_epi32(static_cast<int>((static_cast<std::ptrdiff_t>(walk.height) + 1) * neighbours.stride * TurningPixels::kLanes));
    const __m256i firstTwo = _mm256_set_epi32(1, 1, 1, 1, 0, 0, 0, 0), lastTwo = _mm256_set_epi32(3, 3, 3, 3, 2, 2, 2, 2);
    int i = 0;
    for (; i + 3 < count; i += 4, xs = _mm_add_epi32(xs, fourX), ys = _mm_add_epi32(ys, fourY)) {
        // The top-left neighbours' places in the bordered picture: in [0, width] x [0, height].
        const __m128i column = _mm_add_epi32(_mm_srai_epi32(xs, 16), one);
        const __m128i row = _mm_add_epi32(_mm_srai_epi32(ys, 16), one);
        const __m128i inside = _mm_and_si128(_mm_cmpeq_epi32(_mm_min_epu32(column, lastColumn), column),
                                             _mm_cmpeq_epi32(_mm_min_epu32(row, lastRow), row));
        if (_mm_movemask_ps(_mm_castsi128_ps(inside)) == 0)
            continue;
        // A point whose neighbourhood misses the picture reads the clear entries below the
        // picture, which leave its pixel as it was.
        const __m128i offsets = _mm_or_si128(
            _mm_and_si128(_mm_slli_epi32(_mm_add_epi32(_mm_mullo_epi32(row, rowPairs), column), 3), inside),
            _mm_andnot_si128(inside, clearEntry));
        // The weights: t = fx * fy >> 8, wx = fx - t, wy = fy - t, w00 = 256 - fx - fy + t; each
        // point's top pair (w00, wx) and bottom pair (wy, t) as two 16-bit halves.
        const __m128i fx = _mm_and_si128(_mm_srli_epi32(xs, 8), byte);
        const __m128i fy = _mm_and_si128(_mm_srli_epi32(ys, 8), byte);
        const __m128i t = _mm_srli_epi32(_mm_mullo_epi32(fx, fy), 8);
        const __m128i wx = _mm_sub_epi32(fx, t);
        const __m128i wy = _mm_sub_epi32(fy, t);
        const __m128i w00 = _mm_add_epi32(_mm_sub_epi32(_mm_sub_epi32(full, fx), fy), t);
        const __m256i top = _mm256_castsi128_si256(_mm_or_si128(w00, _mm_slli_epi32(wx, 16)));
        const __m256i bottom = _mm256_castsi128_si256(_mm_or_si128(wy, _mm_slli_epi32(t, 16)));
        const std::int16_t* pairs = neighbours.pairs;
        blendPair(pairs + _mm_cvtsi128_si32(offsets), pairs + _mm_extract_epi32(offsets, 1), neighbours.stride,
                  _mm256_permutevar8x32_epi32(top, firstTwo), _mm256_permutevar8x32_epi32(bottom, firstTwo), line + i);
        blendPair(pairs + _mm_extract_epi32(offsets, 2), pairs + _mm_extract_epi32(offsets, 3), neighbours.stride,
                  _mm256_permutevar8x32_epi32(top, lastTwo), _mm256_permutevar8x32_epi32(bottom, lastTwo), line + i + 2);
    }
    for (; i < count; ++i) {
        const std::int32_t px = walk.px + i * stepX, py = walk.py + i * stepY;
        if (const std::int16_t* top = neighbours.at(px, py))
            line[i] = blendVector(top, neighbours.stride, weights(px, py), line[i]);
    }
}
#endif

using RowFunction = void (*)(const RowWalk&);

RowFunction rowFunction(TurningPixels::Path path)
{
    switch (path) {
#if defined(__SSE2__)
    case TurningPixels::Path::kVector: return eachPoint<blendVector>;
#endif
#if defined(ZORVANE_WIDE_PATH)
    case TurningPixels::Path::kWide: return wideRow;
#endif
    default: return eachPoint<blendPortable>;
    }
}

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

bool TurningPixels::offers(Path path)
{
    switch (path) {
    case Path::kPortable: return true;
#if defined(__SSE2__)
    case Path::kVector: return true;
#endif
#if defined(ZORVANE_WIDE_PATH)
    case Path::kWide: {
        static const bool wide = [] {
            __builtin_cpu_init();
            return __builtin_cpu_supports("avx2") != 0;
        }();
        return wide;
    }
#endif
    default: return false;
    }
}

TurningPixels::Path TurningPixels::best_path()
{
    return offers(Path::kWide) ? Path::kWide : offers(Path::kVector) ? Path::kVector : Path::kPortable;
}

void TurningPixels::draw(float x, float y, Size size, float angle, RenderingBufferInterface& buffer) const
{
    static const Path best = best_path();
    draw_on(best, x, y, size, angle, buffer);
}

void TurningPixels::draw_on(Path path, float x, float y, Size size, float angle, RenderingBufferInterface& buffer) const
{
    if (pairs_.empty() || !offers(path) ||
        !(std::fabs(x) < kFarthest && std::fabs(y) < kFarthest && std::isfinite(angle)))
        return;
    const RowFunction row = rowFunction(path);
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
    RowWalk walk{pairs_.data(), stride_, width_, height_, nullptr, 0, 0, 0,
                 static_cast<std::int32_t>(std::lround(c * kOne)), static_cast<std::int32_t>(std::lround(s * kOne))};
    std::uint32_t* pixels = buffer.pixels();
    for (int j = firstRow; j < lastRow; ++j) {
        int from = 0, to = -1;
        rowSpan(x, y, c, s, j, width_, height_, from, to);
        from = std::max(from, firstColumn);
        to = std::min(to + 1, lastColumn);
        if (from >= to)
            continue;
        auto px = static_cast<std::int32_t>(std::lround((x + static_cast<double>(from) * c - static_cast<double>(j) * s) * kOne));
        auto py = static_cast<std::int32_t>(std::lround((y + static_cast<double>(from) * s + static_cast<double>(j) * c) * kOne));
        // Within the row, only the columns whose sample point lies in the disc around the
        // picture's centre that holds every point a visible pixel reaches: the others would
        // leave their pixels as they are. The points keep the positions the row's start gives.
        const double dx = x - j * s - centreX_, dy = y + j * c - centreY_;
        const double along = dx * c + dy * s;
        const double across = dx * dx + dy * dy - along * along;
        const double room = reach_ * reach_ - across;
        if (reach_ < 0.0 || room < 0.0)
            continue;
        const double half = std::sqrt(room);
        const int first = std::max(from, static_cast<int>(std::max(std::floor(-along - half) - 1.0, -1e6)));
        const int last = std::min(to, static_cast<int>(std::min(std::ceil(-along + half) + 2.0, 1e6)));
        if (first >= last)
            continue;
        walk.line = pixels + static_cast<std::ptrdiff_t>(j) * buffer.width() + first;
        walk.count = last - first;
        walk.px = px + (first - from) * walk.stepX;
        walk.py = py + (first - from) * walk.stepY;
        row(walk);
    }
}

} // namespace pengui
