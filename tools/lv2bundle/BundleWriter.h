#pragma once

#include "Algo.h"
#include "BankManager.h"
#include "ParamPort.h"

#include <ostream>
#include <string>
#include <vector>

// Writes the description of the LV2 bundle from the plug-in's own tables: the manifest, the
// plug-in with its ports and the keys of its saved state, and the built-in programs as presets.
// Every value written is checked to give back the stored normalized value bit for bit through
// the plug-in's port conversion.
class BundleWriter {
public:
    // `binary` and `uiBinary` are the plug-in's and the UI's module file names in the bundle.
    BundleWriter(std::string binary, std::string uiBinary);

    void writeManifest(std::ostream& out) const;
    void writePlugin(std::ostream& out) const;
    void writePresets(std::ostream& out) const;

    static constexpr const char* kPluginFile = "zorvane.ttl";
    static constexpr const char* kPresetFile = "presets.ttl";

private:
    int paramCount() const { return static_cast<int>(ports_.size()); }
    std::string presetUri(int program) const;
    // The port value of a stored normalized value; throws when none gives it back exactly.
    float portValue(int index, float normalized, const std::string& where) const;
    void writeParamPort(std::ostream& out, int index) const;
    // The keys of the plug-in's saved state and the type of the presets' value.
    void writeStateKeys(std::ostream& out) const;

    std::string binary_;
    std::string uiBinary_;
    Algo algo_;
    std::string pluginName_;
    mppi::BankManager programs_;
    std::vector<lv2port::ParamPort> ports_;
    std::vector<std::string> presetSlugs_;
};
