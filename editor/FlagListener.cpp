#include "FlagListener.h"

#include "ControlInterface.h"
#include "HostGuiInterface.h"
#include "NormalizedParamInterface.h"
#include "ParamIndexes.h"
#include "QuenloGui.h"

#include <cmath>

namespace mppi {

namespace {

constexpr std::int64_t kGeneratorModulus = 2147483647; // 2^31 - 1
constexpr std::int64_t kGeneratorFactor = 16807;
constexpr double kFractionRange = 0.25;

// Rounds to the nearest integer, ties to even, within the range bits can take.
int nearest(double value)
{
    if (!(value > -1e9 && value < 1e9))
        return 0;
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

int FlagListener::read_bits(double real)
{
    return nearest(2.0 * real - 0.5) >> 1;
}

int FlagListener::bits_to_set(double real)
{
    return nearest(2.0 * real + 0.5) >> 1;
}

int FlagListener::bits() const
{
    const NormalizedParamInterface* flags = param();
    return flags ? read_bits(flags->real()) : 0;
}

double FlagListener::set_value_hook(double value, int priority)
{
    const NormalizedParamInterface* flags = param();
    if (!flags)
        return value;
    const int bits = read_bits(flags->toReal(static_cast<float>(value)));
    auto show = [&](pengui::ControlInterface* flipFlop, int bit) {
        if (flipFlop)
            flipFlop->update_value((bits >> bit) & 1 ? 1.0 : 0.0, priority);
    };
    show(lines_, kTwoLinesBit);
    show(beats_, kBeatsBit);
    show(sustain_, kSustainLoopBit);
    followTimeUnit();
    return value;
}

void FlagListener::followTimeUnit()
{
    const int beats = (bits() >> kBeatsBit) & 1;
    if (beats == shownBeats_)
        return;
    shownBeats_ = beats;
    gui().refreshPanels();
}

void FlagListener::setBit(int bit, bool on)
{
    const NormalizedParamInterface* flags = param();
    HostGuiInterface* host = hostGui();
    if (!flags || !host)
        return;
    int bits = bits_to_set(flags->real());
    bits = on ? bits | (1 << bit) : bits & ~(1 << bit);
    seed_ = seed_ * kGeneratorFactor % kGeneratorModulus;
    const double real = bits + static_cast<double>(seed_) * kFractionRange / static_cast<double>(kGeneratorModulus);
    host->setParameter(kFlagsIndex, flags->toNormalized(real), pengui::kSourceDrag);
    followTimeUnit();
}

double FlagBitListener::user_value(double value, int)
{
    flags_.setBit(bit_, value >= 0.5);
    return value;
}

double Delay2Listener::store_value(double value, int)
{
    gui_.relayout(value >= 0.5 ? 2 : 1);
    return value;
}

} // namespace mppi
