#include "TurningPixels.h"

#include "RenderingBufferInterface.h"
#include "WideDrawing.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace pengui {

namespace {

// Positions and buffers beyond this many pixels are not drawn: the walk's sums of three such
// terms stay within its 64-bit fixed point.
constexpr double kFarthest = 16384.0;

// The walk's fixed point: 44 fractional bits, so that a point reckoned from its row's start
// lands where the exact arithmetic puts it to far below the 1/256 pixel its weights read,
// however far along the row it lies. Its 16.16 form (a whole pixel, and the fraction the
// weights read) is the position shifted down by kToSixteen.
constexpr int kFraction = 44;
constexpr int kToSixteen = kFraction - 16;

inline std::int32_t sixteen(std::int64_t position)
{
    return static_cast<std::int32_t>(position >> kToSixteen);
}

// One row of samples: `count` buffer pixels from `line`, the first sampling picture point
// (px, py), each next one (stepX, stepY) further on, in the walk's fixed point.
struct RowWalk {
    const std::int16_t* pairs;
    int stride;
    int width;
    int height;
    std::uint32_t* line;
    int count;
    std::int64_t px;
    std::int64_t py;
    std::int64_t stepX;
    std::int64_t stepY;
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
    const std::int64_t stepX = walk.stepX, stepY = walk.stepY;
    std::uint32_t* line = walk.line;
    std::int64_t x = walk.px, y = walk.py;
    for (int i = 0; i < count; ++i, x += stepX, y += stepY) {
        const std::int32_t px = sixteen(x), py = sixteen(y);
        if (const std::int16_t* top = neighbours.at(px, py))
            line[i] = blend(top, neighbours.stride, weights(px, py), line[i]);
    }
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
// The sums of two sample points, one in each 128-bit half: each lane's pair of neighbours in
// a row times that row's pair of weights, both rows added, the bias taken back. `first` and
// `second` are the points' top entries; `upperWeights` and `lowerWeights` hold each point's
// pairs of weights in every 32-bit lane of its half.
__attribute__((target("avx2"))) inline __m256i pairSums(const char* first, const char* second, std::ptrdiff_t below,
                                                        __m256i upperWeights, __m256i lowerWeights)
{
    const __m256i upper = _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(first))),
                                                  _mm_loadu_si128(reinterpret_cast<const __m128i*>(second)), 1);
    const __m256i lower =
        _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(first + below))),
                                _mm_loadu_si128(reinterpret_cast<const __m128i*>(second + below)), 1);
    return _mm256_add_epi32(_mm256_add_epi32(_mm256_madd_epi16(upper, upperWeights), _mm256_madd_epi16(lower, lowerWeights)),
                            _mm256_set1_epi32(-TurningPixels::kBias * 256));
}

// The vector blend's steps for two points side by side, with 32-bit products: `target` the two
// buffer pixels, in 32-bit lanes by channel; their channels moved, the fourth byte's lane not.
__attribute__((target("avx2"))) inline __m256i pairBlend(__m256i sums, __m256i target)
{
    const __m256i total = _mm256_shuffle_epi32(sums, 0xFF);
    const __m256i moved = _mm256_and_si256(_mm256_srai_epi32(_mm256_sub_epi32(sums, _mm256_mullo_epi32(target, total)), 16),
                                           _mm256_set_epi32(0, -1, -1, -1, 0, -1, -1, -1));
    return _mm256_add_epi32(target, moved);
}

// Points k and k + 1 of eight, blended side by side: their entries at `places` (the byte
// offsets of the four points k belongs to), their weights from every point's `top` and `bottom`
// pairs, their two pixels from `targets` (the four pixels of those points).
template <int k>
__attribute__((target("avx2"))) inline __m256i pairAt(const char* entries, __m128i places, std::ptrdiff_t below, __m256i top,
                                                      __m256i bottom, __m128i targets)
{
    constexpr bool low = k % 4 == 0;
    const char* first = entries + static_cast<std::uint32_t>(low ? _mm_cvtsi128_si32(places) : _mm_extract_epi32(places, 2));
    const char* second = entries + static_cast<std::uint32_t>(low ? _mm_extract_epi32(places, 1) : _mm_extract_epi32(places, 3));
    const __m256i spread = _mm256_set_epi32(k + 1, k + 1, k + 1, k + 1, k, k, k, k);
    const __m128i two = low ? targets : _mm_srli_si128(targets, 8);
    return pairBlend(pairSums(first, second, below, _mm256_permutevar8x32_epi32(top, spread), _mm256_permutevar8x32_epi32(bottom, spread)),
                     _mm256_cvtepu8_epi32(two));
}

// The 16.16 forms of eight positions held four in each of two registers of 64-bit lanes, in
// their order.
__attribute__((target("avx2"))) inline __m256i sixteens(__m256i low, __m256i high)
{
    const __m256 evens = _mm256_shuffle_ps(_mm256_castsi256_ps(_mm256_srli_epi64(low, kToSixteen)),
                                           _mm256_castsi256_ps(_mm256_srli_epi64(high, kToSixteen)), _MM_SHUFFLE(2, 0, 2, 0));
    // The halves hold points 0, 1, 4, 5 and 2, 3, 6, 7.
    return _mm256_permute4x64_epi64(_mm256_castps_si256(evens), _MM_SHUFFLE(3, 1, 2, 0));
}

// Eight sample points at a time: their neighbourhoods and weights computed side by side, then
// blended in four pairs and stored together. The last points of the row go through the same
// steps on a copy of their pixels, the missing points reading the clear entries.
__attribute__((target("avx2"))) void wideRow(const RowWalk& walk)
{
    const Neighbours neighbours(walk);
    const int count = walk.count;
    const int whole = count & ~7;
    std::uint32_t* line = walk.line;
    alignas(32) std::uint32_t last[8];
    const __m256i lanes = _mm256_set_epi32(7, 6, 5, 4, 3, 2, 1, 0);
    // The eight points' positions, four in each of two registers of 64-bit lanes, a pixel
    // further on, so that the whole part of the 16.16 form is the top-left neighbour's place in
    // the bordered picture: in [0, width] x [0, height] when it is inside.
    constexpr std::int64_t kBorder = std::int64_t{1} << kFraction;
    const std::int64_t x = walk.px + kBorder, y = walk.py + kBorder, stepX = walk.stepX, stepY = walk.stepY;
    __m256i xsLow = _mm256_set_epi64x(x + 3 * stepX, x + 2 * stepX, x + stepX, x);
    __m256i xsHigh = _mm256_set_epi64x(x + 7 * stepX, x + 6 * stepX, x + 5 * stepX, x + 4 * stepX);
    __m256i ysLow = _mm256_set_epi64x(y + 3 * stepY, y + 2 * stepY, y + stepY, y);
    __m256i ysHigh = _mm256_set_epi64x(y + 7 * stepY, y + 6 * stepY, y + 5 * stepY, y + 4 * stepY);
    const __m256i eightX = _mm256_set1_epi64x(8 * walk.stepX), eightY = _mm256_set1_epi64x(8 * walk.stepY);
    const __m256i byte = _mm256_set1_epi32(0xFF), full = _mm256_set1_epi32(256);
    const __m256i lastColumn = _mm256_set1_epi32(walk.width), lastRow = _mm256_set1_epi32(walk.height);
    const __m256i rowEntries = _mm256_set1_epi32(static_cast<int>(neighbours.stride));
    constexpr int kEntryBytes = TurningPixels::kLanes * sizeof(std::int16_t);
    const std::ptrdiff_t below = neighbours.stride * kEntryBytes;
    const __m256i clearEntry = _mm256_set1_epi32(static_cast<int>((static_cast<std::ptrdiff_t>(walk.height) + 1) * below));
    const __m256i remaining = _mm256_cmpgt_epi32(_mm256_set1_epi32(count - whole), lanes);
    const auto* entries = reinterpret_cast<const char*>(neighbours.pairs);
    _mm256_store_si256(reinterpret_cast<__m256i*>(last), _mm256_maskload_epi32(reinterpret_cast<const int*>(line + whole), remaining));
    for (int i = 0; i < count; i += 8, xsLow = _mm256_add_epi64(xsLow, eightX), xsHigh = _mm256_add_epi64(xsHigh, eightX),
             ysLow = _mm256_add_epi64(ysLow, eightY), ysHigh = _mm256_add_epi64(ysHigh, eightY)) {
        const bool tail = i == whole;
        std::uint32_t* pixels = tail ? last : line + i;
        const __m256i xs = sixteens(xsLow, xsHigh);
        const __m256i ys = sixteens(ysLow, ysHigh);
        const __m256i column = _mm256_srai_epi32(xs, 16);
        const __m256i row = _mm256_srai_epi32(ys, 16);
        __m256i inside = _mm256_and_si256(_mm256_cmpeq_epi32(_mm256_min_epu32(column, lastColumn), column),
                                          _mm256_cmpeq_epi32(_mm256_min_epu32(row, lastRow), row));
        if (tail)
            inside = _mm256_and_si256(inside, remaining);
        if (_mm256_movemask_ps(_mm256_castsi256_ps(inside)) == 0)
            continue;
        // A point whose neighbourhood misses the picture reads the clear entries below the
        // picture, which leave its pixel as it was.
        const __m256i offsets = _mm256_blendv_epi8(
            clearEntry, _mm256_slli_epi32(_mm256_add_epi32(_mm256_mullo_epi32(row, rowEntries), column), 4), inside);
        // The weights: t = fx * fy >> 8, wx = fx - t, wy = fy - t, w00 = 256 - fx - fy + t; each
        // point's top pair (w00, wx) and bottom pair (wy, t) as two 16-bit halves. Both
        // fractions are below 256: the 16-bit product is the whole product.
        const __m256i fx = _mm256_and_si256(_mm256_srli_epi32(xs, 8), byte);
        const __m256i fy = _mm256_and_si256(_mm256_srli_epi32(ys, 8), byte);
        const __m256i t = _mm256_srli_epi32(_mm256_mullo_epi16(fx, fy), 8);
        const __m256i wx = _mm256_sub_epi32(fx, t);
        const __m256i wy = _mm256_sub_epi32(fy, t);
        const __m256i w00 = _mm256_sub_epi32(_mm256_sub_epi32(full, fx), wy);
        const __m256i top = _mm256_or_si256(w00, _mm256_slli_epi32(wx, 16));
        const __m256i bottom = _mm256_or_si256(wy, _mm256_slli_epi32(t, 16));
        const __m128i near = _mm256_castsi256_si128(offsets), far = _mm256_extracti128_si256(offsets, 1);
        const __m256i targets = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(pixels));
        const __m128i nearTargets = _mm256_castsi256_si128(targets), farTargets = _mm256_extracti128_si256(targets, 1);
        // Each half holds one point of each pair: packed, the eight pixels in the order 0, 2,
        // 4, 6, 1, 3, 5, 7.
        const __m256i packed = _mm256_packus_epi16(_mm256_packs_epi32(pairAt<0>(entries, near, below, top, bottom, nearTargets),
                                                                      pairAt<2>(entries, near, below, top, bottom, nearTargets)),
                                                   _mm256_packs_epi32(pairAt<4>(entries, far, below, top, bottom, farTargets),
                                                                      pairAt<6>(entries, far, below, top, bottom, farTargets)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels),
                            _mm256_permutevar8x32_epi32(packed, _mm256_set_epi32(7, 3, 6, 2, 5, 1, 4, 0)));
    }
    _mm256_maskstore_epi32(reinterpret_cast<int*>(line + whole), remaining, _mm256_load_si256(reinterpret_cast<const __m256i*>(last)));
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

// floor(v) for |v| below 2^31, without a library call.
inline int floorOf(double v)
{
    const int truncated = static_cast<int>(v);
    return truncated - (v < truncated ? 1 : 0);
}

// Where along a row of sample points, start + i * slope for the row's columns i, the points lie
// in [lowest, highest): narrows [low, high] to those i. A slope of 0 keeps all or none.
inline void narrow(double start, double slope, double reciprocal, double lowest, double highest, double& low, double& high)
{
    if (reciprocal == 0.0) {
        if (start < lowest || start >= highest)
            high = low - 1.0;
        return;
    }
    const double a = (lowest - start) * reciprocal;
    const double b = (highest - start) * reciprocal;
    low = std::max(low, slope > 0.0 ? a : b);
    high = std::min(high, slope > 0.0 ? b : a);
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
    case Path::kWide: return wide_drawing::available();
#endif
    default: return false;
    }
}

TurningPixels::Path TurningPixels::best_path()
{
    return offers(Path::kWide) ? Path::kWide : offers(Path::kVector) ? Path::kVector : Path::kPortable;
}

void TurningPixels::draw(double x, double y, Size size, double angle, RenderingBufferInterface& buffer) const
{
    static const Path best = best_path();
    draw_on(best, x, y, size, angle, buffer);
}

void TurningPixels::draw_on(Path path, double x, double y, Size size, double angle, RenderingBufferInterface& buffer) const
{
    if (pairs_.empty() || reach_ < 0.0 || !offers(path) ||
        !(std::fabs(x) < kFarthest && std::fabs(y) < kFarthest && std::isfinite(angle)) || buffer.width() > kFarthest ||
        buffer.height() > kFarthest)
        return;
    const RowFunction row = rowFunction(path);
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    // The buffer block that holds the turned corners of [-1, width] x [-1, height]: a sample
    // point reaches the picture while its top-left neighbour lies in [-1, width) x [-1, height).
    int lowU = 0, highU = 0, lowV = 0, highV = 0;
    for (int corner = 0; corner < 4; ++corner) {
        const double cx = corner & 1 ? width_ : -1.0;
        const double cy = corner & 2 ? height_ : -1.0;
        const int u = floorOf((cx - x) * c + (cy - y) * s);
        const int v = floorOf((cy - y) * c - (cx - x) * s);
        lowU = corner == 0 ? u : std::min(lowU, u);
        highU = corner == 0 ? u : std::max(highU, u);
        lowV = corner == 0 ? v : std::min(lowV, v);
        highV = corner == 0 ? v : std::max(highV, v);
    }
    const int firstColumn = std::max(lowU - 1, 0);
    const int lastColumn = std::min({highU + 2, size.w, buffer.width()});
    const int firstRow = std::max(lowV - 1, 0);
    const int lastRow = std::min({highV + 2, size.h, buffer.height()});
    // Buffer pixel (i, j) samples picture point (x - j sin + i stepX, y + j cos + i stepY), its
    // row's start rounded to the walk's fixed point and the steps the rounded sine and cosine,
    // so that a pixel shows the same whichever columns around it are drawn.
    constexpr double kOne = static_cast<double>(std::int64_t{1} << kFraction);
    const auto fixed = [kOne](double v) {
        const double scaled = v * kOne + 0.5;
        const auto truncated = static_cast<std::int64_t>(scaled);
        return truncated - (scaled < static_cast<double>(truncated) ? 1 : 0);
    };
    const std::int64_t stepX = fixed(c), stepY = fixed(s);
    const double unitX = static_cast<double>(stepX) / kOne, unitY = static_cast<double>(stepY) / kOne;
    const double overX = std::fabs(unitX) < 1e-9 ? 0.0 : 1.0 / unitX, overY = std::fabs(unitY) < 1e-9 ? 0.0 : 1.0 / unitY;
    // A row's bounds are a chain of dependent steps (rounding, a square root, the narrowing)
    // that a drawing call between two rows would leave exposed; working them out for a batch of
    // rows first lets the processor overlap the rows' chains.
    constexpr int kBatch = 32;
    struct Span {
        std::uint32_t* line;
        int count;
        std::int64_t px, py;
    };
    Span spans[kBatch];
    RowWalk walk{pairs_.data(), stride_, width_, height_, nullptr, 0, 0, 0, stepX, stepY};
    std::uint32_t* pixels = buffer.pixels();
    const std::ptrdiff_t pitch = buffer.width();
    for (int batch = firstRow; batch < lastRow; batch += kBatch) {
        int found = 0;
        for (int j = batch; j < std::min(batch + kBatch, lastRow); ++j) {
            const std::int64_t rowX = fixed(x - j * s), rowY = fixed(y + j * c);
            const double startX = static_cast<double>(rowX) / kOne, startY = static_cast<double>(rowY) / kOne;
            // The columns whose sample point lies in the disc around the picture's centre that
            // holds every point a visible pixel reaches, and whose neighbourhood can touch the
            // picture: the others would leave their pixels as they are. Conservative by a column
            // for rounding; each point is still checked.
            const double dx = startX - centreX_, dy = startY - centreY_;
            const double along = dx * unitX + dy * unitY;
            const double across = dx * dx + dy * dy - along * along;
            const double room = reach_ * reach_ - across;
            if (room < 0.0)
                continue;
            const double half = std::sqrt(room);
            double low = -along - half, high = -along + half;
            narrow(startX, unitX, overX, -1.0, width_, low, high);
            narrow(startY, unitY, overY, -1.0, height_, low, high);
            if (!(low <= high))
                continue;
            const int first = std::max(firstColumn, floorOf(std::max(low, -1e6)));
            const int last = std::min(lastColumn, floorOf(std::min(high, 1e6)) + 2);
            if (first < last)
                spans[found++] = {pixels + j * pitch + first, last - first, rowX + first * stepX, rowY + first * stepY};
        }
        for (int k = 0; k < found; ++k) {
            const Span& span = spans[k];
            walk.line = span.line;
            walk.count = span.count;
            walk.px = span.px;
            walk.py = span.py;
            row(walk);
        }
    }
}
} // namespace pengui
