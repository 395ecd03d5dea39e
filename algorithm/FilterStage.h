#pragma once

#include "Biquad.h"
#include "FullLfoParam.h"
#include "LfoModifiers.h"
#include "LockFreeAtomics.h"
#include "PassingLanes.h"
#include "ReadPosition.h"
#include "params/StageParams.h"

#include <atomic>
#include <cstdint>
#include <memory>

// First stage of a delay line: performs the line's buffer read, plain or interpolating, and
// filters the samples into the line's output block. Cutoff, resonance and Q are modulated; the
// cutoff's base glides over 0.1 s. The default resonator at unit resonance is bypassed.
class FilterStage : public mppi::NotifiedInterface, public mppi::NotifierInterface {
public:
    struct CutoffModifier : mppi::ExponentialModifier<CutoffModifier> {
        static constexpr double kLow = ParamDlyFiltCutoff::kMin, kHigh = ParamDlyFiltCutoff::kMax;
    };
    struct ResoModifier : mppi::ExponentialModifier<ResoModifier> {
        static constexpr double kLow = ParamDlyFiltReso::kMin, kHigh = ParamDlyFiltReso::kMax;
    };
    struct QModifier : mppi::ExponentialModifier<QModifier> {
        static constexpr double kLow = ParamDlyFiltQ::kMin, kHigh = ParamDlyFiltQ::kMax;
    };

    // Creates and registers the type, cutoff, resonance and Q parameters (13 with the LFOs).
    void init(int lineNumber, mppi::PluginInternal& registry);
    void setDefaults();
    // Applies the current values and clears the filter history; the LFOs keep running.
    void reset();
    void setSampleRate(float sampleRate);
    void tempoChanged();
    void updateBlock(int samples);

    // Reads `frames` samples by linear interpolation from `position`, stepping by `step`;
    // `position` ends after the last sample read. The buffer holds a guard sample after its
    // ring (mask + 1 samples), a copy of its first.
    static void interpolate(float* destination, const float* buffer, int frames, std::uint32_t mask,
                            ReadPosition& position, ReadPosition step);
    // Filters a block in place unless the filter is bypassed.
    void filter(float* block, int frames);
    // Filters two lines' blocks, in one pass where both filter, so that their recursions
    // overlap; each gives the bits it gives alone.
    static void filterBoth(FilterStage& first, float* firstBlock, FilterStage& second, float* secondBlock, int frames);

    const Biquad& biquad() const { return biquad_; }

    // The filters of one or two lines in the lanes [first second - -] of an SSE register, for a
    // loop that runs the lines' stages sample by sample: a lane whose stage is missing (null) or
    // bypassed passes its sample untouched, as `filter` leaves it.
    using Lanes = mppi::PassingLanes<Biquad::Lanes>;
    static Lanes lanes(FilterStage* first, FilterStage* second) { return {heardFilter(first), heardFilter(second)}; }

    void notify(mppi::NotifierInterface* source) override;

private:
    static Biquad* heardFilter(FilterStage* stage)
    {
        return stage && !stage->biquad_.bypassed() ? &stage->biquad_ : nullptr;
    }
    void apply();

    std::shared_ptr<mppi::NormalizedParamInterface> type_;
    mppi::FullLfoParam<CutoffModifier, 1> cutoff_;
    mppi::FullLfoParam<ResoModifier, 1> resonance_;
    mppi::FullLfoParam<QModifier, 1> q_;
    Biquad biquad_;
    std::atomic<bool> dirty_{false};
};
