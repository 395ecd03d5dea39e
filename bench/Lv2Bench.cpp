#include "FixedPorts.h"
#include "Lv2Plugin.h"

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

namespace {

constexpr double kSampleRate = 44100.0;

// Building an instance as a host's instantiate does: the algorithm, its programs and ports.
void BM_Instantiate(benchmark::State& state)
{
    for (auto _ : state) {
        lv2port::Lv2Plugin plugin(kSampleRate, nullptr);
        benchmark::DoNotOptimize(&plugin);
    }
}
BENCHMARK(BM_Instantiate)->Unit(benchmark::kMicrosecond);

// One run of range(0) frames with every control port at 0 and unchanged between runs: the
// adapter's share is the look at every control port.
void BM_Run(benchmark::State& state)
{
    const auto frames = static_cast<std::uint32_t>(state.range(0));
    lv2port::Lv2Plugin plugin(kSampleRate, nullptr);
    std::array<float, mppi::kParamCount> controls{};
    for (std::uint32_t port = 0; port < mppi::kParamCount; ++port) {
        controls[port] = 0.0f;
        plugin.connect(port, &controls[port]);
    }
    std::vector<float> input(frames, 0.1f), left(frames), right(frames);
    plugin.connect(lv2port::kInputLeft, input.data());
    plugin.connect(lv2port::kInputRight, input.data());
    plugin.connect(lv2port::kOutputLeft, left.data());
    plugin.connect(lv2port::kOutputRight, right.data());
    plugin.activate();
    plugin.run(frames);
    for (auto _ : state) {
        plugin.run(frames);
        benchmark::DoNotOptimize(left.data());
    }
    state.counters["per_frame"] = benchmark::Counter(static_cast<double>(state.iterations()) * frames,
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Run)->Arg(1)->Arg(32)->Arg(512);

} // namespace
