// zorvane: the command-line host. Loads a VST 2 plug-in module through its entry point, as a
// host does, and renders audio files through it, or lists its programs, parameters and
// identity.
#include "AudioFiles.h"
#include "CommandLine.h"
#include "DemoPhrase.h"
#include "PluginHost.h"
#include "RenderJob.h"
#include "Snapshot.h"

#include <climits>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

// The Linux plug-in module where it is installed relative to this program (bin/ and lib/vst/),
// or else built next to it.
std::string defaultPlugin()
{
    char path[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string self = length > 0 ? std::string(path, static_cast<std::size_t>(length)) : std::string();
    const std::size_t slash = self.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : self.substr(0, slash);
    const std::string installed = folder + "/../" ZORVANE_MODULE_FOLDER "/zorvane.so";
    return access(installed.c_str(), F_OK) == 0 ? installed : folder + "/zorvane.so";
}

// Applies --program, then every --set.
void configure(PluginHost& host, const CommandLine& line)
{
    if (line.program)
        host.selectProgram(host.findProgram(*line.program));
    for (const ParameterSetting& setting : line.settings) {
        const int index = setting.index ? *setting.index : host.findParam(setting.name);
        if (index < 0 || index >= host.paramCount())
            throw UsageError("there is no parameter " + std::to_string(index) + " (0 to " +
                             std::to_string(host.paramCount() - 1) + ")");
        host.setParam(index, setting.value);
    }
}

void listPrograms(PluginHost& host)
{
    for (int program = 0; program < host.programCount(); ++program) {
        host.selectProgram(program);
        std::printf("%d\t%s\n", program, host.programName().c_str());
    }
}

void listParams(PluginHost& host)
{
    for (int index = 0; index < host.paramCount(); ++index)
        std::printf("%d\t%s\t%s\t%s\t%.6f\n", index, host.paramName(index).c_str(), host.paramLabel(index).c_str(),
                    host.paramDisplay(index).c_str(), static_cast<double>(host.param(index)));
}

void showInfo(PluginHost& host)
{
    const int id = host.uniqueId();
    const char code[5] = {static_cast<char>(id >> 24 & 0xFF), static_cast<char>(id >> 16 & 0xFF),
                          static_cast<char>(id >> 8 & 0xFF), static_cast<char>(id & 0xFF), 0};
    const long version = host.vendorVersion();
    std::printf("effect name:    %s\n", host.effectName().c_str());
    std::printf("vendor:         %s\n", host.vendor().c_str());
    std::printf("product:        %s\n", host.product().c_str());
    std::printf("vendor version: 0x%lX (%ld.%ld.%ld)\n", version, version >> 8, version >> 4 & 0xF, version & 0xF);
    std::printf("unique ID:      %s (0x%08X)\n", code, static_cast<unsigned>(id));
    std::printf("parameters:     %d\n", host.paramCount());
    std::printf("programs:       %d\n", host.programCount());
    for (bool output : {false, true}) {
        const int count = output ? host.outputCount() : host.inputCount();
        std::string pins;
        for (int pin = 0; pin < count; ++pin)
            pins += (pin > 0 ? ", " : "") + host.pinLabel(pin, output);
        std::printf("%s%d (%s)\n", output ? "outputs:        " : "inputs:         ", count, pins.c_str());
    }
    const int flags = host.flags();
    std::string names;
    const std::pair<int, const char*> known[] = {{effFlagsHasEditor, "editor"}, {effFlagsCanReplacing, "replacing"},
                                                 {effFlagsCanMono, "mono"}, {effFlagsProgramChunks, "chunks"}};
    for (auto [bit, name] : known)
        if (flags & bit)
            names += (names.empty() ? "" : ", ") + std::string(name);
    std::printf("flags:          0x%X (%s)\n", static_cast<unsigned>(flags), names.c_str());
}

void onSignal(int)
{
    RenderJob::interrupt();
}

int render(const CommandLine& line)
{
    // The output's format is checked before any work.
    SoundFileWriter::formatFor(line.output, line.floatOutput);
    std::unique_ptr<SoundSource> source;
    if (line.demo)
        source = std::make_unique<DemoPhrase>();
    else
        source = std::make_unique<SoundFileSource>(line.input);
    PluginHost host(line.plugin.empty() ? defaultPlugin() : line.plugin);
    host.setTempo(line.tempo);
    host.start(source->sampleRate(), line.blockSize);
    configure(host, line);

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    RenderJob job(host, *source, line);
    const RenderJob::Summary summary = job.run();
    if (!line.quiet) {
        const double peak = summary.peak > 0.0 ? 20.0 * std::log10(summary.peak) : -HUGE_VAL;
        std::fprintf(stderr, "zorvane: rendered %.2f s to %s, peak %.1f dBFS, in %.2f s (%.0fx real time)\n",
                     summary.seconds, line.output.c_str(), peak, summary.elapsed,
                     summary.elapsed > 0.0 ? summary.seconds / summary.elapsed : 0.0);
    }
    return 0;
}

int run(const CommandLine& line)
{
    if (line.command == CommandLine::Command::kRender)
        return render(line);
    if (line.command == CommandLine::Command::kSnapshot)
        return take_snapshot(line);
    PluginHost host(line.plugin.empty() ? defaultPlugin() : line.plugin);
    host.setTempo(line.tempo);
    host.start(44100.0, line.blockSize);
    switch (line.command) {
    case CommandLine::Command::kPrograms: listPrograms(host); break;
    case CommandLine::Command::kParams:
        configure(host, line);
        listParams(host);
        break;
    case CommandLine::Command::kInfo: showInfo(host); break;
    default: break;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const CommandLine line = CommandLine::parse(std::vector<std::string>(argv + 1, argv + argc));
        if (line.command == CommandLine::Command::kHelp) {
            std::fputs(CommandLine::usage(), stdout);
            return 0;
        }
        return run(line);
    } catch (const UsageError& error) {
        std::fprintf(stderr, "zorvane: %s\n", error.what());
        return 2;
    } catch (const RenderJob::Interrupted&) {
        std::fprintf(stderr, "\nzorvane: interrupted; nothing written\n");
        return 130;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zorvane: %s\n", error.what());
        return 1;
    }
}
