// Shows the framework at work: time texts in each display mode and one period of every LFO
// waveform, drawn as rows of characters.
#include "LfoGenerator.h"
#include "TempoContext.h"

#include <cstdio>
#include <string>

namespace {

void printTimeTexts()
{
    const char* modes[] = {"seconds", "beats", "milliseconds"};
    const double times[] = {0.125, 0.25, 0.375, 0.75, 1.0, 1.5};
    mppi::TempoContext tempo;
    std::printf("Times at %.0f BPM\n", tempo.tempo());
    for (int mode = 0; mode < 3; ++mode) {
        tempo.setMode(mode);
        std::printf("  %-13s", modes[mode]);
        for (double seconds : times)
            std::printf("%10s", (tempo.timeText(seconds, 6) + " " + tempo.unitName()).c_str());
        std::printf("\n");
    }
}

void printWaveforms()
{
    constexpr int kColumns = 64;
    constexpr int kBlock = 256;
    std::printf("\nLFO waveforms, one period each, from -1 (left) to +1 (right)\n");
    for (int type = 0; type < mppi::LfoGenerator::kWaveformCount; ++type) {
        mppi::LfoGenerator generator;
        generator.setType(type);
        // Random waveforms draw once per period or control block: show several values.
        generator.setPeriod((type == mppi::LfoGenerator::kRandom ? 1.0 : kColumns) * kBlock / 44100.0);
        generator.setup();
        std::printf("  %s\n", mppi::LfoGenerator::waveformName(type).c_str());
        for (int row = 0; row < kColumns; row += 4) {
            const int position = static_cast<int>((generator.output() + 1.0) * 0.5 * 40.0 + 0.5);
            std::printf("    |%s*\n", std::string(static_cast<std::size_t>(position < 0 ? 0 : position > 40 ? 40 : position), ' ').c_str());
            generator.advance(4 * kBlock);
        }
    }
}

} // namespace

int main()
{
    printTimeTexts();
    printWaveforms();
    return 0;
}
