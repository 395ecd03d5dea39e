// Writes the LV2 bundle's description from the plug-in's parameter table and built-in programs.
//
//   lv2_bundle BUNDLE_DIR BINARY_NAME UI_BINARY_NAME
//
// writes manifest.ttl, zorvane.ttl and presets.ttl into BUNDLE_DIR, and fails when a value of a
// program or of the fresh instance has no port value that gives it back exactly.
#include "BundleWriter.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <functional>
#include <string>

namespace {

void write(const std::string& path, const std::function<void(std::ostream&)>& body)
{
    std::ofstream out(path);
    body(out);
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: lv2_bundle BUNDLE_DIR BINARY_NAME UI_BINARY_NAME\n");
        return 2;
    }
    try {
        const std::string folder = argv[1];
        const BundleWriter writer(argv[2], argv[3]);
        write(folder + "/manifest.ttl", [&](std::ostream& out) { writer.writeManifest(out); });
        write(folder + "/" + BundleWriter::kPluginFile, [&](std::ostream& out) { writer.writePlugin(out); });
        write(folder + "/" + BundleWriter::kPresetFile, [&](std::ostream& out) { writer.writePresets(out); });
    } catch (const std::exception& error) {
        std::fprintf(stderr, "lv2_bundle: %s\n", error.what());
        return 1;
    }
    return 0;
}
