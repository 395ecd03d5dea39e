#include "FilterStage.h"

#include "CutoffLimit.h"
#include "ParamTable.h"
#include "WideLoops.h"

#include <algorithm>
#include <cmath>
#if defined(__i386__) || defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

using param_table::kFilterRows;

constexpr float kCutoffGlideSeconds = 0.1f;

} // namespace

void FilterStage::init(int lineNumber, mppi::PluginInternal& registry)
{
    mppi::TempoContext& tempo = registry.tempoContext();
    type_ = param_table::create(kFilterRows[param_table::kFiltTypeRow], lineNumber, tempo);
    registry.addParam(type_);
    type_->setListener(this);
    cutoff_.setup(param_table::create(kFilterRows[param_table::kFiltCutoffRow], lineNumber, tempo), registry);
    resonance_.setup(param_table::create(kFilterRows[param_table::kFiltResoRow], lineNumber, tempo), registry);
    q_.setup(param_table::create(kFilterRows[param_table::kFiltQRow], lineNumber, tempo), registry);
    cutoff_.setListener(this);
    resonance_.setListener(this);
    q_.setListener(this);
    cutoff_.setRampTime(kCutoffGlideSeconds);
    biquad_.set(static_cast<int>(type_->real()), static_cast<float>(cutoff_.output()),
                static_cast<float>(resonance_.output()), static_cast<float>(resonance_.output()));
}

void FilterStage::setDefaults()
{
    type_->setReal(kFilterRows[param_table::kFiltTypeRow].defaultValue);
    cutoff_.setDefaults(kFilterRows[param_table::kFiltCutoffRow].defaultValue);
    resonance_.setDefaults(kFilterRows[param_table::kFiltResoRow].defaultValue);
    q_.setDefaults(kFilterRows[param_table::kFiltQRow].defaultValue);
    reset();
}

void FilterStage::reset()
{
    apply();
    biquad_.clear();
    dirty_.store(false, std::memory_order_relaxed);
}

void FilterStage::setSampleRate(float sampleRate)
{
    cutoff_.setSampleRate(sampleRate);
    resonance_.setSampleRate(sampleRate);
    q_.setSampleRate(sampleRate);
    biquad_.setSampleRate(sampleRate);
    biquad_.set(biquad_.type(), limitedCutoff(biquad_.cutoff(), sampleRate), biquad_.resonance(),
                biquad_.q());
}

void FilterStage::tempoChanged()
{
    cutoff_.tempoChanged();
    resonance_.tempoChanged();
    q_.tempoChanged();
}

void FilterStage::updateBlock(int samples)
{
    cutoff_.updateBlock(samples);
    resonance_.updateBlock(samples);
    q_.updateBlock(samples);
    if (mppi::takeFlag(dirty_))
        apply();
}

void FilterStage::apply()
{
    const int type = static_cast<int>(std::floor(type_->real() + 0.5));
    const float cutoff = limitedCutoff(static_cast<float>(cutoff_.output()), biquad_.sampleRate());
    biquad_.set(type, cutoff, static_cast<float>(resonance_.output()), static_cast<float>(q_.output()));
}

namespace {

// Reads `frames` samples by linear interpolation from `at`, one at a time; answers the position
// after the last.
std::uint64_t interpolatePlain(float* destination, const float* buffer, int frames, std::uint64_t at,
                               std::uint64_t step, std::uint64_t wrap)
{
    for (int i = 0; i < frames; ++i) {
        const std::uint32_t index = ReadPosition::indexOf(at);
        const float here = buffer[index];
        const float next = buffer[index + 1];
        destination[i] = here + (next - here) * ReadPosition::weightOf(at);
        at = ReadPosition::advanced(at, step, wrap);
    }
    return at;
}

#if defined(__i386__) || defined(__x86_64__)
// The largest step for which eight reads and their next samples lie in sixteen consecutive
// samples from the first read's: the eighth read is at most 1 + 7 * step past the first.
constexpr std::uint64_t kWindowedStep = (std::uint64_t{13} << 32) / 7;

// The samples at `places` (0 to 15) of a window held in two halves: each picked from both, the
// upper taken where bit 3 (moved to the sign) is set.
ZORVANE_WIDE_TARGET inline __m256 windowAt(__m256 lower, __m256 upper, __m256i places)
{
    return _mm256_blendv_ps(_mm256_permutevar8x32_ps(lower, places), _mm256_permutevar8x32_ps(upper, places),
                            _mm256_castsi256_ps(_mm256_slli_epi32(places, 28)));
}

// Eight reads at a time where they and their next samples lie in the sixteen samples from the
// first one's, inside the buffer: the two halves of that window loaded and each read picked
// from them by a permute, as the plain loop reads them. The fraction becomes its float from its
// two 16-bit halves, whose sum rounds once to the conversion's value, so every output has the
// plain loop's bits. Elsewhere, and for the last reads, the plain loop.
ZORVANE_WIDE_TARGET std::uint64_t interpolateWide(float* destination, const float* buffer, int frames,
                                                  std::uint64_t at, std::uint64_t step, std::uint64_t wrap)
{
    const std::uint32_t mask = ReadPosition::indexOf(wrap);
    // Lanes k * step for k = 0..7: the reads' distances from the first, in 64-bit lanes.
    const auto times = [step](std::uint64_t k) { return static_cast<long long>(k * step); };
    const __m256i stepsLow = _mm256_set_epi64x(times(3), times(2), times(1), 0);
    const __m256i stepsHigh = _mm256_set_epi64x(times(7), times(6), times(5), times(4));
    const __m256 toWeight = _mm256_set1_ps(1.0f / 4294967296.0f);
    const __m256i one = _mm256_set1_epi32(1);
    int i = 0;
    for (; i + 8 <= frames; i += 8) {
        const std::uint32_t first = ReadPosition::indexOf(at);
        if (first + 15 > mask + 1) {
            at = interpolatePlain(destination + i, buffer, 8, at, step, wrap);
            continue;
        }
        // Each read's fixed point counted from the first read's sample: its whole part is the
        // read's place in the window, its low half the fraction.
        const __m256i fraction = _mm256_set1_epi64x(static_cast<std::uint32_t>(at));
        const __m256i low = _mm256_add_epi64(fraction, stepsLow), high = _mm256_add_epi64(fraction, stepsHigh);
        const __m256 fractionsEven = _mm256_shuffle_ps(_mm256_castsi256_ps(low), _mm256_castsi256_ps(high), _MM_SHUFFLE(2, 0, 2, 0));
        const __m256 placesOdd = _mm256_shuffle_ps(_mm256_castsi256_ps(low), _mm256_castsi256_ps(high), _MM_SHUFFLE(3, 1, 3, 1));
        // The halves hold reads 0, 1, 4, 5 and 2, 3, 6, 7: back in order.
        const __m256i fractions = _mm256_permute4x64_epi64(_mm256_castps_si256(fractionsEven), _MM_SHUFFLE(3, 1, 2, 0));
        const __m256i places = _mm256_permute4x64_epi64(_mm256_castps_si256(placesOdd), _MM_SHUFFLE(3, 1, 2, 0));
        const __m256 lower = _mm256_loadu_ps(buffer + first), upper = _mm256_loadu_ps(buffer + first + 8);
        const __m256 here = windowAt(lower, upper, places);
        const __m256 next = windowAt(lower, upper, _mm256_add_epi32(places, one));
        const __m256 weight = _mm256_mul_ps(
            _mm256_add_ps(_mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_srli_epi32(fractions, 16)), _mm256_set1_ps(65536.0f)),
                          _mm256_cvtepi32_ps(_mm256_and_si256(fractions, _mm256_set1_epi32(0xFFFF)))),
            toWeight);
        _mm256_storeu_ps(destination + i, _mm256_add_ps(here, _mm256_mul_ps(_mm256_sub_ps(next, here), weight)));
        at = (at + 8 * step) & wrap;
    }
    return interpolatePlain(destination + i, buffer, frames - i, at, step, wrap);
}
#endif

} // namespace

void FilterStage::interpolate(float* destination, const float* buffer, int frames, std::uint32_t mask,
                              ReadPosition& position, ReadPosition step)
{
    const std::uint64_t wrap = ReadPosition::wrapOf(mask);
#if defined(__i386__) || defined(__x86_64__)
    if (mppi::wide_loops::enabled() && step.fixed <= kWindowedStep) {
        position.fixed = interpolateWide(destination, buffer, frames, position.fixed, step.fixed, wrap);
        return;
    }
#endif
    position.fixed = interpolatePlain(destination, buffer, frames, position.fixed, step.fixed, wrap);
}

void FilterStage::filter(float* block, int frames)
{
    if (!biquad_.bypassed())
        biquad_.process(block, frames);
}

void FilterStage::filterBoth(FilterStage& first, float* firstBlock, FilterStage& second, float* secondBlock, int frames)
{
    if (first.biquad_.bypassed() || second.biquad_.bypassed()) {
        first.filter(firstBlock, frames);
        second.filter(secondBlock, frames);
    } else {
        Biquad::processBoth(first.biquad_, firstBlock, second.biquad_, secondBlock, frames);
    }
}

void FilterStage::notify(mppi::NotifierInterface*)
{
    dirty_.store(true, std::memory_order_release);
}
