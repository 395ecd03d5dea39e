#pragma once

#include "DistortionStage.h"
#include "FilterStage.h"
#include "ShelfStage.h"

// The stages of one delay line, in the order they process its signal.
struct LineStages {
    FilterStage* filter;
    DistortionStage* distortion;
    ShelfStage* shelf;
};

// Runs the filter, distortion and shelf of one or two lines whose distortion shapes, over a
// piece of at most a control block, as a software pipeline. The piece is cut into runs of
// kRun samples; one loop steps the filters through a run, the distortions' RMS followers
// through the run before it and the shelves through the run before that, so that the three
// recursions, each waiting on its own last output, overlap. Between the loops the shaping and
// the make-up gain take whole runs, eight samples at a time where the processor allows. Each
// line gets the bits of its stages run one after another (filter, distortion, shelf).
class StagePipeline {
public:
    static constexpr int kRun = 32;
    // One line's pieces shorter than this gain nothing from the pipeline's overlap (measured):
    // their stages run one after another. Two lines' gain at every length.
    static constexpr int kShortestAlone = 64;

    template <int kLines>
    static void run(const LineStages (&lines)[kLines], float* const (&blocks)[kLines], int frames);
};
