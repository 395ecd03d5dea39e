#include "CurveShaper.h"
#include "TableSine.h"
#include "TableTanh.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

namespace {

using Curves = CurveShaper::Curves;

// Samples from silence to far beyond any audio, with the values that bend the curves' rules:
// signed zeros, the ends of the tanh table, phases past 2^23, infinities and NaN.
std::vector<float> testSignal(int frames, std::mt19937& generator)
{
    const float special[] = {0.0f, -0.0f, 8.0f, -8.0f, 1e-30f, 9e6f, -9e6f, 3e38f, INFINITY, -INFINITY,
                             std::numeric_limits<float>::quiet_NaN()};
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    std::vector<float> signal(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i)
        signal[static_cast<std::size_t>(i)] = i % 7 == 3 ? special[static_cast<std::size_t>(i) % std::size(special)]
                                                          : unit(generator) * (i % 5 == 0 ? 40.0f : 1.0f);
    return signal;
}

bool sameBits(const std::vector<float>& a, const std::vector<float>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) == 0);
}

} // namespace

// Where the processor runs the wide kernels, they give the plain loops' bits for every curve
// choice, steady and fading, at every length and starting position; elsewhere both are plain.
TEST(CurveShaperTest, WideKernelsGiveThePlainLoopsBits)
{
    const CurveShaper plain(CurveShaper::Kernels::kPlain);
    const CurveShaper fastest;
    EXPECT_FALSE(plain.wide());
    if (!fastest.wide())
        GTEST_LOG_(INFO) << "this processor has no AVX2: only the plain loops run";

    std::mt19937 generator(7);
    const CurveShaper::Term tanhTerm{0.75f, 0.0f, 37.0f};
    const CurveShaper::Term sineTerm{0.25f, 0.0f, 6.1f};
    const CurveShaper::FadeTerms fade = {{4.0f, -4.0f / 256.0f, 0.25f},
                                         {0.0f, 1.0f / 256.0f, 45.0f},
                                         {0.5f, -0.5f / 256.0f, 0.6f},
                                         {0.0f, 2.0f / 256.0f, 9.9f}};
    for (Curves curves : {Curves::kTanh, Curves::kSine, Curves::kBoth}) {
        for (int frames : {0, 1, 7, 8, 9, 31, 64, 100, 256}) {
            const std::vector<float> input = testSignal(frames, generator);
            std::vector<float> byPlain = input;
            std::vector<float> byFastest = input;
            plain.shapeSteady(byPlain.data(), frames, curves, tanhTerm, sineTerm);
            fastest.shapeSteady(byFastest.data(), frames, curves, tanhTerm, sineTerm);
            EXPECT_TRUE(sameBits(byPlain, byFastest)) << "steady, curves " << static_cast<int>(curves) << ", " << frames;

            const int start = 256 - frames;
            byPlain = input;
            byFastest = input;
            plain.shapeFading(byPlain.data(), frames, curves, fade, start);
            fastest.shapeFading(byFastest.data(), frames, curves, fade, start);
            EXPECT_TRUE(sameBits(byPlain, byFastest)) << "fading, curves " << static_cast<int>(curves) << ", " << frames;
        }
    }
}

// The plain loops are the curves themselves: a steady term is its weight times the table's
// curve, and a fade's weights move from the old terms to the new across the block.
TEST(CurveShaperTest, TermsFollowTheCurvesAndTheFade)
{
    const CurveShaper shaper;
    const TableTanh& tanh = TableTanh::instance();
    const mppi::TableSine& sine = mppi::TableSine::instance();
    std::vector<float> block = {0.01f, -0.2f, 0.5f, 1.0f};
    const std::vector<float> input = block;
    shaper.shapeSteady(block.data(), 4, Curves::kBoth, {2.0f, 0.0f, 3.0f}, {0.5f, 0.0f, 4.0f});
    for (std::size_t i = 0; i < block.size(); ++i)
        EXPECT_FLOAT_EQ(block[i], 2.0f * tanh(3.0f * input[i]) + 0.5f * sine(4.0f * input[i]));

    // At the block's start only the old tanh is heard; at its end only the new one.
    const CurveShaper::FadeTerms fade = {{1.0f, -1.0f / 256.0f, 1.0f}, {0.0f, 1.0f / 256.0f, 10.0f}, {}, {}};
    std::vector<float> first = {0.3f};
    shaper.shapeFading(first.data(), 1, Curves::kTanh, fade, 0);
    EXPECT_FLOAT_EQ(first[0], tanh(0.3f));
    std::vector<float> last = {0.3f};
    shaper.shapeFading(last.data(), 1, Curves::kTanh, fade, 256);
    EXPECT_FLOAT_EQ(last[0], tanh(3.0f));
}
