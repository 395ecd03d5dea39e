#include "RmsFollower.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <type_traits>
#include <random>
#include <vector>

namespace {

RmsFollower follower()
{
    RmsFollower made;
    made.setTimeConstant(0.05f);
    made.setSampleRate(44100.0f);
    return made;
}

} // namespace

// Taking a block's squares at once gives the state that following them sample by sample gives,
// within rounding, for every block length up to a control block, through loud and quiet passages.
TEST(RmsFollowerTest, SquaresTakenAtOnceLeaveTheStateFollowingGives)
{
    std::mt19937 generator(3);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    for (int frames : {1, 2, 7, 64, 255, kControlBlock}) {
        RmsFollower bySample = follower();
        RmsFollower atOnce = follower();
        std::vector<float> block(static_cast<std::size_t>(frames));
        std::vector<float> power(block.size());
        std::vector<float> squares(block.size());
        for (int round = 0; round < 40000 / frames; ++round) {
            const float amplitude = (round / 8) % 2 == 0 ? 0.05f : 2.0f;
            for (float& sample : block)
                sample = amplitude * noise(generator);
            bySample.follow(block.data(), frames, power.data());
            RmsFollower::SquaresBound bound;
            RmsFollower::squaresOf(block.data(), frames, squares.data(), 1.0f, bound);
            atOnce.followSquaresAtOnce(squares.data(), frames);
            ASSERT_NEAR(atOnce.power(), bySample.power(), 2e-5f * bySample.power()) << frames << " " << round;
            ASSERT_EQ(atOnce.lastSquare(), bySample.lastSquare());
        }
        RmsFollower bySquares = follower();
        bySample = follower();
        bySample.follow(block.data(), frames, power.data());
        bySquares.followSquares(squares.data(), frames);
        EXPECT_EQ(bySquares.power(), bySample.power()) << "sample by sample from squares, " << frames;
    }
}

// The power never falls below its decayed value, whatever follows; squares beyond the limit
// are reported, NaN and infinity included.
TEST(RmsFollowerTest, BoundsHoldForSilenceAndExtremes)
{
    RmsFollower subject = follower();
    std::vector<float> loud(kControlBlock, 0.5f);
    std::vector<float> power(loud.size());
    subject.follow(loud.data(), kControlBlock, power.data());
    const float floor = subject.lowestPowerAfter(kControlBlock);
    std::vector<float> silence(kControlBlock, 0.0f);
    subject.follow(silence.data(), kControlBlock, power.data());
    for (float followed : power)
        EXPECT_GE(followed, floor);
    // Little above it: only the loud block's last square still adds.
    EXPECT_NEAR(subject.power(), floor, 1e-2f * floor);

    std::vector<float> squares(4);
    const float within[] = {0.1f, -0.7f, 0.0f, 0.74f};
    RmsFollower::SquaresBound bound;
    RmsFollower::squaresOf(within, 4, squares.data(), 0.5625f, bound);
    EXPECT_TRUE(bound.eachWithinLimit);
    for (float beyond : {0.76f, -3.0f, NAN, INFINITY}) {
        const float block[] = {0.1f, beyond, 0.0f, 0.2f};
        RmsFollower::SquaresBound beyondBound;
        RmsFollower::squaresOf(block, 4, squares.data(), 0.5625f, beyondBound);
        EXPECT_FALSE(beyondBound.eachWithinLimit) << beyond;
    }
}

// Wherever the highest power from the squares' sum decides anything (at most 1), the power
// followed never exceeds it, with loud single samples among quiet ones; a single square held
// at its most lifts it above 1, even at the highest sample rate.
TEST(RmsFollowerTest, HighestPowerBoundsTheFollowedPower)
{
    std::mt19937 generator(11);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    RmsFollower subject = follower();
    std::vector<float> block(kControlBlock);
    std::vector<float> power(block.size());
    std::vector<float> squares(block.size());
    int decided = 0;
    for (int round = 0; round < 400; ++round) {
        const float burst = round % 3 == 0 ? 40.0f : 4.0f;
        for (float& sample : block)
            sample = 0.3f * noise(generator) * (noise(generator) > 0.98f ? burst : 1.0f);
        RmsFollower::SquaresBound bound;
        for (int cut : {100, kControlBlock}) {
            const int from = cut == kControlBlock ? 100 : 0;
            RmsFollower::squaresOf(block.data() + from, cut - from, squares.data() + from, 0.5625f, bound);
        }
        const float highest = subject.highestPowerAfter(bound.units);
        subject.follow(block.data(), kControlBlock, power.data());
        if (highest <= 1.0f) {
            ++decided;
            for (float followed : power)
                ASSERT_LE(followed, highest) << round;
        }
    }
    EXPECT_GT(decided, 100);

    RmsFollower fastest;
    fastest.setTimeConstant(0.05f);
    fastest.setSampleRate(384000.0f);
    EXPECT_GT(fastest.highestPowerAfter(static_cast<std::uint32_t>(RmsFollower::kSquareUnitsHeld)), 1.0f);
}

// Followers run side by side give each the powers and the state it reaches alone, for every
// block length (whole groups of four and the rest), with different time constants, and through
// NaN, infinities and huge samples, which must come out held at the ceiling.
TEST(RmsFollowerTest, FollowersSideBySideFollowAsEachAlone)
{
    const float extremes[] = {NAN, INFINITY, -INFINITY, 3e30f, -1e20f};
    std::mt19937 random(11);
    std::uniform_real_distribution<float> sample(-1.5f, 1.5f);
    for (int frames : {1, 3, 4, 5, 8, 129, kControlBlock}) {
        std::vector<std::vector<float>> blocks(4, std::vector<float>(static_cast<std::size_t>(frames)));
        for (std::size_t f = 0; f < 4; ++f) {
            for (float& x : blocks[f])
                x = sample(random);
            blocks[f][static_cast<std::size_t>(frames) / 2] = extremes[(f + static_cast<std::size_t>(frames)) % 5];
        }
        auto check = [&](auto count) {
            constexpr int kCount = decltype(count)::value;
            RmsFollower together[kCount];
            RmsFollower alone[kCount];
            RmsFollower* followers[kCount];
            const float* inputs[kCount];
            std::vector<std::vector<float>> powers(kCount, std::vector<float>(static_cast<std::size_t>(frames)));
            float* outputs[kCount];
            for (int f = 0; f < kCount; ++f) {
                together[f].setTimeConstant(0.01f * static_cast<float>(f + 1));
                together[f].setSampleRate(44100.0f);
                alone[f] = together[f];
                followers[f] = &together[f];
                inputs[f] = blocks[static_cast<std::size_t>(f)].data();
                outputs[f] = powers[static_cast<std::size_t>(f)].data();
            }
            // Twice, so that the second pass starts from a state the first left.
            for (int pass = 0; pass < 2; ++pass) {
                RmsFollower::followAll<kCount>(followers, inputs, outputs, frames);
                for (int f = 0; f < kCount; ++f) {
                    std::vector<float> expected(static_cast<std::size_t>(frames));
                    alone[f].follow(inputs[f], frames, expected.data());
                    EXPECT_EQ(0, std::memcmp(expected.data(), outputs[f], expected.size() * sizeof(float)))
                        << kCount << " followers, " << frames << " frames, follower " << f;
                    EXPECT_EQ(alone[f].power(), together[f].power());
                    EXPECT_EQ(alone[f].lastSquare(), together[f].lastSquare());
                    EXPECT_LE(together[f].power(), RmsFollower::kPowerCeiling);
                }
            }
        };
        check(std::integral_constant<int, 2>{});
        check(std::integral_constant<int, 4>{});
    }
}
