#include "AlgoHarness.h"
#include "WideLoops.h"

#include <gtest/gtest.h>

#include <random>

using harness::Harness;
using harness::Stereo;

namespace {

// A busy setting: two cross-fed lines, every tap audible and moving, LFOs on times, pans,
// filters, feedback and the distortion of line 1, a filter and a shelf in each line.
void busy(Harness& h)
{
    h.setReal("Flags", 64 + 32);
    h.setText("Fdbk sep.", "40");
    h.setText("Fdbk sep. LFO depth", "60");
    for (int tap = 1; tap <= 4; ++tap) {
        const std::string name = std::string("Tap ").append(std::to_string(tap));
        h.setText(name + " level", "-6");
        h.setReal(name + " time", 0.05 * tap);
        h.setText(name + " time LFO depth", "30");
        h.setNormalized(name + " time LFO WF", static_cast<float>(tap) / 9.0f);
        h.setText(name + " pan LFO depth", "80");
        h.setText(name + " pan LFO period", "1/4");
    }
    for (int line = 1; line <= 2; ++line) {
        const std::string name = std::string("D").append(std::to_string(line));
        h.setText(name + " time", line == 1 ? "1/8" : "3/16");
        h.setText(name + " time LFO depth", "5");
        h.setText(name + " fdbk", "70");
        h.setText(name + " fdbk LFO depth", "20");
        h.setText(name + " pan LFO depth", "50");
        h.setReal(name + " filt type", line == 1 ? 0.0 : 3.0);
        h.setText(name + " filt cutoff", "2000");
        h.setText(name + " filt cutoff LFO depth", "50");
        h.setText(name + " filt reso", "6");
        h.setText(name + " HS level", "-3");
        h.setReal(name + " disto lvl", line == 1 ? 0.5 : 0.0);
        h.setReal(name + " disto type", line == 1 ? 0.3 : 1.0);
        h.setText(name + " disto lvl LFO depth", "40");
        h.setNormalized(name + " disto lvl LFO WF", 8.0f / 9.0f);
    }
}


// Renders in chunks with changes between them at the same positions whatever the block size:
// a small and a large line-time move, a tap jump and a tempo change.
Stereo renderBusy(float sampleRate, int blockSize, float amplitude)
{
    Harness h(sampleRate);
    busy(h);
    const std::size_t chunk = static_cast<std::size_t>(sampleRate / 8.0f);
    const Stereo input = harness::noise(6 * chunk, amplitude);
    Stereo out;
    for (std::size_t part = 0; part < 6; ++part) {
        switch (part) {
        case 1: h.setText("D1 time", "0.13 s"); break;
        case 2: h.setText("D2 time", "1"); break;
        case 3: h.setReal("Tap 2 time", 2.0); break;
        case 4: h.setReal("Tempo", 97.0); break;
        case 5: h.setReal("Flags", 64); break;
        }
        Stereo piece(chunk);
        std::copy_n(input.left.begin() + static_cast<long>(part * chunk), chunk, piece.left.begin());
        std::copy_n(input.right.begin() + static_cast<long>(part * chunk), chunk, piece.right.begin());
        const Stereo rendered = h.render(piece, blockSize);
        out.left.insert(out.left.end(), rendered.left.begin(), rendered.left.end());
        out.right.insert(out.right.end(), rendered.right.begin(), rendered.right.end());
    }
    return out;
}

constexpr float kRates[] = {4000.0f, 22050.0f, 44100.0f, 96000.0f, 384000.0f};
constexpr int kBlockSizes[] = {1, 7, 64, 255, 256, 257, 1000, 4096, 8192};

} // namespace

TEST(BlockSizeTest, EveryBlockSizeGivesTheSameOutputBitForBit)
{
    for (float rate : kRates) {
        const Stereo reference = renderBusy(rate, 512, 0.05f);
        double energy = 0.0;
        for (float v : reference.left)
            energy += static_cast<double>(v) * v;
        ASSERT_GT(energy, 1e-3) << rate;
        for (int blockSize : kBlockSizes) {
            const Stereo out = renderBusy(rate, blockSize, 0.05f);
            ASSERT_EQ(out.left, reference.left) << "rate " << rate << " block " << blockSize;
            ASSERT_EQ(out.right, reference.right) << "rate " << rate << " block " << blockSize;
        }
    }
}

TEST(BlockSizeTest, TheLoudnessCapIsTheSameForEveryBlockSize)
{
    // Loud enough for the distortion stage's RMS ceiling to act on both lines.
    for (float rate : {8000.0f, 44100.0f, 192000.0f}) {
        const Stereo reference = renderBusy(rate, 512, 2.0f);
        for (int blockSize : {1, 33, 256, 4096}) {
            const Stereo out = renderBusy(rate, blockSize, 2.0f);
            ASSERT_EQ(out.left, reference.left) << "rate " << rate << " block " << blockSize;
            ASSERT_EQ(out.right, reference.right) << "rate " << rate << " block " << blockSize;
        }
    }
}

// Four taps whose slowly modulated times glide together, over two cross-fed lines.
Stereo renderGliding(float sampleRate, int blockSize)
{
    Harness h(sampleRate);
    h.setReal("Flags", 64 + 32);
    for (int tap = 1; tap <= 4; ++tap) {
        const std::string name = std::string("Tap ").append(std::to_string(tap));
        h.setText(name + " level", "-6");
        h.setReal(name + " time", 0.1 * tap);
        for (const char* part : {" time", " level", " pan"})
            h.setText(name + part + " LFO depth", "30");
    }
    return h.render(harness::noise(static_cast<std::size_t>(sampleRate / 2.0f), 0.3f), blockSize);
}

// The processor's wide loops and the plain ones give the same bits, at every block size and for
// loud input too; the sound does not depend on the machine.
TEST(BlockSizeTest, TheWideAndThePlainLoopsGiveTheSameBits)
{
    if (!mppi::wide_loops::available())
        GTEST_SKIP() << "no AVX2 here";
    auto expectSameOnBothPaths = [](auto render, const std::string& what) {
        const Stereo wide = render();
        mppi::wide_loops::setEnabled(false);
        const Stereo plain = render();
        mppi::wide_loops::setEnabled(true);
        ASSERT_EQ(wide.left, plain.left) << what;
        ASSERT_EQ(wide.right, plain.right) << what;
    };
    for (float rate : {22050.0f, 44100.0f, 96000.0f}) {
        for (int blockSize : {1, 64, 4096}) {
            const std::string at = "rate " + std::to_string(rate) + " block " + std::to_string(blockSize);
            for (float amplitude : {0.05f, 2.0f})
                expectSameOnBothPaths([&] { return renderBusy(rate, blockSize, amplitude); }, "busy, " + at);
            expectSameOnBothPaths([&] { return renderGliding(rate, blockSize); }, "gliding taps, " + at);
        }
    }
}

// A host may hand the input's own buffers as the outputs, or (strangely) one buffer for both
// outputs: in place the output is the one separate buffers get, and a shared buffer holds the
// right channel, as if the left had been written first.
TEST(BlockSizeTest, OutputsInTheInputsBuffersGiveTheSameBits)
{
    const Stereo input = harness::noise(20000, 0.3f);
    Harness separate, inPlace, shared;
    for (Harness* h : {&separate, &inPlace, &shared})
        busy(*h);
    const Stereo expected = separate.render(input, 300);
    Stereo buffers = input;
    std::vector<float> both(input.size());
    for (std::size_t at = 0; at < input.size(); at += 300) {
        const int frames = static_cast<int>(std::min<std::size_t>(300, input.size() - at));
        float* own[2] = {buffers.left.data() + at, buffers.right.data() + at};
        inPlace.algo().processReplacing(own, own, frames);
        const float* inputs[2] = {input.left.data() + at, input.right.data() + at};
        float* one[2] = {both.data() + at, both.data() + at};
        shared.algo().processReplacing(inputs, one, frames);
    }
    EXPECT_EQ(buffers.left, expected.left);
    EXPECT_EQ(buffers.right, expected.right);
    EXPECT_EQ(both, expected.right);
}
