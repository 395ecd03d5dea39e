#include "Algo.h"
#include "ControlBlock.h"
#include "StereoTapDelay.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kSampleRate = 44100.0;

// kHeavyLines is the heavy setting with the taps at their defaults (tap 1 passes the input):
// its lines and mixer, with the cheapest taps.
enum Setting { kDefaults, kOneLineAllStages, kHeavy, kHeavyLines };

// The parameter named `name` in a registry; a misspelt name stops the benchmark rather than
// measuring a setting that was never made.
mppi::NormalizedParamInterface& named(const mppi::PluginInternal& registry, const std::string& name)
{
    mppi::NormalizedParamInterface* param = nullptr;
    for (int index = 0; index < registry.registeredCount() && !param; ++index) {
        if (registry.registered(index)->name() == name)
            param = registry.registered(index);
    }
    if (!param) {
        std::fprintf(stderr, "algorithm_bench: no parameter named '%s'\n", name.c_str());
        std::abort();
    }
    return *param;
}

void set(mppi::PluginInternal& algo, const std::string& name, const std::string& text)
{
    mppi::NormalizedParamInterface& param = named(algo, name);
    bool understood = false;
    const double real = param.parse(text, understood);
    if (!understood) {
        std::fprintf(stderr, "algorithm_bench: '%s' is no value of '%s'\n", text.c_str(), name.c_str());
        std::abort();
    }
    param.setReal(real);
}

void setReal(mppi::PluginInternal& algo, const std::string& name, double value)
{
    named(algo, name).setReal(value);
}

// Stereo noise, the same in every benchmark.
struct Noise {
    explicit Noise(std::size_t frames) : left(frames), right(frames)
    {
        std::mt19937 generator(5);
        std::uniform_real_distribution<float> noise(-0.3f, 0.3f);
        for (std::size_t i = 0; i < frames; ++i) {
            left[i] = noise(generator);
            right[i] = noise(generator);
        }
    }
    std::vector<float> left;
    std::vector<float> right;
};

// The heavy setting's taps: all four audible, with every LFO at depth.
void configureTaps(mppi::PluginInternal& registry)
{
    for (int tap = 1; tap <= 4; ++tap) {
        const std::string name = std::string("Tap ").append(std::to_string(tap));
        set(registry, name + " level", "-6");
        setReal(registry, name + " time", 0.1 * tap);
        for (const char* part : {" time", " level", " pan"})
            set(registry, name + part + " LFO depth", "30");
    }
}

void configure(Algo& algo, Setting setting)
{
    if (setting == kDefaults)
        return;
    const bool heavy = setting == kHeavy || setting == kHeavyLines;
    const int lines = heavy ? 2 : 1;
    if (heavy) {
        setReal(algo, "Flags", 64 + 32);
        set(algo, "Fdbk sep.", "30");
        set(algo, "Fdbk sep. LFO depth", "50");
    }
    if (setting == kHeavy)
        configureTaps(algo);
    for (int line = 1; line <= lines; ++line) {
        const std::string name = std::string("D").append(std::to_string(line));
        setReal(algo, name + " filt type", 0.0);
        set(algo, name + " filt reso", "6");
        set(algo, name + " disto lvl", "40");
        setReal(algo, name + " disto type", 0.5);
        set(algo, name + " HS level", "-6");
        if (heavy) {
            for (const char* part : {" pan", " time", " fdbk", " filt cutoff", " filt reso", " filt Q", " disto lvl"})
                set(algo, name + part + " LFO depth", "20");
        }
    }
}

// Cost of processing one second of stereo noise in host blocks of `range(1)` frames.
void process(benchmark::State& state)
{
    const auto setting = static_cast<Setting>(state.range(0));
    const int block = static_cast<int>(state.range(1));
    Algo algo;
    algo.init1();
    algo.init2();
    algo.setSampleRate(static_cast<float>(kSampleRate));
    configure(algo, setting);

    const std::size_t frames = static_cast<std::size_t>(kSampleRate);
    const Noise input(frames);
    const std::vector<float>& left = input.left;
    const std::vector<float>& right = input.right;
    std::vector<float> outLeft(frames), outRight(frames);
    for (auto _ : state) {
        for (std::size_t at = 0; at + static_cast<std::size_t>(block) <= frames; at += static_cast<std::size_t>(block)) {
            const float* inputs[2] = {left.data() + at, right.data() + at};
            float* outputs[2] = {outLeft.data() + at, outRight.data() + at};
            algo.processReplacing(inputs, outputs, block);
        }
        benchmark::DoNotOptimize(outLeft.data());
        benchmark::ClobberMemory();
    }
    const double processed = static_cast<double>(frames / static_cast<std::size_t>(block) * static_cast<std::size_t>(block));
    state.counters["ns_per_frame"] =
        benchmark::Counter(processed * 1e-9, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["realtime_x"] =
        benchmark::Counter(processed / kSampleRate, benchmark::Counter::kIsIterationInvariantRate);
}

// The heavy setting's taps alone, in control blocks, on the same noise: their share of the
// whole is this over `process/setting:2`; the lines, their stages and the mixer are the rest,
// which `process/setting:3` measures with the cheapest taps.
void heavyTaps(benchmark::State& state)
{
    mppi::PluginInternal registry;
    StereoTapDelay taps;
    taps.init(registry);
    taps.setSampleRate(static_cast<float>(kSampleRate));
    taps.setDefaults();
    configureTaps(registry);

    const std::size_t frames = static_cast<std::size_t>(kSampleRate) / kControlBlock * kControlBlock;
    const Noise input(frames);
    std::vector<float> outLeft(frames), outRight(frames);
    for (auto _ : state) {
        for (std::size_t at = 0; at < frames; at += kControlBlock) {
            taps.updateBlock(kControlBlock);
            taps.process(outLeft.data() + at, outRight.data() + at, input.left.data() + at, input.right.data() + at,
                         kControlBlock);
        }
        benchmark::DoNotOptimize(outLeft.data());
        benchmark::ClobberMemory();
    }
    state.counters["ns_per_frame"] = benchmark::Counter(static_cast<double>(frames) * 1e-9,
                                                        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Cost of the block that carries out a pending reset (what effMainsChanged asks for), at the
// sample rate `range(0)`: the audio thread clears every buffer before it processes.
void pendingReset(benchmark::State& state)
{
    Algo algo;
    algo.init1();
    algo.init2();
    algo.setSampleRate(static_cast<float>(state.range(0)));
    std::vector<float> left(64), right(64), outLeft(64), outRight(64);
    const float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    algo.processReplacing(inputs, outputs, 64);
    for (auto _ : state) {
        algo.requestReset();
        algo.processReplacing(inputs, outputs, 64);
        benchmark::DoNotOptimize(outLeft.data());
    }
}

} // namespace

BENCHMARK(heavyTaps)->Unit(benchmark::kMillisecond);

BENCHMARK(pendingReset)->ArgNames({"rate"})->Arg(44100)->Arg(384000)->Unit(benchmark::kMillisecond);

BENCHMARK(process)
    ->ArgNames({"setting", "block"})
    ->ArgsProduct({{kDefaults, kOneLineAllStages, kHeavy}, {32, 512, 4096}})
    ->Args({kHeavyLines, 512})
    ->Unit(benchmark::kMillisecond);
