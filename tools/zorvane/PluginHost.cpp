#include "PluginHost.h"

#include "CommandLine.h"
#include "ParamByName.h"

#include <charconv>
#include <cstring>

namespace {

constexpr VstIntPtr kHostVersion = 2400;
// Longest program name the interface carries.
constexpr std::size_t kNameLength = 23;

// The host a callback belongs to. The plug-in calls back while its entry point runs, before
// the effect record can carry the host, so the one host of this program is kept here.
PluginHost* g_host = nullptr;

} // namespace

PluginHost::PluginHost(const std::string& modulePath) : module_(std::make_unique<PluginModule>(modulePath))
{
    if (!module_->loaded())
        throw UsageError("cannot load the plug-in " + modulePath + ": " + module_->error());
    PluginModule::Entry entry = module_->entry("VSTPluginMain");
    if (!entry)
        entry = module_->entry("main");
    if (!entry)
        throw UsageError("the plug-in " + modulePath + " has no entry point (VSTPluginMain or main)");
    create(entry, modulePath);
}

PluginHost::PluginHost(PluginModule::Entry entry, const std::string& name)
{
    create(entry, name);
}

void PluginHost::create(PluginModule::Entry entry, const std::string& name)
{
    g_host = this;
    effect_ = entry(callback);
    if (!effect_ || effect_->magic != kEffectMagic)
        throw UsageError("the plug-in " + name + " gave no effect");
    dispatch(effOpen);
}

PluginHost::~PluginHost()
{
    if (effect_) {
        dispatch(effMainsChanged, 0, 0);
        dispatch(effClose);
    }
    if (g_host == this)
        g_host = nullptr;
}

VstIntPtr VST2_CALL PluginHost::callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    PluginHost* host = g_host;
    switch (opcode) {
    case audioMasterVersion: return kHostVersion;
    case audioMasterGetTime: return host && host->givesTime_ ? reinterpret_cast<VstIntPtr>(&host->time_) : 0;
    default: return 0;
    }
}

VstIntPtr PluginHost::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string PluginHost::text(VstInt32 opcode, VstInt32 index)
{
    char buffer[256] = {};
    dispatch(opcode, index, 0, buffer);
    return buffer;
}

void PluginHost::setTempo(std::optional<double> beatsPerMinute)
{
    givesTime_ = beatsPerMinute.has_value();
    time_ = {};
    if (beatsPerMinute) {
        time_.tempo = *beatsPerMinute;
        time_.flags = kVstTempoValid;
    }
}

void PluginHost::start(double sampleRate, int blockSize)
{
    time_.sampleRate = sampleRate;
    dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    dispatch(effSetBlockSize, 0, blockSize);
    dispatch(effMainsChanged, 0, 1);
}

int PluginHost::programCount() const
{
    return effect_->numPrograms;
}

std::string PluginHost::programName()
{
    return text(effGetProgramName);
}

void PluginHost::selectProgram(int program)
{
    dispatch(effSetProgram, 0, program);
}

int PluginHost::findProgram(const std::string& numberOrName)
{
    int number = 0;
    const char* end = numberOrName.data() + numberOrName.size();
    auto result = std::from_chars(numberOrName.data(), end, number);
    if (!numberOrName.empty() && result.ec == std::errc() && result.ptr == end) {
        if (number < 0 || number >= programCount())
            throw UsageError("there is no program " + numberOrName + " (0 to " + std::to_string(programCount() - 1) + ")");
        return number;
    }
    // The interface carries program names of at most 23 characters: a longer name matches the
    // program whose name is its beginning. Reading a name means selecting the program.
    int found = -1;
    for (int program = 0; program < programCount(); ++program) {
        selectProgram(program);
        const std::string name = programName();
        if (name == numberOrName || (name.size() == kNameLength && numberOrName.compare(0, kNameLength, name) == 0)) {
            if (found >= 0)
                throw UsageError("the name '" + numberOrName + "' fits more than one program; give its number");
            found = program;
        }
    }
    if (found < 0)
        throw UsageError("there is no program named '" + numberOrName + "' (zorvane programs lists them)");
    return found;
}

int PluginHost::paramCount() const
{
    return effect_->numParams;
}

std::string PluginHost::paramName(int index)
{
    return text(effGetParamName, index);
}

std::string PluginHost::paramLabel(int index)
{
    return text(effGetParamLabel, index);
}

std::string PluginHost::paramDisplay(int index)
{
    return text(effGetParamDisplay, index);
}

float PluginHost::param(int index) const
{
    return effect_->getParameter(effect_, index);
}

void PluginHost::setParam(int index, float value)
{
    effect_->setParameter(effect_, index, value);
}

int PluginHost::findParam(const std::string& name)
{
    const int index = param_index_by_name(effect_, name);
    if (index >= 0)
        return index;
    throw UsageError("there is no parameter named '" + name + "' (zorvane params lists them)");
}

std::string PluginHost::effectName()
{
    return text(effGetEffectName);
}

std::string PluginHost::vendor()
{
    return text(effGetVendorString);
}

std::string PluginHost::product()
{
    return text(effGetProductString);
}

long PluginHost::vendorVersion()
{
    return static_cast<long>(dispatch(effGetVendorVersion));
}

int PluginHost::uniqueId() const
{
    return effect_->uniqueID;
}

int PluginHost::inputCount() const
{
    return effect_->numInputs;
}

int PluginHost::outputCount() const
{
    return effect_->numOutputs;
}

int PluginHost::flags() const
{
    return effect_->flags;
}

std::string PluginHost::pinLabel(int pin, bool output)
{
    VstPinProperties properties{};
    if (dispatch(output ? effGetOutputProperties : effGetInputProperties, pin, 0, &properties) != 1)
        return {};
    return std::string(properties.label, strnlen(properties.label, sizeof properties.label));
}

void PluginHost::process(float* left, float* right, float* outLeft, float* outRight, int frames)
{
    float* inputs[2] = {left, right};
    float* outputs[2] = {outLeft, outRight};
    effect_->processReplacing(effect_, inputs, outputs, frames);
}
