#include "RmsFollower.h"

#include "WideLoops.h"

#include <cmath>
#include <numbers>

namespace {

// The square of `x`, held at the ceiling; NaN, which fails the comparison, is held there too.
inline float boundedSquare(float x)
{
    const float square = x * x;
    return square < RmsFollower::kPowerCeiling ? square : RmsFollower::kPowerCeiling;
}

struct SquaresCount {
    std::int32_t units = 0;
    int beyond = 0;
};

// One plain pass that vectorises: the squares, their units and a count of those beyond the
// limit (a count rather than an early exit). The units go through a signed conversion; the held
// value fits in 24 bits. The squares go to a buffer of their own.
ZORVANE_WIDE_LOOP inline SquaresCount countSquares(const float* __restrict block, int frames, float* __restrict squares,
                                                   float limit)
{
    std::int32_t units = 0;
    int beyond = 0;
    for (int i = 0; i < frames; ++i) {
        const float square = boundedSquare(block[i]);
        squares[i] = square;
        const float scaled = square * RmsFollower::kSquareUnitsPerOne;
        units += static_cast<std::int32_t>(scaled < RmsFollower::kSquareUnitsHeld ? scaled : RmsFollower::kSquareUnitsHeld) + 1;
        beyond += square > limit ? 1 : 0;
    }
    return {units, beyond};
}

} // namespace

void RmsFollower::setTimeConstant(float seconds)
{
    timeConstant_ = seconds;
    computeCoefficients();
}

void RmsFollower::setSampleRate(float sampleRate)
{
    sampleRate_ = sampleRate;
    computeCoefficients();
}

void RmsFollower::clear()
{
    lastSquare_ = 0.0f;
    lastOutput_ = 0.0f;
}

void RmsFollower::computeCoefficients()
{
    const double k = 1.0 / std::tan(std::numbers::pi / (static_cast<double>(timeConstant_) * sampleRate_));
    c0_ = static_cast<float>(1.0 / (1.0 + k));
    c1_ = static_cast<float>((1.0 - k) / (1.0 + k));
    // The output after a block of N squares s_1..s_N, from the output y and the last square s_0
    // before it: a^N y + c0 a^(N-1) s_0 + sum of c0 (a^(N-n) + a^(N-n-1)) s_n + c0 s_N, a = -c1.
    const double a = -static_cast<double>(c1_);
    double power = 1.0;
    for (int j = 0; j <= kControlBlock; ++j) {
        decay_[j] = static_cast<float>(power);
        power *= a;
    }
    for (int j = 0; j < kControlBlock; ++j) {
        const double weight = j == 0 ? 1.0 : static_cast<double>(decay_[j]) + decay_[j - 1];
        weightFromEnd_[kControlBlock - 1 - j] = static_cast<float>(c0_ * weight);
    }
}

void RmsFollower::follow(const float* block, int frames, float* power)
{
    RmsFollower* const self[] = {this};
    followAll<1>(self, &block, &power, frames);
}

void RmsFollower::squaresOf(const float* block, int frames, float* squares, float limit, SquaresBound& bound)
{
    SquaresCount count;
    mppi::wide_loops::run([&]() ZORVANE_WIDE_LOOP { count = countSquares(block, frames, squares, limit); });
    bound.eachWithinLimit = bound.eachWithinLimit && count.beyond == 0;
    bound.units += static_cast<std::uint32_t>(count.units);
}

void RmsFollower::followSquares(const float* squares, int frames)
{
    float square = lastSquare_;
    float output = lastOutput_;
    for (int i = 0; i < frames; ++i) {
        output = stepped(c0_, c1_, squares[i], square, output);
        square = squares[i];
    }
    lastSquare_ = square;
    lastOutput_ = output;
}

void RmsFollower::followSquaresAtOnce(const float* squares, int frames)
{
    if (frames <= 0)
        return;
    // Eight partial sums, so that the sum vectorises and its order is fixed.
    constexpr int kLanes = 8;
    float sums[kLanes] = {};
    const float* weights = weightFromEnd_ + (kControlBlock - frames);
    int i = 0;
    for (; i + kLanes <= frames; i += kLanes) {
        for (int lane = 0; lane < kLanes; ++lane)
            sums[lane] += weights[i + lane] * squares[i + lane];
    }
    for (; i < frames; ++i)
        sums[i % kLanes] += weights[i] * squares[i];
    float total = decay_[frames] * lastOutput_ + c0_ * decay_[frames - 1] * lastSquare_;
    for (float sum : sums)
        total += sum;
    lastSquare_ = squares[frames - 1];
    lastOutput_ = total;
}

template <int kCount>
void RmsFollower::followAll(RmsFollower* const* followers, const float* const* blocks, float* const* powers, int frames)
{
#ifdef __SSE2__
    if constexpr (kCount > 1) {
        followInLanes(followers, blocks, powers, kCount, frames);
        return;
    }
#endif
    float c0[kCount], c1[kCount], square[kCount], output[kCount];
    for (int f = 0; f < kCount; ++f) {
        c0[f] = followers[f]->c0_;
        c1[f] = followers[f]->c1_;
        square[f] = followers[f]->lastSquare_;
        output[f] = followers[f]->lastOutput_;
    }
    for (int i = 0; i < frames; ++i) {
        for (int f = 0; f < kCount; ++f) {
            const float next = boundedSquare(blocks[f][i]);
            output[f] = stepped(c0[f], c1[f], next, square[f], output[f]);
            square[f] = next;
            powers[f][i] = output[f];
        }
    }
    for (int f = 0; f < kCount; ++f) {
        followers[f]->lastSquare_ = square[f];
        followers[f]->lastOutput_ = output[f];
    }
}

#ifdef __SSE2__
RmsFollower::Lanes::Lanes(RmsFollower* const* followers, int count) : followers_(followers), count_(count)
{
    alignas(16) float c0[4] = {}, c1[4] = {}, square[4] = {}, output[4] = {};
    for (int f = 0; f < count; ++f) {
        c0[f] = followers[f]->c0_;
        c1[f] = followers[f]->c1_;
        square[f] = followers[f]->lastSquare_;
        output[f] = followers[f]->lastOutput_;
    }
    weight_ = _mm_load_ps(c0);
    feedback_ = _mm_load_ps(c1);
    ceiling_ = _mm_set1_ps(kPowerCeiling);
    previous_ = _mm_load_ps(square);
    power_ = _mm_load_ps(output);
}

void RmsFollower::Lanes::storeBack() const
{
    alignas(16) float square[4], output[4];
    _mm_store_ps(square, previous_);
    _mm_store_ps(output, power_);
    for (int f = 0; f < count_; ++f) {
        followers_[f]->lastSquare_ = square[f];
        followers_[f]->lastOutput_ = output[f];
    }
}

void RmsFollower::followInLanes(RmsFollower* const* followers, const float* const* blocks, float* const* powers,
                                int count, int frames)
{
    // Lanes beyond `count` follow silence into a scratch block.
    static const float silence[kControlBlock] = {};
    float unused[kControlBlock];
    const float* in[4];
    float* out[4];
    for (int f = 0; f < 4; ++f) {
        in[f] = f < count ? blocks[f] : silence;
        out[f] = f < count ? powers[f] : unused;
    }
    Lanes lanes(followers, count);
    int i = 0;
    // Four samples of each block at a time, turned so that each step takes one sample per lane.
    for (; i + 4 <= frames; i += 4) {
        __m128 s0 = _mm_loadu_ps(in[0] + i), s1 = _mm_loadu_ps(in[1] + i);
        __m128 s2 = _mm_loadu_ps(in[2] + i), s3 = _mm_loadu_ps(in[3] + i);
        _MM_TRANSPOSE4_PS(s0, s1, s2, s3);
        s0 = lanes.step(s0);
        s1 = lanes.step(s1);
        s2 = lanes.step(s2);
        s3 = lanes.step(s3);
        _MM_TRANSPOSE4_PS(s0, s1, s2, s3);
        _mm_storeu_ps(out[0] + i, s0);
        _mm_storeu_ps(out[1] + i, s1);
        _mm_storeu_ps(out[2] + i, s2);
        _mm_storeu_ps(out[3] + i, s3);
    }
    for (; i < frames; ++i) {
        alignas(16) float powersNow[4];
        _mm_store_ps(powersNow, lanes.step(_mm_setr_ps(in[0][i], in[1][i], in[2][i], in[3][i])));
        for (int f = 0; f < 4; ++f)
            out[f][i] = powersNow[f];
    }
    lanes.storeBack();
}
#endif

template void RmsFollower::followAll<1>(RmsFollower* const*, const float* const*, float* const*, int);
template void RmsFollower::followAll<2>(RmsFollower* const*, const float* const*, float* const*, int);
template void RmsFollower::followAll<4>(RmsFollower* const*, const float* const*, float* const*, int);
