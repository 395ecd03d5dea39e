#include "FilterStage.h"

#include "CutoffLimit.h"
#include "ParamTable.h"
#include "WindowedRead.h"

#include <algorithm>
#include <cmath>

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

#if defined(ZORVANE_WINDOWED_READS)
// Eight reads at a time where their window fits (windowed_read), the plain loop's arithmetic on
// them; elsewhere, and for the last reads, the plain loop.
ZORVANE_WIDE_TARGET std::uint64_t interpolateWide(float* destination, const float* buffer, int frames,
                                                  std::uint64_t at, std::uint64_t step, std::uint64_t wrap)
{
    const std::uint32_t mask = ReadPosition::indexOf(wrap);
    const windowed_read::Steps steps = windowed_read::stepsOf(step);
    const __m256i one = _mm256_set1_epi32(1);
    int i = 0;
    for (; i + 8 <= frames; i += 8) {
        const std::uint32_t first = ReadPosition::indexOf(at);
        if (!windowed_read::windowFits(first, mask)) {
            at = interpolatePlain(destination + i, buffer, 8, at, step, wrap);
            continue;
        }
        const windowed_read::Group group = windowed_read::groupAt(at, steps);
        const __m256 lower = _mm256_loadu_ps(buffer + first), upper = _mm256_loadu_ps(buffer + first + 8);
        const __m256 here = windowed_read::windowAt(lower, upper, group.places);
        const __m256 next = windowed_read::windowAt(lower, upper, _mm256_add_epi32(group.places, one));
        _mm256_storeu_ps(destination + i, _mm256_add_ps(here, _mm256_mul_ps(_mm256_sub_ps(next, here), group.weights)));
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
#if defined(ZORVANE_WINDOWED_READS)
    if (mppi::wide_loops::enabled() && step.fixed <= windowed_read::kLargestStep) {
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
