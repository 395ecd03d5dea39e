// A small LV2 host for presets and saved states, as a session host handles them:
//
//   lv2_state_host PLUGIN_URI [--preset PRESET_URI] [--restore FILE] [--save FILE]
//
// instantiates the plug-in found by URI in LV2_PATH, applies the preset, restores the state
// file, then saves the state to a file, in that order. Exits with 0, with 1 when something
// cannot be done, and with 2 when the plug-in logged an error (a refused state among them).
#include "StateHost.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <sstream>
#include <string>

namespace {

// LV2_PATH with every folder made absolute: lilv crashes on a relative one.
void absoluteLv2Path()
{
    const char* path = std::getenv("LV2_PATH");
    if (!path)
        return;
    std::istringstream folders(path);
    std::string folder, absolute;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty())
            continue;
        if (!absolute.empty())
            absolute += ':';
        absolute += std::filesystem::absolute(folder).string();
    }
    setenv("LV2_PATH", absolute.c_str(), 1);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc % 2 != 0) {
        std::fputs("usage: lv2_state_host PLUGIN_URI [--preset PRESET_URI] [--restore FILE] [--save FILE]\n", stderr);
        return 1;
    }
    std::string preset, restore, save;
    for (int arg = 2; arg < argc; arg += 2) {
        const std::string option = argv[arg];
        std::string& value = option == "--preset" ? preset : option == "--restore" ? restore : save;
        if (option != "--preset" && option != "--restore" && option != "--save") {
            std::fprintf(stderr, "lv2_state_host: unknown option %s\n", option.c_str());
            return 1;
        }
        value = argv[arg + 1];
    }
    try {
        absoluteLv2Path();
        StateHost host(argv[1], 48000.0);
        if (!preset.empty())
            host.applyPreset(preset);
        if (!restore.empty())
            host.restore(restore);
        if (!save.empty())
            host.save(save);
        return host.errors() == 0 ? 0 : 2;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lv2_state_host: %s\n", error.what());
        return 1;
    }
}
