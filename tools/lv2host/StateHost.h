#pragma once

#include "CountingLog.h"
#include "UridTable.h"

#include <lilv/lilv.h>

#include <memory>
#include <string>
#include <vector>

// One LV2 plug-in instance as a host holds it for presets and saved states: found by its URI
// among the bundles lilv finds (LV2_PATH), its control inputs at their defaults, given the
// host's URID map and unmap and a log that counts errors. The instance is never run. Every call
// from one thread; everything allocates.
class StateHost {
public:
    // Throws std::runtime_error when no plug-in has `pluginUri` or it does not instantiate.
    StateHost(const std::string& pluginUri, double sampleRate);
    ~StateHost();
    StateHost(const StateHost&) = delete;
    StateHost& operator=(const StateHost&) = delete;

    // Applies the pset:Preset `presetUri`: its port values and its properties, if it has any.
    // Throws when the world holds no such preset.
    void applyPreset(const std::string& presetUri);
    // Restores the state saved at `path` by save(). Throws when it cannot be read. A state the
    // plug-in refuses counts in errors(): lilv does not tell its status.
    void restore(const std::string& path);
    // Saves the control inputs' values and the plug-in's properties as Turtle at `path`. Throws
    // when it cannot be written.
    void save(const std::string& path);
    // The errors the plug-in logged so far.
    int errors() const { return log_.errors(); }

private:
    static const void* portValue(const char* symbol, void* host, std::uint32_t* size, std::uint32_t* type);
    static void setPortValue(const char* symbol, void* host, const void* value, std::uint32_t size,
                             std::uint32_t type);
    // The control input with that symbol, or null.
    float* control(const char* symbol);
    void restoreState(const LilvState* state);

    UridTable urids_;
    CountingLog log_;
    std::unique_ptr<LilvWorld, decltype(&lilv_world_free)> world_;
    const LilvPlugin* plugin_ = nullptr;
    LilvInstance* instance_ = nullptr;
    std::vector<float> controls_;
    std::vector<bool> isControlInput_;
    LV2_Feature mapFeature_;
    LV2_Feature unmapFeature_;
    LV2_Feature logFeature_;
    const LV2_Feature* features_[4];
};
