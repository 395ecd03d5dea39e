#include "RmsFollower.h"

#include <gtest/gtest.h>

#include <cmath>
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
            RmsFollower::squaresWithin(block.data(), frames, squares.data(), 1.0f);
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
    EXPECT_TRUE(RmsFollower::squaresWithin(within, 4, squares.data(), 0.5625f));
    for (float beyond : {0.76f, -3.0f, NAN, INFINITY}) {
        const float block[] = {0.1f, beyond, 0.0f, 0.2f};
        EXPECT_FALSE(RmsFollower::squaresWithin(block, 4, squares.data(), 0.5625f)) << beyond;
    }
}
