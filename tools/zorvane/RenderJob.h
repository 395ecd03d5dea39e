#pragma once

#include "AudioFiles.h"
#include "CommandLine.h"
#include "PluginHost.h"

#include <string>

// Plays a sound source through a started plug-in into an output file, then lets the echoes
// ring out. The output appears only when it is complete: the job writes a temporary file
// beside it and renames it at the end, so an interrupted or failed render leaves nothing.
class RenderJob {
public:
    struct Summary {
        double seconds = 0.0;
        double peak = 0.0;
        double elapsed = 0.0;
    };

    // Thrown when the user interrupts the render.
    class Interrupted : public std::exception {};

    RenderJob(PluginHost& host, SoundSource& source, const CommandLine& line);

    // Throws Interrupted, UsageError or std::runtime_error; nothing is left behind then.
    Summary run();

    // Asks a running job to stop; safe to call from a signal handler.
    static void interrupt();

private:
    PluginHost& host_;
    SoundSource& source_;
    const CommandLine& line_;
};
