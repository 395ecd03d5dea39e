#include "StagePipeline.h"

#include "ControlBlock.h"

#include <algorithm>
#include <emmintrin.h>

namespace {

// The samples of run `index` of a piece: none for a run outside it.
struct Run {
    int begin = 0;
    int count = 0;

    static Run of(int index, int frames)
    {
        const int begin = index * StagePipeline::kRun;
        if (index < 0 || begin >= frames)
            return {};
        return {begin, std::min(StagePipeline::kRun, frames - begin)};
    }
};

// Sample `i` of each line in lanes [first second - -], and back.
template <int kLines>
__m128 pairAt(const float* const (&blocks)[kLines], int i)
{
    const __m128 first = _mm_load_ss(blocks[0] + i);
    return kLines == 2 ? _mm_unpacklo_ps(first, _mm_load_ss(blocks[1] + i)) : first;
}

template <int kLines>
void storePair(float* const (&blocks)[kLines], int i, __m128 pair)
{
    _mm_store_ss(blocks[0] + i, pair);
    if constexpr (kLines == 2)
        _mm_store_ss(blocks[1] + i, _mm_shuffle_ps(pair, pair, 1));
}

} // namespace

template <int kLines>
void StagePipeline::run(const LineStages (&lines)[kLines], float* const (&blocks)[kLines], int frames)
{
    // What enters each line's distortion, and its followers' powers: of that and of the shaped.
    float inputs[kLines][kControlBlock];
    float inputPowers[kLines][kControlBlock];
    float shapedPowers[kLines][kControlBlock];
    const float* readBlocks[kLines];
    const float* readInputs[kLines];
    float* inputPowerBlocks[kLines];
    float* shapedPowerBlocks[kLines];
    RmsFollower* followers[2 * kLines];
    for (int line = 0; line < kLines; ++line) {
        readBlocks[line] = blocks[line];
        readInputs[line] = inputs[line];
        inputPowerBlocks[line] = inputPowers[line];
        shapedPowerBlocks[line] = shapedPowers[line];
        followers[2 * line] = &lines[line].distortion->inputFollower_;
        followers[2 * line + 1] = &lines[line].distortion->outputFollower_;
    }
    FilterStage::Lanes filters = FilterStage::lanes(lines[0].filter, kLines == 2 ? lines[kLines - 1].filter : nullptr);
    ShelfStage::Lanes shelves = ShelfStage::lanes(lines[0].shelf, kLines == 2 ? lines[kLines - 1].shelf : nullptr);
    RmsFollower::Lanes levels(followers, 2 * kLines);

    const int runs = (frames + kRun - 1) / kRun;
    for (int round = 0; round < runs + 2; ++round) {
        const Run filtering = Run::of(round, frames);
        const Run following = Run::of(round - 1, frames);
        const Run shelving = Run::of(round - 2, frames);
        for (int s = 0; s < kRun; ++s) {
            if (s < filtering.count) {
                const int i = filtering.begin + s;
                storePair(blocks, i, filters.step(pairAt(readBlocks, i)));
            }
            if (s < following.count) {
                // [input shaped] of each line.
                const int i = following.begin + s;
                const __m128 first = _mm_unpacklo_ps(_mm_load_ss(inputs[0] + i), _mm_load_ss(blocks[0] + i));
                const __m128 second = kLines == 2 ? _mm_unpacklo_ps(_mm_load_ss(readInputs[kLines - 1] + i),
                                                                    _mm_load_ss(readBlocks[kLines - 1] + i))
                                                  : _mm_setzero_ps();
                const __m128 powers = levels.step(_mm_movelh_ps(first, second));
                // [input input-of-second shaped shaped-of-second] for the two stores of each kind.
                const __m128 byKind = _mm_shuffle_ps(powers, powers, _MM_SHUFFLE(3, 1, 2, 0));
                storePair(inputPowerBlocks, i, byKind);
                storePair(shapedPowerBlocks, i, _mm_movehl_ps(byKind, byKind));
            }
            if (s < shelving.count) {
                const int i = shelving.begin + s;
                storePair(blocks, i, shelves.step(pairAt(readBlocks, i)));
            }
        }
        for (int line = 0; line < kLines; ++line) {
            DistortionStage& distortion = *lines[line].distortion;
            if (filtering.count > 0)
                distortion.shapePiece(blocks[line] + filtering.begin, inputs[line] + filtering.begin, filtering.count);
            if (following.count > 0)
                distortion.applyGain(blocks[line] + following.begin, inputPowers[line] + following.begin,
                                     shapedPowers[line] + following.begin, following.count);
        }
    }
    filters.storeBack();
    levels.storeBack();
    shelves.storeBack();
}

template void StagePipeline::run<1>(const LineStages (&)[1], float* const (&)[1], int);
template void StagePipeline::run<2>(const LineStages (&)[2], float* const (&)[2], int);
