#pragma once

#include "FirstOrderShelf.h"
#include "LockFreeAtomics.h"
#include "NotifiedInterface.h"
#include "NotifierInterface.h"
#include "PassingLanes.h"
#include "PluginInternal.h"

#include <atomic>
#include <memory>

// Last stage of a delay line: a first-order high shelf that only cuts, so every repetition
// loses a little more treble. Skipped when its level is 0.99 or more.
class ShelfStage : public mppi::NotifiedInterface, public mppi::NotifierInterface {
public:
    // Creates and registers the cutoff and level parameters.
    void init(int lineNumber, mppi::PluginInternal& registry);
    void setDefaults();
    // Takes the current settings and clears the filter state.
    void reset();
    void setSampleRate(float sampleRate);
    // Takes new settings at the control block, without a ramp: the shelf only cuts, gently.
    void updateBlock();
    // Filters a block in place unless the shelf is inaudible.
    void process(float* block, int frames);
    // Filters two lines' blocks, in one pass where both are heard, so that their recursions
    // overlap; each gives the bits it gives alone.
    static void processBoth(ShelfStage& first, float* firstBlock, ShelfStage& second, float* secondBlock, int frames);

    const mppi::FirstOrderShelf& filter() const { return filter_; }

    // The shelves of one or two lines in the lanes [first second - -] of an SSE register, for a
    // loop that ends the lines' stages sample by sample: a lane whose shelf is missing (null) or
    // inaudible passes its sample untouched, as `process` leaves it.
    using Lanes = mppi::PassingLanes<mppi::FirstOrderShelf::Lanes>;
    static Lanes lanes(ShelfStage* first, ShelfStage* second) { return {heardFilter(first), heardFilter(second)}; }

    void notify(mppi::NotifierInterface* source) override;

private:
    static mppi::FirstOrderShelf* heardFilter(ShelfStage* stage)
    {
        return stage && stage->audible() ? &stage->filter_ : nullptr;
    }
    bool audible() const;
    void apply();

    std::shared_ptr<mppi::NormalizedParamInterface> cutoff_;
    std::shared_ptr<mppi::NormalizedParamInterface> level_;
    mppi::FirstOrderShelf filter_;
    std::atomic<bool> dirty_{false};
};
