#pragma once

#include "PluginModule.h"

#include <memory>
#include <optional>
#include <string>

// Hosts one VST 2 plug-in module as a DAW would: loads it, answers its callbacks (a host of
// version 2.4 whose tempo, when given, is valid time information), and drives it.
class PluginHost {
public:
    // Throws UsageError when the module does not load, has no entry point or gives no effect.
    explicit PluginHost(const std::string& modulePath);
    // Hosts a plug-in linked into this program, through its entry point.
    PluginHost(PluginModule::Entry entry, const std::string& name);
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    // The tempo reported from now on; none reports no time information at all.
    void setTempo(std::optional<double> beatsPerMinute);
    // Sample rate, block size and resume, as a host does before playing.
    void start(double sampleRate, int blockSize);

    int programCount() const;
    std::string programName();
    void selectProgram(int program);
    // The program named by number or by exact name; throws UsageError.
    int findProgram(const std::string& numberOrName);

    int paramCount() const;
    std::string paramName(int index);
    std::string paramLabel(int index);
    std::string paramDisplay(int index);
    float param(int index) const;
    void setParam(int index, float value);
    // The parameter with this exact name; throws UsageError.
    int findParam(const std::string& name);

    std::string effectName();
    std::string vendor();
    std::string product();
    long vendorVersion();
    int uniqueId() const;
    int inputCount() const;
    int outputCount() const;
    int flags() const;
    std::string pinLabel(int pin, bool output);

    // The effect record, for a plug-in linked in.
    AEffect* effect() const { return effect_; }
    // Processes stereo frames, replacing the outputs.
    void process(float* left, float* right, float* outLeft, float* outRight, int frames);

private:
    static VstIntPtr VST2_CALL callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                        float opt);
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr, float opt = 0.0f);
    std::string text(VstInt32 opcode, VstInt32 index = 0);

    void create(PluginModule::Entry entry, const std::string& name);

    std::unique_ptr<PluginModule> module_;
    AEffect* effect_ = nullptr;
    VstTimeInfo time_{};
    bool givesTime_ = false;
};
