#include "AlphaPicData8.h"

#include "AlphaSampler.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pengui {

AlphaPicData8::AlphaPicData8(const ApicResource& resource)
    : PicDataInterface(resource.width(), resource.height()), pixels_(resource.pixels()), palette_(resource.palette())
{
}

namespace {

// One row: alpha 255 takes the whole palette entry, alpha 0 leaves the pixel, anything between
// moves it towards the colour by alpha / 256. `alphas` steps two bytes a pixel.
void blendRow(const std::uint32_t* colours, const std::uint8_t* alphas, std::uint32_t* destination, int columns)
{
    int column = 0;
#if defined(__SSE2__)
    // Two pixels at a time in 16-bit lanes: s * a + d * (256 - a) stays below 65536, so the
    // shift gives the bits of the plain rule; the fourth byte stays the destination's.
    const __m128i zero = _mm_setzero_si128();
    const __m128i colourLanes = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
    const __m128i full = _mm_set1_epi16(256);
    for (; column + 1 < columns; column += 2) {
        const int first = alphas[2 * column], second = alphas[2 * column + 2];
        if ((first | second) == 0)
            continue;
        const __m128i source = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(colours + column));
        if ((first & second) == 255) {
            _mm_storel_epi64(reinterpret_cast<__m128i*>(destination + column), source);
            continue;
        }
        const __m128i target = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(destination + column));
        const __m128i alpha = _mm_unpacklo_epi64(_mm_set1_epi16(static_cast<short>(first)), _mm_set1_epi16(static_cast<short>(second)));
        const __m128i s = _mm_unpacklo_epi8(source, zero);
        const __m128i d = _mm_unpacklo_epi8(target, zero);
        const __m128i moved = _mm_srli_epi16(_mm_add_epi16(_mm_mullo_epi16(s, alpha), _mm_mullo_epi16(d, _mm_sub_epi16(full, alpha))), 8);
        const __m128i kept = _mm_or_si128(_mm_and_si128(moved, colourLanes), _mm_andnot_si128(colourLanes, d));
        std::uint32_t pixels[2];
        _mm_storel_epi64(reinterpret_cast<__m128i*>(pixels), _mm_packus_epi16(kept, zero));
        // A pixel of alpha 255 takes the whole entry.
        destination[column] = first == 255 ? colours[column] : pixels[0];
        destination[column + 1] = second == 255 ? colours[column + 1] : pixels[1];
    }
#endif
    for (; column < columns; ++column) {
        const int alpha = alphas[2 * column];
        if (alpha == 255)
            destination[column] = colours[column];
        else if (alpha != 0)
            destination[column] = pixel_blend::towards(destination[column], colours[column], alpha);
    }
}

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
    for (int line = 0; line < copy.rows; ++line) {
        const std::ptrdiff_t first = static_cast<std::ptrdiff_t>(copy.sourceY + line) * width() + copy.sourceX;
        blendRow(colours_.data() + first, pixels_ + 2 * first + 1,
                 buffer.pixels() + static_cast<std::ptrdiff_t>(copy.destinationY + line) * buffer.width() + copy.destinationX,
                 copy.columns);
    }
}

int AlphaPicData8::draw_rotated(float x, float y, Size size, float angle, RenderingBufferInterface& buffer) const
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
