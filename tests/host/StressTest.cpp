// One thread automates every parameter at random while another processes audio, both through
// the binary interface. Run under ThreadSanitizer, it shows the lock-free parameter path free
// of data races.
#include "PluginFixture.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <thread>

using StressTest = PluginFixture;

TEST_F(StressTest, AutomationAndAudioRunTogetherWithoutARace)
{
    Effect& effect = open();
    AEffect* raw = effect.get();
    std::atomic<bool> running{true};
    std::atomic<long> blocks{0};
    std::atomic<bool> finite{true};

    std::thread audio([&] {
        std::vector<float> left(256), right(256), outLeft(256), outRight(256);
        std::mt19937 generator(1);
        std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
        while (running.load()) {
            for (std::size_t i = 0; i < left.size(); ++i) {
                left[i] = noise(generator);
                right[i] = noise(generator);
            }
            float* inputs[2] = {left.data(), right.data()};
            float* outputs[2] = {outLeft.data(), outRight.data()};
            raw->processReplacing(raw, inputs, outputs, 256);
            for (std::size_t i = 0; i < outLeft.size(); ++i)
                if (!std::isfinite(outLeft[i]) || !std::isfinite(outRight[i]))
                    finite.store(false);
            blocks.fetch_add(1);
        }
    });

    std::mt19937 generator(2);
    std::uniform_real_distribution<float> value(0.0f, 1.0f);
    std::uniform_int_distribution<VstInt32> index(0, 120);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    long changes = 0;
    while (std::chrono::steady_clock::now() < end) {
        for (int i = 0; i < 100; ++i)
            raw->setParameter(raw, index(generator), value(generator));
        (void)raw->getParameter(raw, index(generator));
        changes += 100;
    }
    running.store(false);
    audio.join();
    EXPECT_TRUE(finite.load());
    EXPECT_GT(blocks.load(), 10);
    EXPECT_GT(changes, 1000);
}
