// Host threads call the plug-in at once while another processes audio, all through the binary
// interface. Run under ThreadSanitizer and AddressSanitizer, they show the parameter and program
// paths free of data races and of memory faults.
#include "PluginFixture.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <set>
#include <string>
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

namespace {

// Every parameter's normalized value while `program` is current, read through the host's calls.
std::vector<float> programValues(Effect& effect, VstInt32 program)
{
    effect.dispatch(effSetProgram, 0, program);
    std::vector<float> values(static_cast<std::size_t>(effect->numParams));
    for (VstInt32 i = 0; i < effect->numParams; ++i)
        values[static_cast<std::size_t>(i)] = effect->getParameter(effect.get(), i);
    return values;
}

// The names the renaming threads write, each one letter of its own length, so a torn copy shows;
// all fit the 23 characters a host reads back.
std::vector<std::string> writtenNames()
{
    std::vector<std::string> names;
    for (int i = 0; i < 12; ++i)
        names.emplace_back(static_cast<std::size_t>(8 + i), static_cast<char>('a' + i));
    return names;
}

} // namespace

// Three host threads select, rename, copy and read programs and automate a few parameters while
// a fourth processes audio. Afterwards every program is one that some call wrote whole: a name
// from the bank or from the renaming calls, and, outside the automated parameters, the values of
// one program of the bank.
TEST_F(StressTest, ProgramCallsFromManyThreadsKeepTheBankWhole)
{
    Effect& effect = open();
    AEffect* raw = effect.get();
    const VstInt32 programs = raw->numPrograms;
    std::set<std::string> allowedNames;
    std::vector<std::vector<float>> original;
    for (VstInt32 p = 0; p < programs; ++p) {
        original.push_back(programValues(effect, p));
        allowedNames.insert(effect.text(effGetProgramName));
    }
    const std::vector<std::string> renames = writtenNames();
    allowedNames.insert(renames.begin(), renames.end());
    // Automation touches only these; the rest of every program must stay whole.
    const std::vector<VstInt32> automated = {3, 17, 40, 77, 100};

    std::atomic<bool> running{true};
    std::atomic<bool> finite{true};
    std::thread audio([&] {
        std::vector<float> left(128, 0.1f), right(128, -0.1f), outLeft(128), outRight(128);
        while (running.load()) {
            float* inputs[2] = {left.data(), right.data()};
            float* outputs[2] = {outLeft.data(), outRight.data()};
            raw->processReplacing(raw, inputs, outputs, 128);
            for (std::size_t i = 0; i < outLeft.size(); ++i)
                if (!std::isfinite(outLeft[i]) || !std::isfinite(outRight[i]))
                    finite.store(false);
        }
    });

    std::atomic<long> calls{0};
    auto host = [&](unsigned seed) {
        std::mt19937 generator(seed);
        std::uniform_int_distribution<VstInt32> program(0, programs - 1);
        std::uniform_int_distribution<std::size_t> rename(0, renames.size() - 1);
        std::uniform_int_distribution<std::size_t> pick(0, automated.size() - 1);
        std::uniform_int_distribution<VstInt32> param(0, raw->numParams - 1);
        std::uniform_real_distribution<float> value(0.0f, 1.0f);
        std::uniform_int_distribution<int> call(0, 7);
        char text[256];
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
        while (std::chrono::steady_clock::now() < end) {
            switch (call(generator)) {
            case 0: effect.dispatch(effSetProgram, 0, program(generator)); break;
            case 1: (void)effect.dispatch(effGetProgram); break;
            case 2: {
                std::string name = renames[rename(generator)];
                effect.dispatch(effSetProgramName, 0, 0, name.data());
                break;
            }
            case 3: effect.dispatch(effGetProgramName, 0, 0, text); break;
            case 4: effect.dispatch(effCopyProgram, program(generator)); break;
            case 5: effect.dispatch(effGetParamDisplay, param(generator), 0, text); break;
            case 6: raw->setParameter(raw, automated[pick(generator)], value(generator)); break;
            default: (void)raw->getParameter(raw, param(generator)); break;
            }
            calls.fetch_add(1);
        }
    };
    std::thread first(host, 11u), second(host, 12u), third(host, 13u);
    first.join();
    second.join();
    third.join();
    running.store(false);
    audio.join();
    EXPECT_TRUE(finite.load());
    EXPECT_GT(calls.load(), 1000);

    for (VstInt32 p = 0; p < programs; ++p) {
        const std::vector<float> values = programValues(effect, p);
        const std::string name = effect.text(effGetProgramName);
        EXPECT_TRUE(allowedNames.count(name)) << "program " << p << " is named \"" << name << "\"";
        bool whole = false;
        for (const std::vector<float>& candidate : original) {
            bool same = true;
            for (VstInt32 i = 0; i < raw->numParams && same; ++i)
                same = std::find(automated.begin(), automated.end(), i) != automated.end() ||
                       values[static_cast<std::size_t>(i)] == candidate[static_cast<std::size_t>(i)];
            whole = whole || same;
        }
        EXPECT_TRUE(whole) << "program " << p << " mixes the values of several programs";
    }
}
