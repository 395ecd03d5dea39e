#include "AlgoHarness.h"
#include "DelayMotion.h"

#include <gtest/gtest.h>

using harness::Harness;
using harness::Stereo;

namespace {

constexpr std::size_t kSecond = 44100;
constexpr std::size_t kBlock = 256;

// Renders `before` frames of `input`, calls `change`, then renders the rest.
template <class Change>
Stereo renderWithChange(Harness& h, const Stereo& input, std::size_t before, Change change)
{
    Stereo first(before);
    Stereo second(input.size() - before);
    std::copy(input.left.begin(), input.left.begin() + static_cast<long>(before), first.left.begin());
    std::copy(input.right.begin(), input.right.begin() + static_cast<long>(before), first.right.begin());
    std::copy(input.left.begin() + static_cast<long>(before), input.left.end(), second.left.begin());
    std::copy(input.right.begin() + static_cast<long>(before), input.right.end(), second.right.begin());
    Stereo out = h.render(first);
    change();
    const Stereo rest = h.render(second);
    out.left.insert(out.left.end(), rest.left.begin(), rest.left.end());
    out.right.insert(out.right.end(), rest.right.begin(), rest.right.end());
    return out;
}

// The line alone: no dry signal in the output.
Harness lineOnly()
{
    Harness h;
    h.setText("Predly lvl", "-oo");
    return h;
}

Stereo ramp(std::size_t frames, float slope)
{
    Stereo signal(frames);
    for (std::size_t i = 0; i < frames; ++i)
        signal.left[i] = signal.right[i] = slope * static_cast<float>(i);
    return signal;
}

} // namespace

TEST(MotionTest, DelayChangesGlideOrBlendWithoutAClick)
{
    const Stereo input = harness::sine(4 * kSecond, 230.0, 44100.0, 0.25f);
    const std::size_t change = 2 * kSecond;
    struct Case {
        const char* time;
        const char* what;
    };
    // From 3/4 beat (16538 samples): 100 samples glide, about 10000 blend.
    for (Case c : {Case{"0.37727 s", "glide"}, Case{"0.14 s", "blend"}, Case{"0.6 s", "blend"}}) {
        Harness h = lineOnly();
        const Stereo out = renderWithChange(h, input, change, [&] { h.setText("D1 time", c.time); });
        const float steady = harness::largestStep(out.left, change - kSecond / 2, change);
        const float moving = harness::largestStep(out.left, change, change + 4 * kBlock);
        EXPECT_GT(steady, 0.001f);
        EXPECT_LT(moving, 3.0f * steady) << c.what << " to " << c.time;
        EXPECT_LT(harness::largestStep(out.left, change, out.size()), 3.0f * steady) << c.what;
    }
}

TEST(MotionTest, TempoChangesGlideOrBlendLikeEveryOtherTimeChange)
{
    const Stereo input = harness::sine(3 * kSecond, 200.0, 44100.0, 0.25f);
    const std::size_t change = kSecond + 1000;
    for (double tempo : {121.0, 126.0, 90.0}) {
        Harness h = lineOnly();
        const Stereo out = renderWithChange(h, input, change, [&] { h.setReal("Tempo", tempo); });
        const float steady = harness::largestStep(out.left, change - kSecond / 2, change);
        EXPECT_LT(harness::largestStep(out.left, change, out.size()), 3.0f * steady) << "tempo " << tempo;
    }

    // A host tempo ramp: a new tempo every block.
    Harness h = lineOnly();
    Stereo out(input.size());
    for (std::size_t at = 0; at + 512 <= input.size(); at += 512) {
        h.algo().hostTempo(static_cast<float>(100.0 + 40.0 * static_cast<double>(at) / input.size()));
        const float* inputs[2] = {input.left.data() + at, input.right.data() + at};
        float* outputs[2] = {out.left.data() + at, out.right.data() + at};
        h.algo().processReplacing(inputs, outputs, 512);
    }
    const float steady = harness::largestStep(out.left, kSecond / 2, kSecond);
    EXPECT_GT(steady, 0.001f);
    EXPECT_LT(harness::largestStep(out.left, kSecond, out.size() - 512), 3.0f * steady);
}

TEST(MotionTest, TempoChangesMoveTheEchoes)
{
    Harness h;
    h.render(Stereo(2 * kSecond));
    h.setReal("Tempo", 100.0);
    const Stereo out = h.render(harness::impulse(22000, 1.0f, 1.0f, 1000));
    EXPECT_NEAR(out.left[1000 + 19845], 0.5f, 1e-5f);
    EXPECT_LT(std::fabs(out.left[1000 + 16538]), 1e-6f);
}

TEST(MotionTest, LineTwoFollowsTheTempoWhileInactive)
{
    Harness h;
    h.setText("D2 pan", "R 100");
    h.render(Stereo(kSecond));
    h.setReal("Tempo", 100.0);
    h.render(Stereo(kSecond));
    h.setReal("Flags", 64 + 32);
    const Stereo out = h.render(harness::impulse(21000, 0.0f, 1.0f, 1000));
    // Line 2 takes the right input: its echo comes 0.75 beats at 100 BPM later.
    EXPECT_NEAR(out.right[1000 + 19845], 0.5f, 1e-5f);
    EXPECT_LT(std::fabs(out.right[1000 + 16538]), 1e-6f);
}

TEST(MotionTest, ShortDelaysAreProcessedInPiecesNoLongerThanTheDelay)
{
    // 1/128 beat at 120 BPM is 172 samples at 44.1 kHz; at 240 BPM and 4 kHz, 8 samples.
    Harness h;
    h.setReal("D1 time", 1.0 / 128.0);
    h.setText("Predly lvl", "-oo");
    const Stereo out = h.render(harness::impulse(1000), 512);
    EXPECT_NEAR(out.left[172], 0.5f, 1e-6f);
    EXPECT_NEAR(out.left[344], 0.25f, 1e-6f);
    EXPECT_NEAR(out.left[516], 0.125f, 1e-6f);
    EXPECT_LT(std::fabs(out.left[171]) + std::fabs(out.left[173]), 1e-6f);

    Harness slow(4000.0f);
    slow.setReal("Tempo", 240.0);
    slow.setReal("D1 time", 1.0 / 128.0);
    slow.setText("Predly lvl", "-oo");
    const Stereo fast = slow.render(harness::impulse(100), 37);
    for (std::size_t k = 1; k <= 5; ++k)
        EXPECT_NEAR(fast.left[8 * k], std::pow(0.5f, static_cast<float>(k)), 1e-6f) << "echo " << k;
}

TEST(MotionTest, BlendAwayFromAShortDelayHearsNoStaleAudio)
{
    // Loud noise at the start fills the buffer; 5.94 s later (one buffer length) the positions
    // just ahead of the write index still hold it.
    Harness h;
    h.setReal("D1 time", 1.0 / 128.0);
    h.setText("Predly lvl", "-oo");
    Stereo input(static_cast<std::size_t>(6.5 * kSecond));
    for (std::size_t i = 0; i < kSecond / 2; ++i)
        input.left[i] = input.right[i] = (i % 2 == 0) ? 0.9f : -0.9f;
    const std::size_t change = 262144 + 2 * kBlock;
    const Stereo out = renderWithChange(h, input, change, [&] { h.setText("D1 time", "3/4"); });
    float after = 0.0f;
    for (std::size_t i = change; i < out.size(); ++i)
        after = std::max(after, std::fabs(out.left[i]));
    EXPECT_LT(after, 1e-6f);
}

TEST(MotionTest, SmallTapMovesGlideAndLargeOnesCrossFade)
{
    const float slope = 1e-5f;
    const Stereo input = ramp(kSecond, slope);
    const std::size_t change = 40 * kBlock;

    // 50 samples later: the read slides at 1 - 50/256 for one control block.
    Harness glide;
    glide.setNormalized("D1 fdbk", 0.0f);
    Stereo out = renderWithChange(glide, input, change, [&] { glide.setReal("Tap 1 time", 50.0 / 22050.0); });
    const double speed = 1.0 - 50.0 / 256.0;
    for (std::size_t k = 0; k < kBlock; k += 17)
        EXPECT_NEAR(out.left[change + k], slope * (change + k * speed), 2e-6) << k;
    EXPECT_NEAR(out.left[change + kBlock + 10], slope * (change + kBlock + 10 - 50), 2e-6);

    // Four beats later: the old and the new position cross-fade over the block.
    Harness fade;
    fade.setNormalized("D1 fdbk", 0.0f);
    out = renderWithChange(fade, input, change, [&] { fade.setReal("Tap 1 time", 0.125); });
    const double delay = 2756.0;
    for (std::size_t k = 0; k < kBlock; k += 17) {
        const double t = static_cast<double>(k) / kBlock;
        const double expected = (1.0 - t) * slope * (change + k) + t * slope * (change + k - delay);
        EXPECT_NEAR(out.left[change + k], expected, 2e-6) << k;
    }
    EXPECT_NEAR(out.left[change + kBlock + 10], slope * (change + kBlock + 10 - delay), 2e-6);
}

TEST(MotionTest, TapLevelAndPanChangesRampOverTheBlock)
{
    Stereo input(kSecond / 4);
    std::fill(input.left.begin(), input.left.end(), 0.5f);
    Harness h;
    h.setNormalized("D1 fdbk", 0.0f);
    const std::size_t change = 20 * kBlock;
    const Stereo out = renderWithChange(h, input, change, [&] { h.setText("Tap 1 pan", "R 100"); });
    EXPECT_FLOAT_EQ(out.left[change - 1], 0.5f);
    EXPECT_NEAR(out.left[change + kBlock / 2], 0.25f, 1e-3f);
    EXPECT_NEAR(out.right[change + kBlock / 2], 0.25f, 1e-3f);
    EXPECT_NEAR(out.left[change + kBlock], 0.0f, 1e-6f);
    EXPECT_NEAR(out.right[change + kBlock], 0.5f, 1e-6f);
}

TEST(MotionTest, ModulatedTapLevelIsLimitedToUnity)
{
    Harness h;
    h.setNormalized("D1 fdbk", 0.0f);
    h.setText("Tap 1 level", "12");
    h.setText("Tap 1 level LFO depth", "50");
    Stereo input(kSecond);
    std::fill(input.left.begin(), input.left.end(), 0.5f);
    const Stereo out = h.render(input);
    float highest = 0.0f;
    for (float v : out.left)
        highest = std::max(highest, v);
    EXPECT_FLOAT_EQ(highest, 0.5f);
}

TEST(DelayMotionTest, ABlockGlidesWithinTheSpeedLimitAndJumpsBeyondIt)
{
    const std::uint32_t length = 1024;
    EXPECT_EQ(DelayMotion::plan(100, 100, 256, 0, length, 2.0).kind, DelayMotion::Kind::kSteady);

    // 100 to 356 samples in 256: the read stands still (speed 0); to 612 it runs backwards at -1.
    const DelayMotion still = DelayMotion::plan(100, 356, 256, 10, length, 2.0);
    ASSERT_EQ(still.kind, DelayMotion::Kind::kGlide);
    EXPECT_EQ(still.start.index(), (10u + length - 100u) & (length - 1)) << "starts at the current delay, wrapped";
    EXPECT_EQ(still.step.fixed, 0u);
    EXPECT_EQ(DelayMotion::plan(100, 612, 256, 10, length, 2.0).kind, DelayMotion::Kind::kGlide);
    // Speed -2 (longer by 768) is at the limit, which still glides; a sample more jumps.
    EXPECT_EQ(DelayMotion::plan(100, 868, 256, 10, length, 2.0).kind, DelayMotion::Kind::kGlide);
    EXPECT_EQ(DelayMotion::plan(100, 869, 256, 10, length, 2.0).kind, DelayMotion::Kind::kJump);
    EXPECT_EQ(DelayMotion::plan(100, 676, 256, 10, length, 1.25).kind, DelayMotion::Kind::kGlide);
    EXPECT_EQ(DelayMotion::plan(100, 677, 256, 10, length, 1.25).kind, DelayMotion::Kind::kJump);

    // Shorter by 64 in 256 samples: faster than real time, 1.25 samples a sample.
    const DelayMotion faster = DelayMotion::plan(300, 236, 256, 0, length, 1.25);
    ASSERT_EQ(faster.kind, DelayMotion::Kind::kGlide);
    EXPECT_EQ(faster.step.fixed, std::uint64_t{1} << 32 | 1u << 30) << "1.25 samples a step";
}

TEST(DelayMotionTest, DelaysRoundToTheNearestSampleWithinTheirRange)
{
    EXPECT_EQ(DelayMotion::samplesOf(0.5, 44100.0, 0, 100000), 22050);
    EXPECT_EQ(DelayMotion::samplesOf(10.4 / 44100.0, 44100.0, 0, 100000), 10);
    EXPECT_EQ(DelayMotion::samplesOf(10.5 / 44100.0, 44100.0, 0, 100000), 11);
    EXPECT_EQ(DelayMotion::samplesOf(0.0, 44100.0, 1, 100000), 1) << "a line's delay is at least one sample";
    EXPECT_EQ(DelayMotion::samplesOf(9.0, 44100.0, 0, 176400), 176400) << "at most the buffer allows";
}
