#pragma once

#include "ControlBlock.h"

#include <cstdint>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

// RMS level of a signal: the squared signal through a first-order low-pass at 1/tau (bilinear
// transform); its square root is the level.
//
// Squares are held at or below kPowerCeiling (a level of 1e18), so a signal of any magnitude,
// even an infinite one, leaves a finite power that decays again: the follower can never hold
// infinity or NaN, which would silence or poison its line for ever.
class RmsFollower {
public:
    static constexpr float kPowerCeiling = 1e36f;

    void setTimeConstant(float seconds);
    void setSampleRate(float sampleRate);
    void clear();
    // Takes `other`'s state: what this follower would hold had it followed the same signal.
    void copyState(const RmsFollower& other)
    {
        lastSquare_ = other.lastSquare_;
        lastOutput_ = other.lastOutput_;
    }
    // Follows a block, writing the smoothed power (the level squared) after each sample.
    void follow(const float* block, int frames, float* power);
    // Follows `kCount` blocks (of at most a control block each) with as many followers in one
    // pass, so that their recursions overlap; each follower's powers are the ones `follow` gives.
    template <int kCount>
    static void followAll(RmsFollower* const* followers, const float* const* blocks, float* const* powers, int frames);

    // Following later: a caller that needs no power per sample keeps the squares of up to a
    // control block and lets the follower take them at once.
    //
    // What bounds the power over a run of squares: whether each is within a limit, and their
    // sum in whole units, each square rounded up and held at kSquareUnitsHeld. The sum is an
    // exact integer, the same however the run is cut into pieces.
    struct SquaresBound {
        bool eachWithinLimit = true;
        std::uint32_t units = 0;
    };
    static constexpr float kSquareUnitsPerOne = 1024.0f;
    // 4096 at most per square, under 2^31 for a control block: the sum cannot overflow. One
    // square held there alone lifts the bound above 1 at every sample rate up to 384 kHz.
    static constexpr float kSquareUnitsHeld = 4096.0f * kSquareUnitsPerOne;

    // Writes the squares the follower would take from `block` and adds their bound to `bound`.
    static void squaresOf(const float* block, int frames, float* squares, float limit, SquaresBound& bound);
    // Takes `frames` squares sample by sample: the same state as `follow` gives.
    void followSquares(const float* squares, int frames);
    // Takes `frames` squares (at most a control block) in one weighted sum: the state `follow`
    // gives, within rounding.
    void followSquaresAtOnce(const float* squares, int frames);

    // The smoothed power after the last sample followed, and that sample's square.
    float power() const { return lastOutput_; }
    float lastSquare() const { return lastSquare_; }
    // The lowest power the follower can hold `frames` samples on (at most a control block),
    // whatever they are: the present power decays, squares only add to it. It never exceeds
    // the largest of the power, the last square and the squares to come.
    float lowestPowerAfter(int frames) const { return decay_[frames] * lastOutput_; }
    // The highest power the follower can reach over squares whose units sum to `units`: each
    // adds at most its own weight twice, as the present power decays.
    float highestPowerAfter(std::uint32_t units) const
    {
        return lastOutput_ + c0_ * (lastSquare_ + 2.0f * static_cast<float>(units) / kSquareUnitsPerOne);
    }

#ifdef __SSE2__
    // Up to four followers in the lanes of SSE registers, for loops that follow sample by
    // sample alongside other work: `step` takes one sample per lane and answers the powers
    // after it, each lane what `follow` gives its follower. Lanes beyond the count follow
    // whatever they are given (silence, say) and are not stored back.
    class Lanes {
    public:
        Lanes(RmsFollower* const* followers, int count);
        __m128 step(__m128 samples)
        {
            // stepped() and boundedSquare() per lane: the minimum answers the ceiling for NaN,
            // as the comparison does.
            const __m128 next = _mm_min_ps(_mm_mul_ps(samples, samples), ceiling_);
            power_ = _mm_sub_ps(_mm_mul_ps(weight_, _mm_add_ps(next, previous_)), _mm_mul_ps(feedback_, power_));
            previous_ = next;
            return power_;
        }
        void storeBack() const;

    private:
        RmsFollower* const* followers_;
        int count_;
        __m128 weight_, feedback_, ceiling_, previous_, power_;
    };
#endif

private:
    // The recursion's step: the output after `square`, from the square and output before it.
    static float stepped(float c0, float c1, float square, float previousSquare, float output)
    {
        return c0 * (square + previousSquare) - c1 * output;
    }

    void computeCoefficients();
#ifdef __SSE2__
    // followAll with up to four followers in the lanes of SSE registers; frames at most a
    // control block.
    static void followInLanes(RmsFollower* const* followers, const float* const* blocks, float* const* powers,
                              int count, int frames);
#endif

    float sampleRate_ = 44100.0f;
    float timeConstant_ = 0.05f;
    float c0_ = 0.0f;
    float c1_ = 0.0f;
    float lastSquare_ = 0.0f;
    float lastOutput_ = 0.0f;
    // The output's decay per sample raised to the power j, and, in reverse order, the weight
    // of the square j samples before a block's end in the block's closing power.
    float decay_[kControlBlock + 1] = {};
    float weightFromEnd_[kControlBlock] = {};
};
