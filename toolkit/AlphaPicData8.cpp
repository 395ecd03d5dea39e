#include "AlphaPicData8.h"

#include "AlphaSampler.h"
#include "WideDrawing.h"

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace pengui {

AlphaPicData8::AlphaPicData8(const ApicResource& resource)
    : PicDataInterface(resource.width(), resource.height()), pixels_(resource.pixels()), palette_(resource.palette())
{
}

namespace {

// One row: alpha 255 takes the whole palette entry, alpha 0 leaves the pixel, anything between
// moves it towards the colour by alpha / 256. `entries` holds the picture's (index, alpha)
// byte pairs.
void blendRow(const std::uint32_t* colours, const std::uint8_t* entries, std::uint32_t* destination, int columns)
{
    int column = 0;
#if defined(__SSE2__)
    // Four pixels at a time in 16-bit lanes, without a branch per pixel: s * a + d * (256 - a)
    // stays below 65536, so the shift gives the bits of the plain rule, alpha 0 giving d back;
    // the fourth byte stays the destination's, and alpha 255 selects the whole entry.
    const __m128i zero = _mm_setzero_si128();
    const __m128i colourLanes = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
    const __m128i full = _mm_set1_epi16(256);
    const __m128i opaque = _mm_set1_epi32(255);
    for (; column + 3 < columns; column += 4) {
        // The four alphas, one in each 16-bit lane of the low half.
        const __m128i alphas = _mm_srli_epi16(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(entries + 2 * column)), 8);
        const __m128i alphaWords = _mm_unpacklo_epi16(alphas, zero);
        const int clear = _mm_movemask_epi8(_mm_cmpeq_epi32(alphaWords, zero));
        if (clear == 0xFFFF)
            continue;
        const __m128i source = _mm_loadu_si128(reinterpret_cast<const __m128i*>(colours + column));
        const __m128i whole = _mm_cmpeq_epi32(alphaWords, opaque);
        if (_mm_movemask_epi8(whole) == 0xFFFF) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + column), source);
            continue;
        }
        const __m128i target = _mm_loadu_si128(reinterpret_cast<const __m128i*>(destination + column));
        const __m128i spread = _mm_unpacklo_epi16(alphas, alphas);
        auto half = [&](__m128i s, __m128i d, __m128i alpha) {
            const __m128i moved =
                _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(s, alpha), _mm_mullo_epi16(d, _mm_sub_epi16(full, alpha))), 8);
            return _mm_or_si128(_mm_and_si128(moved, colourLanes), _mm_andnot_si128(colourLanes, d));
        };
        const __m128i low = half(_mm_unpacklo_epi8(source, zero), _mm_unpacklo_epi8(target, zero), _mm_unpacklo_epi32(spread, spread));
        const __m128i high = half(_mm_unpackhi_epi8(source, zero), _mm_unpackhi_epi8(target, zero), _mm_unpackhi_epi32(spread, spread));
        const __m128i blended = _mm_packus_epi16(low, high);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + column),
                         _mm_or_si128(_mm_and_si128(whole, source), _mm_andnot_si128(whole, blended)));
    }
#endif
    for (; column < columns; ++column) {
        const int alpha = entries[2 * column + 1];
        if (alpha == 255)
            destination[column] = colours[column];
        else if (alpha != 0)
            destination[column] = pixel_blend::towards(destination[column], colours[column], alpha);
    }
}


#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__))
#define ZORVANE_WIDE_BLEND 1
// Four pixels' channels in 16-bit lanes moved towards the source by their alphas, the fourth
// bytes kept.
__attribute__((target("avx2"))) inline __m256i wideHalf(__m256i s, __m256i d, __m256i alpha)
{
    const __m256i moved = _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(s, alpha), _mm256_mullo_epi16(d, _mm256_sub_epi16(_mm256_set1_epi16(256), alpha))), 8);
    const __m256i colourLanes = _mm256_set_epi16(0, -1, -1, -1, 0, -1, -1, -1, 0, -1, -1, -1, 0, -1, -1, -1);
    return _mm256_or_si256(_mm256_and_si256(moved, colourLanes), _mm256_andnot_si256(colourLanes, d));
}

// The same row eight pixels at a time in 256-bit lanes, the rest as above.
__attribute__((target("avx2"))) void blendRowWide(const std::uint32_t* colours, const std::uint8_t* entries,
                                                  std::uint32_t* destination, int columns)
{
    const __m256i zero = _mm256_setzero_si256();
    const __m256i opaque = _mm256_set1_epi32(255);
    int column = 0;
    for (; column + 7 < columns; column += 8) {
        const __m256i alphas = _mm256_cvtepu16_epi32(
            _mm_srli_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(entries + 2 * column)), 8));
        if (_mm256_testz_si256(alphas, alphas))
            continue;
        const __m256i source = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(colours + column));
        const __m256i whole = _mm256_cmpeq_epi32(alphas, opaque);
        if (_mm256_movemask_epi8(whole) == -1) {
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(destination + column), source);
            continue;
        }
        const __m256i target = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(destination + column));
        // Each pixel's alpha in both 16-bit halves of its 32-bit lane.
        const __m256i spread = _mm256_or_si256(alphas, _mm256_slli_epi32(alphas, 16));
        const __m256i low =
            wideHalf(_mm256_unpacklo_epi8(source, zero), _mm256_unpacklo_epi8(target, zero), _mm256_unpacklo_epi32(spread, spread));
        const __m256i high =
            wideHalf(_mm256_unpackhi_epi8(source, zero), _mm256_unpackhi_epi8(target, zero), _mm256_unpackhi_epi32(spread, spread));
        const __m256i blended = _mm256_packus_epi16(low, high);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(destination + column),
                            _mm256_or_si256(_mm256_and_si256(whole, source), _mm256_andnot_si256(whole, blended)));
    }
    blendRow(colours + column, entries + 2 * column, destination + column, columns - column);
}
#endif

} // namespace

void AlphaPicData8::draw(const Rect& area, RenderingBufferInterface& buffer) const
{
    if (colours_.empty()) {
        colours_.resize(static_cast<std::size_t>(width()) * static_cast<std::size_t>(height()));
        for (std::size_t i = 0; i < colours_.size(); ++i)
            colours_[i] = palette_[pixels_[2 * i]];
    }
    const ClippedCopy copy = clip_copy(area, width(), height(), buffer);
    if (copy.empty())
        return;
    auto row = blendRow;
#if defined(ZORVANE_WIDE_BLEND)
    if (wide_drawing::enabled())
        row = blendRowWide;
#endif
    for (int line = 0; line < copy.rows; ++line) {
        const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(copy.sourceY + line) * width() + copy.sourceX;
        row(colours_.data() + first, pixels_ + 2 * first,
                 buffer.pixels() + static_cast<std::ptrdiff_t>(copy.destinationY + line) * buffer.width() + copy.destinationX,
                 copy.columns);
    }
}

int AlphaPicData8::draw_rotated(double x, double y, Size size, double angle, RenderingBufferInterface& buffer) const
{
    if (turning_.empty())
        turning_.fill(view());
    turning_.draw(x, y, size, angle, buffer);
    return 0;
}

void AlphaPicData8::draw_shifted(float x, float y, Size size, RenderingBufferInterface& buffer) const
{
    alpha_sampler::drawShifted(view(), x, y, size, buffer);
}

} // namespace pengui
