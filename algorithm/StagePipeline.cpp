#include "StagePipeline.h"

#include "ControlBlock.h"
#include "WideLoops.h"

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

// Lanes [first second - -] back into the lines' blocks at `i`.
template <int kLines>
void storePair(float* first, float* second, int i, __m128 pair)
{
    _mm_store_ss(first + i, pair);
    if constexpr (kLines == 2)
        _mm_store_ss(second + i, _mm_shuffle_ps(pair, pair, 1));
}

} // namespace

template <int kLines>
void StagePipeline::run(const LineStages (&lines)[kLines], float* const (&blocks)[kLines], int frames)
{
    // What enters each line's distortion, and its followers' powers: of that and of the shaped.
    float inputs[kLines][kControlBlock];
    float inputPowers[kLines][kControlBlock];
    float shapedPowers[kLines][kControlBlock];
    RmsFollower* followers[2 * kLines];
    for (int line = 0; line < kLines; ++line) {
        followers[2 * line] = &lines[line].distortion->inputFollower_;
        followers[2 * line + 1] = &lines[line].distortion->outputFollower_;
    }
    FilterStage::Lanes filters = FilterStage::lanes(lines[0].filter, kLines == 2 ? lines[kLines - 1].filter : nullptr);
    ShelfStage::Lanes shelves = ShelfStage::lanes(lines[0].shelf, kLines == 2 ? lines[kLines - 1].shelf : nullptr);
    RmsFollower::Lanes levels(followers, 2 * kLines);

    // The pointers in locals, which the stores into the blocks cannot change.
    float* const firstBlock = blocks[0];
    float* const secondBlock = blocks[kLines - 1];
    const float* const firstInput = inputs[0];
    const float* const secondInput = inputs[kLines - 1];
    float* const firstInputPower = inputPowers[0];
    float* const secondInputPower = inputPowers[kLines - 1];
    float* const firstShapedPower = shapedPowers[0];
    float* const secondShapedPower = shapedPowers[kLines - 1];
    const auto pair = [&](const float* first, const float* second, int i) {
        const __m128 low = _mm_load_ss(first + i);
        return kLines == 2 ? _mm_unpacklo_ps(low, _mm_load_ss(second + i)) : low;
    };
    // One sample of each stage that has one in this round; a whole round passes constants.
    const auto step = [&](int s, const Run& filtering, const Run& following, const Run& shelving, bool filter,
                          bool follow, bool shelve, FilterStage::Lanes& roundFilters, RmsFollower::Lanes& roundLevels,
                          ShelfStage::Lanes& roundShelves) __attribute__((always_inline)) {
        if (filter) {
            const int i = filtering.begin + s;
            storePair<kLines>(firstBlock, secondBlock, i, roundFilters.step(pair(firstBlock, secondBlock, i)));
        }
        if (follow) {
            // [input shaped] of each line.
            const int i = following.begin + s;
            const __m128 first = _mm_unpacklo_ps(_mm_load_ss(firstInput + i), _mm_load_ss(firstBlock + i));
            const __m128 second = kLines == 2
                                      ? _mm_unpacklo_ps(_mm_load_ss(secondInput + i), _mm_load_ss(secondBlock + i))
                                      : _mm_setzero_ps();
            const __m128 powers = roundLevels.step(_mm_movelh_ps(first, second));
            // [input input-of-second shaped shaped-of-second] for the two stores of each kind.
            const __m128 byKind = _mm_shuffle_ps(powers, powers, _MM_SHUFFLE(3, 1, 2, 0));
            storePair<kLines>(firstInputPower, secondInputPower, i, byKind);
            storePair<kLines>(firstShapedPower, secondShapedPower, i, _mm_movehl_ps(byKind, byKind));
        }
        if (shelve) {
            const int i = shelving.begin + s;
            storePair<kLines>(firstBlock, secondBlock, i, roundShelves.step(pair(firstBlock, secondBlock, i)));
        }
    };

    // The rounds in the variant the processor takes: with AVX2's three-operand forms the
    // stages' states need fewer copies between registers. The lanes are 128 bits either way.
    mppi::wide_loops::run([&]() ZORVANE_WIDE_LOOP {
        const int runs = (frames + kRun - 1) / kRun;
        for (int round = 0; round < runs + 2; ++round) {
            const Run filtering = Run::of(round, frames);
            const Run following = Run::of(round - 1, frames);
            const Run shelving = Run::of(round - 2, frames);
            // The stages' states in copies no call can see, which the compiler keeps in registers
            // through the round.
            FilterStage::Lanes roundFilters = filters;
            RmsFollower::Lanes roundLevels = levels;
            ShelfStage::Lanes roundShelves = shelves;
            if (filtering.count == kRun && following.count == kRun && shelving.count == kRun) {
                for (int s = 0; s < kRun; ++s)
                    step(s, filtering, following, shelving, true, true, true, roundFilters, roundLevels, roundShelves);
            } else {
                for (int s = 0; s < kRun; ++s)
                    step(s, filtering, following, shelving, s < filtering.count, s < following.count, s < shelving.count,
                         roundFilters, roundLevels, roundShelves);
            }
            filters = roundFilters;
            levels = roundLevels;
            shelves = roundShelves;
            for (int line = 0; line < kLines; ++line) {
                DistortionStage& distortion = *lines[line].distortion;
                if (filtering.count > 0)
                    distortion.shapePiece(blocks[line] + filtering.begin, inputs[line] + filtering.begin, filtering.count);
                if (following.count > 0)
                    distortion.applyGain(blocks[line] + following.begin, inputPowers[line] + following.begin,
                                         shapedPowers[line] + following.begin, following.count);
            }
        }
    });
    filters.storeBack();
    levels.storeBack();
    shelves.storeBack();
}

template void StagePipeline::run<1>(const LineStages (&)[1], float* const (&)[1], int);
template void StagePipeline::run<2>(const LineStages (&)[2], float* const (&)[2], int);
