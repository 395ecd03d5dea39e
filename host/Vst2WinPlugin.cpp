#include "Vst2WinPlugin.h"

#include "AEffEditor.h"

#include "DspInterface.h"
#include "GuiInterface.h"
#include "HostDspInterface.h"
#include "NormalizedParamInterface.h"
#include "PinGroup.h"
#include "ProductInfo.h"
#include "Sys.h"
#include "TempoQuery.h"
#include "TextFormat.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace mppi {

namespace {

// Longest texts the host's buffers take, terminator included.
constexpr std::size_t kShortText = 24;
constexpr std::size_t kEffectNameText = 32;
constexpr std::size_t kLongText = 64;
// Longest program name read from a host, which may hand a buffer without a terminator.
constexpr std::size_t kLongestHostText = 255;
constexpr VstInt32 kVstVersion = 2;
// effVendorSpecific's index and value when the host announces its windows' content scale.
constexpr VstInt32 kContentScaleIndex = fourCharacterCode('P', 'r', 'e', 'S');
constexpr VstIntPtr kContentScaleValue = fourCharacterCode('A', 'e', 'C', 's');
constexpr VstInt32 kProgramCategories = 1;
// The longest tail reported, in seconds, and the answer for none: hosts read 0 as "unknown".
constexpr double kLongestTail = 30.0;
constexpr VstIntPtr kNoTail = 1;

// Writes `text`, cut to fit `capacity` with its terminator, into the host's buffer.
void copyText(void* buffer, const std::string& text, std::size_t capacity)
{
    if (!buffer)
        return;
    const std::size_t length = std::min(text.size(), capacity - 1);
    std::memcpy(buffer, text.data(), length);
    static_cast<char*>(buffer)[length] = '\0';
}

std::string hostText(const void* buffer)
{
    const char* text = static_cast<const char*>(buffer);
    const void* end = std::memchr(text, '\0', kLongestHostText);
    return std::string(text, end ? static_cast<const char*>(end) : text + kLongestHostText);
}

// a.bc as a * 256 + b * 16 + c: 1.03 is 0x103.
VstInt32 vendorVersion(double version)
{
    const double whole = std::floor(version);
    const double tenths = std::floor(10.0 * (version - whole));
    const double hundredths = std::floor(10.0 * (10.0 * (version - whole) - tenths));
    return static_cast<VstInt32>(whole * 256 + tenths * 16 + hundredths);
}

} // namespace

Vst2WinPlugin::Vst2WinPlugin(audioMasterCallback audioMaster, std::unique_ptr<DspInterface> dsp,
                             std::unique_ptr<GuiInterface> gui, const BankManager& programs, VstInt32 uniqueId)
    : AudioEffectX(audioMaster, programs.count(), dsp->paramCount()),
      programs_(programs),
      priorities_(dsp->paramCount()),
      dsp_(std::move(dsp)),
      gui_(std::move(gui))
{
    numberPins();
    cEffect_.uniqueID = uniqueId;
    cEffect_.flags |= effFlagsCanReplacing;
    if (dsp_->query("can_mono") != 0.0)
        cEffect_.flags |= effFlagsCanMono;
}

Vst2WinPlugin::~Vst2WinPlugin()
{
    try {
        dsp_->shutdown();
        if (gui_)
            gui_->shutdown();
    } catch (...) {
    }
}

void Vst2WinPlugin::fitProgramsToParams()
{
    for (int index = 0; index < programs_.count(); ++index) {
        ProgramSlot& program = programs_.program(index);
        const int stored = program.valueCount();
        program.setValueCount(numParams_);
        for (int param = stored; param < numParams_; ++param)
            if (NormalizedParamInterface* target = dsp_->param(param))
                program.setValue(param, target->normalized());
    }
}

void Vst2WinPlugin::numberPins()
{
    auto number = [](int groups, auto group, PinMap& map) {
        VstInt32 next = 0;
        for (int g = 0; g < groups; ++g) {
            const PinGroup* pins = group(g);
            const int channels = pins ? pins->channelCount() : 0;
            const VstInt32 first = channels > 0 ? next++ : -1;
            const VstInt32 second = channels > 1 ? next++ : -1;
            next += std::max(channels - 2, 0);
            map.emplace_back(first, second);
        }
        return next;
    };
    cEffect_.numInputs = number(dsp_->inputGroupCount(), [this](int g) { return dsp_->inputGroup(g); }, inputPins_);
    cEffect_.numOutputs = number(dsp_->outputGroupCount(), [this](int g) { return dsp_->outputGroup(g); }, outputPins_);
}

VstInt32 Vst2WinPlugin::pinOf(const PinMap& map, int group, int channel)
{
    if (group < 0 || group >= static_cast<int>(map.size()) || channel < 0 || channel > 1)
        return -1;
    const auto& pins = map[static_cast<std::size_t>(group)];
    return channel == 0 ? pins.first : pins.second;
}

VstInt32 Vst2WinPlugin::inputPin(int group, int channel) const
{
    return pinOf(inputPins_, group, channel);
}

VstInt32 Vst2WinPlugin::outputPin(int group, int channel) const
{
    return pinOf(outputPins_, group, channel);
}

void Vst2WinPlugin::init1()
{
    dsp_->init1();
    if (gui_)
        gui_->init1();
}

void Vst2WinPlugin::init2()
{
    dsp_->init2();
    // Before any host call, with the parameters at their defaults.
    fitProgramsToParams();
    // A fresh instance plays the program it reports as current, whether the host selects it or
    // not.
    if (validProgram(0)) {
        const ProgramSlot first = programs_.program(0);
        applyProgramLocked(first, ParamPriorityList::kProgramChange, true);
    }
    if (gui_)
        gui_->init2();
}

VstIntPtr Vst2WinPlugin::tailSamples()
{
    const double seconds = std::clamp(dsp_->query("tail_seconds"), 0.0, kLongestTail);
    return std::max<VstIntPtr>(std::llround(seconds * sampleRate_), kNoTail);
}

bool Vst2WinPlugin::testPriority(VstInt32 index, int priority)
{
    ParamPriority* entry = priorities_.at(index);
    return entry && entry->test(priority, sys::now_seconds());
}

void Vst2WinPlugin::releasePriority(VstInt32 index, int priority)
{
    if (ParamPriority* entry = priorities_.at(index))
        entry->release(priority);
}

bool Vst2WinPlugin::setParameterWithPriority(VstInt32 index, float value, int priority)
{
    ParamPriority* entry = priorities_.at(index);
    NormalizedParamInterface* param = dsp_->param(index);
    if (!entry || !param || std::isnan(value))
        return false;
    value = std::clamp(value, 0.0f, 1.0f);
    if (!entry->accept(priority, sys::now_seconds()))
        return false;
    takeValue(index, *param, value, priority);
    return true;
}

void Vst2WinPlugin::takeValue(VstInt32 index, NormalizedParamInterface& param, float value, int priority)
{
    const VstInt32 current = curProgram_.load(std::memory_order_relaxed);
    if (validProgram(current))
        programs_.program(current).setValue(index, value);
    param.setNormalized(value);
    if (gui_)
        gui_->paramChanged(index, value, priority);
}

std::vector<int> Vst2WinPlugin::applyProgram(const ProgramSlot& program, int priority, bool release)
{
    Applied applied;
    {
        const std::lock_guard<sys::SpinLock> lock(programLock_);
        applied = applyProgramLocked(program, priority, release);
    }
    if (applied.renamed)
        updateDisplay();
    return std::move(applied.changed);
}

Vst2WinPlugin::Applied Vst2WinPlugin::applyProgramLocked(const ProgramSlot& program, int priority, bool release)
{
    Applied applied;
    const double now = sys::now_seconds();
    const VstInt32 current = curProgram_.load(std::memory_order_relaxed);
    for (int index = 0; index < program.valueCount(); ++index) {
        ParamPriority* entry = priorities_.at(index);
        NormalizedParamInterface* param = dsp_->param(index);
        const float value = program.value(index);
        if (!entry || !param || std::isnan(value) || !entry->accept(priority, now))
            continue;
        const float taken = std::clamp(value, 0.0f, 1.0f);
        if (taken != param->normalized())
            applied.changed.push_back(index);
        takeValue(index, *param, taken, priority);
        if (release)
            entry->release(priority);
    }
    dsp_->setProgramName(program.name());
    if (validProgram(current)) {
        ProgramSlot& slot = programs_.program(current);
        applied.renamed = slot.name() != program.name();
        slot.setName(program.name());
    }
    return applied;
}

void Vst2WinPlugin::setParameter(VstInt32 index, float value)
{
    setParameterWithPriority(index, value, ParamPriorityList::kHostAutomation);
}

float Vst2WinPlugin::getParameter(VstInt32 index)
{
    NormalizedParamInterface* param = index >= 0 && index < numParams_ ? dsp_->param(index) : nullptr;
    return param ? param->normalized() : 0.0f;
}

void Vst2WinPlugin::process(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    render(inputs, outputs, sampleFrames, true);
}

void Vst2WinPlugin::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames)
{
    render(inputs, outputs, sampleFrames, false);
}

void Vst2WinPlugin::followHostTempo()
{
    HostDspInterface* host = dsp_->hostDsp();
    if (!host)
        return;
    TempoQuery query;
    query.wanted = 1;
    host->queryTempo(query);
    const float tempo = static_cast<float>(query.tempo);
    if (query.error == 0 && query.wanted != 0 && tempo != 0.0f) {
        dsp_->hostTempo(tempo);
        if (gui_)
            gui_->hostTempoChanged(tempo);
    }
}

void Vst2WinPlugin::render(float** inputs, float** outputs, VstInt32 frames, bool add)
{
    if (frames <= 0 || !outputs)
        return;
    followHostTempo();
    const bool complete = inputs && inputs[0] && inputs[1] && outputs[0] && outputs[1];
    if (complete) {
        if (add)
            dsp_->process(inputs, outputs, frames);
        else
            dsp_->processReplacing(inputs, outputs, frames);
        return;
    }
    // A channel the host left null reads as silence and writes nowhere.
    for (VstInt32 done = 0; done < frames; done += kSpareFrames) {
        const int piece = std::min<VstInt32>(kSpareFrames, frames - done);
        const float* in[2];
        float* out[2];
        for (int channel = 0; channel < 2; ++channel) {
            const float* source = inputs ? inputs[channel] : nullptr;
            in[channel] = source ? source + done : silence_.data();
            out[channel] = outputs[channel] ? outputs[channel] + done : discard_.data();
        }
        if (add)
            dsp_->process(in, out, piece);
        else
            dsp_->processReplacing(in, out, piece);
    }
}

VstIntPtr Vst2WinPlugin::pinProperties(VstInt32 pin, bool output, void* ptr)
{
    const PinMap& map = output ? outputPins_ : inputPins_;
    for (std::size_t group = 0; group < map.size(); ++group) {
        const PinGroup* pins = output ? dsp_->outputGroup(static_cast<int>(group)) : dsp_->inputGroup(static_cast<int>(group));
        for (int channel = 0; channel < 2 && pins; ++channel) {
            const VstInt32 number = channel == 0 ? map[group].first : map[group].second;
            if (number != pin || number < 0)
                continue;
            if (!ptr)
                return 0;
            auto* properties = static_cast<VstPinProperties*>(ptr);
            copyText(properties->label, pins->channelName(channel), sizeof properties->label);
            properties->flags = kVstPinIsActive | (pins->channelCount() == 2 ? kVstPinIsStereo : 0);
            return 1;
        }
    }
    return 0;
}

VstIntPtr Vst2WinPlugin::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt)
{
    const bool validParam = index >= 0 && index < numParams_;
    NormalizedParamInterface* param = validParam ? dsp_->param(index) : nullptr;
    switch (opcode) {
    case effSetProgram:
        // The host asked for it, so it hears nothing back.
        if (validProgram(value)) {
            const std::lock_guard<sys::SpinLock> lock(programLock_);
            curProgram_.store(static_cast<VstInt32>(value), std::memory_order_relaxed);
            const ProgramSlot program = programs_.program(static_cast<int>(value));
            applyProgramLocked(program, ParamPriorityList::kProgramChange, true);
        }
        return 0;
    case effGetProgram: return curProgram_.load(std::memory_order_relaxed);
    case effSetProgramName:
        if (ptr) {
            const std::string name = hostText(ptr);
            const std::lock_guard<sys::SpinLock> lock(programLock_);
            const VstInt32 current = curProgram_.load(std::memory_order_relaxed);
            if (validProgram(current)) {
                programs_.program(current).setName(name);
                dsp_->setProgramName(name);
            }
        }
        return 0;
    case effGetProgramName: {
        const std::lock_guard<sys::SpinLock> lock(programLock_);
        const VstInt32 current = curProgram_.load(std::memory_order_relaxed);
        if (validProgram(current))
            copyText(ptr, programs_.program(current).name(), kShortText);
        return 0;
    }
    case effGetProgramNameIndexed: {
        const std::lock_guard<sys::SpinLock> lock(programLock_);
        if (!ptr || !validProgram(index))
            return 0;
        copyText(ptr, programs_.program(index).name(), kShortText);
        return 1;
    }
    case effGetPlugCategory: return kPlugCategRoomFx;
    case effGetTailSize: return tailSamples();
    case effGetParamLabel:
        if (param)
            copyText(ptr, param->unitLabel(), kShortText);
        return 0;
    case effGetParamDisplay:
        if (param)
            copyText(ptr, param->text(), kShortText);
        return 0;
    case effGetParamName:
        if (param)
            copyText(ptr, param->name(), kShortText);
        return 0;
    case effSetSampleRate:
        if (!std::isnan(opt)) {
            sampleRate_ = std::clamp(opt, dsp_->lowestSampleRate(), dsp_->highestSampleRate());
            dsp_->setSampleRate(sampleRate_);
            dsp_->requestReset();
        }
        return 0;
    case effSetBlockSize:
        blockSize_ = static_cast<VstInt32>(std::clamp<VstIntPtr>(value, 0, 1 << 30));
        return 0;
    case effMainsChanged: dsp_->requestReset(); return 0;
    case effIdentify: return fourCharacterCode('N', 'v', 'E', 'f');
    case effCanBeAutomated: return !param || param->automationLevel() <= automationThreshold_ ? 1 : 0;
    case effGetNumProgramCategories: return kProgramCategories;
    case effCopyProgram: {
        const std::lock_guard<sys::SpinLock> lock(programLock_);
        const VstInt32 current = curProgram_.load(std::memory_order_relaxed);
        if (!validProgram(index) || !validProgram(current))
            return 0;
        if (index != current)
            programs_.replace(index, programs_.program(current));
        return 1;
    }
    case effConnectInput:
    case effConnectOutput: return 1;
    case effGetInputProperties: return pinProperties(index, false, ptr);
    case effGetOutputProperties: return pinProperties(index, true, ptr);
    case effGetEffectName:
        copyText(ptr, dsp_->queryText("plugin_name"), kEffectNameText);
        return ptr ? 1 : 0;
    case effGetVendorString:
        copyText(ptr, product::kVendor, kLongText);
        return ptr ? 1 : 0;
    case effGetProductString:
        copyText(ptr, std::string(product::kVendor) + " " + dsp_->queryText("plugin_name") + " " + formatFixed(dsp_->query("plugin_version"), 2),
                 kLongText);
        return ptr ? 1 : 0;
    case effGetVendorVersion: return vendorVersion(dsp_->query("plugin_version"));
    case effKeysRequired: return 1;
    case effGetVstVersion: return kVstVersion;
    case effEditGetRect: return getEditor() && getEditor()->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
    case effEditOpen: return getEditor() && getEditor()->open(ptr) ? 1 : 0;
    case effEditClose:
        if (getEditor())
            getEditor()->close();
        return 0;
    case effEditIdle:
        if (getEditor())
            getEditor()->idle();
        return 0;
    case effVendorSpecific:
        // The host's content scale for its windows, which it may announce at any time.
        if (index != kContentScaleIndex || value != kContentScaleValue)
            return 0;
        if (gui_)
            gui_->setHostScale(opt);
        return 1;
    default: return 0;
    }
}

} // namespace mppi
