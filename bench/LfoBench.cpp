#include "FullLfoParam.h"
#include "LfoModifiers.h"
#include "ParamDlyMixin.h"

#include <benchmark/benchmark.h>

namespace {

class BenchParam : public virtual mppi::ParamNumbered, public mppi::ParamDlyMixin {
public:
    std::string nameSuffix() const override { return " fdbk"; }
    std::string unitLabel() const override { return {}; }
    double toReal(float normalized) const override { return normalized; }
    float toNormalized(double real) const override { return static_cast<float>(real); }
    std::string valueText(double) const override { return {}; }
    double parse(const std::string&, bool&) const override { return 0.0; }
};

struct Feedback : mppi::OffsetModifier<Feedback> {
    static constexpr double kLow = 0.0, kHigh = 1.0;
};

// One control block of an LFO group at full depth, per waveform.
void updateBlock(benchmark::State& state)
{
    mppi::PluginInternal registry;
    mppi::FullLfoParam<Feedback, 1> group;
    auto base = std::make_shared<BenchParam>();
    base->init(0.5, 1, 0);
    group.setup(base, registry);
    registry.registered(2)->setNormalized(1.0f);
    registry.registered(3)->setNormalized(static_cast<float>(state.range(0)) / 9.0f);
    for (auto _ : state) {
        group.updateBlock(256);
        benchmark::DoNotOptimize(group.output());
    }
}

} // namespace

BENCHMARK(updateBlock)->DenseRange(0, 9);
