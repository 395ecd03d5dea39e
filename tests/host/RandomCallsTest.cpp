// A careless host: every opcode with indexes out of range, null and odd pointers, wild values,
// and audio calls with null channels, odd sizes and no start-up. Run under the sanitizers.
#include "PluginFixture.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using RandomCallsTest = PluginFixture;

namespace {

// Every sample finite, checked over a buffer.
bool allFinite(const std::vector<float>& samples)
{
    for (float v : samples)
        if (!std::isfinite(v))
            return false;
    return true;
}

} // namespace

TEST_F(RandomCallsTest, NoOpcodeOrArgumentBreaksThePlugin)
{
    AEffect* raw = entry_(FakeHost::callback);
    ASSERT_NE(raw, nullptr);
    Effect effect(raw);

    // Audio before any sample rate or resume.
    std::vector<float> left(1000, 0.1f), right(1000, 0.1f), outLeft(1000), outRight(1000);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    raw->processReplacing(raw, inputs, outputs, 1000);
    EXPECT_TRUE(allFinite(outLeft));

    std::mt19937 generator(9);
    const VstInt32 indexes[] = {0, 1, 2, 33, 120, 121, -1, -7, 1000000, std::numeric_limits<VstInt32>::min(),
                                std::numeric_limits<VstInt32>::max()};
    const VstIntPtr values[] = {0, 1, 2, 34, -1, 1 << 20, std::numeric_limits<VstIntPtr>::max(),
                                std::numeric_limits<VstIntPtr>::min()};
    const float opts[] = {0.0f, 1.0f, 44100.0f, -1.0f, 1e9f, 100.0f, std::numeric_limits<float>::quiet_NaN(),
                          std::numeric_limits<float>::infinity(), -std::numeric_limits<float>::infinity()};
    alignas(16) char buffer[512];
    for (int round = 0; round < 6000; ++round) {
        VstInt32 opcode = static_cast<VstInt32>(generator() % 80);
        if (opcode == effClose)
            opcode = effGetVendorString;
        const VstInt32 index = indexes[generator() % std::size(indexes)];
        const VstIntPtr value = values[generator() % std::size(values)];
        const float opt = opts[generator() % std::size(opts)];
        std::memset(buffer, 0, sizeof buffer);
        // The text opcodes read a name: a terminated one, or one that fills the buffer.
        if (generator() % 3 == 0)
            std::memset(buffer, 'a', sizeof buffer);
        void* ptr = generator() % 2 == 0 ? nullptr : buffer;
        effect.dispatch(opcode, index, value, ptr, opt);

        raw->setParameter(raw, indexes[generator() % std::size(indexes)], opts[generator() % std::size(opts)]);
        (void)raw->getParameter(raw, indexes[generator() % std::size(indexes)]);

        if (round % 50 == 0) {
            const VstInt32 sizes[] = {0, -5, 1, 17, 256, 1000};
            const VstInt32 frames = sizes[generator() % std::size(sizes)];
            float* odd[2] = {generator() % 4 == 0 ? nullptr : left.data(), generator() % 4 == 0 ? nullptr : right.data()};
            float* oddOut[2] = {generator() % 4 == 0 ? nullptr : outLeft.data(),
                                generator() % 4 == 0 ? nullptr : outRight.data()};
            raw->processReplacing(raw, generator() % 5 == 0 ? nullptr : odd, generator() % 7 == 0 ? nullptr : oddOut,
                                  frames);
            raw->process(raw, odd, oddOut, frames);
            ASSERT_TRUE(allFinite(outLeft)) << "round " << round;
            ASSERT_TRUE(allFinite(outRight)) << "round " << round;
        }
    }

    // Still a working effect: a huge block renders and stays finite.
    effect.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    effect.dispatch(effMainsChanged, 0, 1);
    std::vector<float> big(200000, 0.2f), bigLeft, bigRight;
    effect.render(big, big, bigLeft, bigRight, 200000);
    EXPECT_TRUE(allFinite(bigLeft));
    EXPECT_TRUE(allFinite(bigRight));
    EXPECT_EQ(effect.dispatch(effClose), 1);
}
