#pragma once

#include "ControlBlock.h"
#include "DelayLine.h"
#include "DspInterface.h"
#include "FullLfoParam.h"
#include "LfoModifiers.h"
#include "LineMixer.h"
#include "LockFreeAtomics.h"
#include "NotifiedInterface.h"
#include "ParamIndexes.h"
#include "PinGroup.h"
#include "PluginInternal.h"
#include "SpinLock.h"
#include "StereoTapDelay.h"

#include <atomic>
#include <memory>
#include <string>

namespace mppi {
class HostDspInterface;
}

// The whole signal processor: four predelay taps, two delay lines and the mixer, with the
// global parameters and the block loop. Every 256 samples (the control tick, independent of
// the host's block size) it takes changed settings, advances every LFO and recomputes the
// coefficients; in between the taps, the lines and the mixer run sample by sample.
class Algo : public mppi::DspInterface,
             public mppi::NotifiedInterface,
             public mppi::NotifierInterface,
             public mppi::PluginInternal {
public:
    struct FdbkSepModifier : mppi::OffsetModifier<FdbkSepModifier> {
        static constexpr double kLow = 0.0, kHigh = 1.0;
    };

    static constexpr int kParamCount = mppi::kParamCount;
    static constexpr float kLowestSampleRate = 4000.0f;
    static constexpr float kHighestSampleRate = 384000.0f;

    Algo();
    ~Algo() override;

    void init1() override;
    void init2() override;
    void shutdown() override {}
    mppi::HostDspInterface* hostDsp() override { return host_.get(); }
    void setHostDsp(mppi::HostDspInterface* host) override;
    mppi::GuiInterface* gui() override { return gui_; }
    void setGui(mppi::GuiInterface* gui) override { gui_ = gui; }
    int inputGroupCount() override { return 1; }
    const mppi::PinGroup* inputGroup(int group) override { return group == 0 ? &input_ : nullptr; }
    int outputGroupCount() override { return 1; }
    const mppi::PinGroup* outputGroup(int group) override { return group == 0 ? &output_ : nullptr; }
    float lowestSampleRate() override { return kLowestSampleRate; }
    float highestSampleRate() override { return kHighestSampleRate; }
    // Rates outside 4000 to 384000 Hz are clamped; a rate that is not a number is ignored.
    void setSampleRate(float sampleRate) override;
    int paramCount() override { return kParamCount; }
    mppi::NormalizedParamInterface* param(int index) override { return registered(index); }
    void setProgramName(const std::string& name) override;
    std::string programName() override;
    double query(const std::string& key) override;
    std::string queryText(const std::string& key) override;
    void requestReset() override { resetRequested_.store(true, std::memory_order_release); }
    // Folds the tempo into 60 to 240 BPM by octaves; a tempo that is not finite and positive
    // is ignored.
    void hostTempo(float beatsPerMinute) override;
    void applyProgram(const mppi::ProgramSlot& program) override;
    void storeProgram(mppi::ProgramSlot& program) override;
    void processReplacing(const float* const* inputs, float* const* outputs, int frames) override;
    void process(const float* const* inputs, float* const* outputs, int frames) override;

    void notify(mppi::NotifierInterface* source) override;

    float sampleRate() const { return sampleRate_; }
    const StereoTapDelay& taps() const { return taps_; }
    const DelayLine& line(int number) const { return lines_[number]; }
    const LineMixer& mixer() const { return mixer_; }

private:
    void processBlock(const float* const* inputs, float* const* outputs, int frames, bool add);
    void performReset();
    void applySettings();
    void controlTick();
    // The lines and the mixer over `frames` frames of the tap signal in `left` and `right`,
    // which then hold the output.
    void runLines(float* left, float* right, int frames);

    std::unique_ptr<mppi::HostDspInterface> host_;
    mppi::GuiInterface* gui_ = nullptr;
    std::shared_ptr<mppi::NormalizedParamInterface> flags_;
    std::shared_ptr<mppi::NormalizedParamInterface> tempo_;
    std::shared_ptr<mppi::NormalizedParamInterface> dryLevel_;
    mppi::FullLfoParam<FdbkSepModifier, 1> separation_;
    std::atomic<bool> settingsDirty_{false};
    std::atomic<bool> tempoDirty_{false};
    bool twoLines_ = false;
    // Each line's clear bit as last applied.
    bool clearApplied_[LineMixer::kLines] = {};
    bool hostCanTempo_ = false;
    StereoTapDelay taps_;
    DelayLine lines_[LineMixer::kLines];
    LineMixer mixer_;
    float sampleRate_ = 44100.0f;
    int controlCounter_ = 0;
    float workLeft_[kControlBlock] = {};
    float workRight_[kControlBlock] = {};
    std::atomic<bool> resetRequested_{false};
    mppi::PinGroup input_{"Input", {"Left input", "Right input"}};
    mppi::PinGroup output_{"Output", {"Left output", "Right output"}};
    // The name is set and read by the host's threads and the editor's, never by the audio thread.
    sys::SpinLock programNameLock_;
    std::string programName_;
};
