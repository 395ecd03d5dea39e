// A console host that loads a plug-in module as a host does, checks its identity, plays a
// program over a test signal and writes the output; and compares two such outputs. Built for
// Linux and for Windows, so the Windows module's sound can be checked against the Linux one.
//
//   host_check [--aligned-stack] render MODULE OUTPUT [PROGRAM]
//   host_check compare FIRST SECOND TOLERANCE
//
// A 32-bit Windows build calls the module with the stack aligned to 4 bytes only, as hosts
// built with other compilers do; --aligned-stack keeps the 16 bytes of its own compiler.
#include "Effect.h"
#include "FakeHost.h"
#include "PluginModule.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kFrames = 2 * 44100;
constexpr VstInt32 kBlock = 512;

bool fail(const std::string& message)
{
    std::fprintf(stderr, "host_check: %s\n", message.c_str());
    return false;
}

// Plucked tones and clicks, the same on every platform.
void testSignal(std::vector<float>& left, std::vector<float>& right)
{
    left.assign(kFrames, 0.0f);
    right.assign(kFrames, 0.0f);
    unsigned state = 12345;
    for (std::size_t i = 0; i < kFrames; ++i) {
        const double t = static_cast<double>(i % 11025) / 44100.0;
        const double tone = std::sin(2.0 * 3.141592653589793 * (220.0 + 110.0 * static_cast<double>(i / 11025 % 4)) * t);
        state = state * 1103515245u + 12345u;
        const double click = i % 22050 < 64 ? (static_cast<double>(state >> 16 & 0x7FFF) / 16384.0 - 1.0) : 0.0;
        left[i] = static_cast<float>(0.4 * tone * std::exp(-6.0 * t) + 0.3 * click);
        right[i] = static_cast<float>(0.4 * tone * std::exp(-4.0 * t) - 0.2 * click);
    }
}

bool render(const std::string& path, const std::string& output, VstInt32 program)
{
    FakeHost host;
    PluginModule module(path);
    if (!module.loaded())
        return fail("cannot load " + path + ": " + module.error());
    PluginModule::Entry entry = module.entry("main");
    if (!entry)
        return fail("no entry point main in " + path);
    AEffect* created = plugin_calls::entry(entry, FakeHost::callback);
    if (!created)
        return fail("the entry point answered null");
    Effect effect(created);
    if (effect->magic != kEffectMagic || effect->uniqueID != fourCharacterCode('K', 't', 'M', 'x') ||
        effect->numParams != 121 || effect->numPrograms != 34 || effect->numInputs != 2 || effect->numOutputs != 2 ||
        effect.text(effGetEffectName) != "Zorvane" || effect.dispatch(effGetVendorVersion) != 0x103)
        return fail("unexpected identity");
    effect.start();
    effect.dispatch(effSetProgram, 0, program);

    std::vector<float> left, right, outLeft, outRight;
    testSignal(left, right);
    effect.render(left, right, outLeft, outRight, kBlock);
    effect.close();

    std::ofstream file(output, std::ios::binary | std::ios::trunc);
    for (std::size_t i = 0; i < kFrames; ++i) {
        file.write(reinterpret_cast<const char*>(&outLeft[i]), sizeof(float));
        file.write(reinterpret_cast<const char*>(&outRight[i]), sizeof(float));
    }
    return file.good() ? true : fail("cannot write " + output);
}

std::vector<float> samplesOf(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<float> samples;
    float sample = 0.0f;
    while (file.read(reinterpret_cast<char*>(&sample), sizeof sample))
        samples.push_back(sample);
    return samples;
}

bool compare(const std::string& first, const std::string& second, double tolerance)
{
    const std::vector<float> a = samplesOf(first);
    const std::vector<float> b = samplesOf(second);
    if (a.empty() || a.size() != b.size())
        return fail("the outputs differ in length: " + std::to_string(a.size()) + " and " + std::to_string(b.size()));
    double largest = 0.0;
    double energy = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!std::isfinite(a[i]) || !std::isfinite(b[i]))
            return fail("a sample is not finite at " + std::to_string(i));
        largest = std::max(largest, std::fabs(static_cast<double>(a[i]) - b[i]));
        energy += static_cast<double>(a[i]) * a[i];
    }
    std::printf("largest difference %.3g over %zu samples\n", largest, a.size());
    if (energy < 1.0)
        return fail("the output is silent");
    return largest <= tolerance ? true : fail("the outputs differ by more than the tolerance");
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--aligned-stack") {
        plugin_calls::keepStackAligned();
        --argc;
        ++argv;
    }
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "render" && (argc == 4 || argc == 5))
        return render(argv[2], argv[3], argc == 5 ? std::atoi(argv[4]) : 0) ? 0 : 1;
    if (command == "compare" && argc == 5)
        return compare(argv[2], argv[3], std::atof(argv[4])) ? 0 : 1;
    std::fprintf(stderr, "usage: host_check [--aligned-stack] render MODULE OUTPUT [PROGRAM]\n       host_check compare FIRST SECOND TOLERANCE\n");
    return 2;
}
