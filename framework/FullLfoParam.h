#pragma once

#include "LfoGenerator.h"
#include "LinearRamp.h"
#include "LockFreeAtomics.h"
#include "NotifiedInterface.h"
#include "NotifierInterface.h"
#include "ParamLfoDepth.h"
#include "ParamLfoPer.h"
#include "ParamLfoWf.h"
#include "PluginInternal.h"

#include <atomic>
#include <memory>

namespace mppi {

// One modulated parameter: a base parameter, its LFO period, depth and waveform parameters at
// the three following registry indexes, an oscillator, a ramp for the base value and the
// modulated output that the signal processing reads. `Modifier::apply(b, v, d)` combines base,
// oscillator output and depth and clamps the result.
//
// The four parameters may change on any thread; their notifications only set flags. Everything
// else runs on the audio thread, once per control block.
template <class Modifier, int Sync>
class FullLfoParam : public NotifiedInterface, public NotifierInterface {
public:
    // Default LFO period in beats.
    static constexpr double kDefaultPeriod = 1.0;

    // The owner, told whenever the output may have changed.
    void setListener(NotifiedInterface* listener) { listener_ = listener; }

    // Creates the LFO parameters for an initialised base parameter, adds base, period, depth
    // and waveform to the registry in this order and computes the first output.
    void setup(std::shared_ptr<NormalizedParamInterface> base, PluginInternal& registry)
    {
        tempo_ = &registry.tempoContext();
        base_ = std::move(base);
        period_ = std::make_shared<ParamLfoPer<Sync>>(*tempo_);
        depth_ = std::make_shared<ParamLfoDepth>();
        waveform_ = std::make_shared<ParamLfoWf>();
        const std::string name = base_->name();
        const int level = base_->automationLevel();
        period_->init(kDefaultPeriod, level, name);
        depth_->init(0.0, level, name);
        waveform_->init(0.0, level, name);
        registry.addParam(base_);
        registry.addParam(period_);
        registry.addParam(depth_);
        registry.addParam(waveform_);
        base_->setListener(this);
        period_->setListener(this);
        depth_->setListener(this);
        waveform_->setListener(this);

        reloadSettings();
        ramp_.setRampTime(0.0f);
        ramp_.setTarget(static_cast<float>(base_->real()));
        computeOutput();
    }

    // Once per control block of `samples`: picks up changed settings, moves the ramp and the
    // oscillator to the end of the block and recomputes the output.
    void updateBlock(int samples)
    {
        takeBaseTarget();
        bool recompute = mppi::takeFlag(dirty_);
        if (recompute)
            reloadSettings();
        ramp_.advance(samples);
        if (generator_.depth() > 0.0f) {
            generator_.advance(samples);
            recompute = true;
        } else if (ramp_.current() != output_) {
            recompute = true;
        }
        if (recompute) {
            computeOutput();
            tellListener();
        }
    }

    // Snaps the base to its target, restarts the oscillator and recomputes the output.
    void restart()
    {
        takeBaseTarget();
        ramp_.snap();
        generator_.reset();
        if (mppi::takeFlag(dirty_))
            reloadSettings();
        computeOutput();
        tellListener();
    }

    // Back to the defaults: the base at `baseValue`, a period of one beat, depth 0, "Sine";
    // the base snaps to its value and the oscillator restarts.
    void setDefaults(double baseValue)
    {
        base_->setReal(baseValue);
        period_->setReal(kDefaultPeriod);
        depth_->setReal(0.0);
        waveform_->setReal(0.0);
        restart();
    }

    // The tempo changed: the period in seconds follows at once, the phase continues.
    void tempoChanged()
    {
        generator_.setPeriod(tempo_->beatsToSeconds(period_->real()));
        generator_.setup();
    }

    void setSampleRate(float sampleRate)
    {
        generator_.setSampleRate(sampleRate);
        generator_.setup();
        ramp_.setSampleRate(sampleRate);
    }

    // Smoothing time of the base value; 0 follows the base at once.
    void setRampTime(float seconds) { ramp_.setRampTime(seconds); }

    double output() const { return output_; }

    const std::shared_ptr<NormalizedParamInterface>& base() const { return base_; }
    const std::shared_ptr<ParamLfoPer<Sync>>& period() const { return period_; }
    const std::shared_ptr<ParamLfoDepth>& depth() const { return depth_; }
    const std::shared_ptr<ParamLfoWf>& waveform() const { return waveform_; }
    const LfoGenerator& generator() const { return generator_; }

    void notify(NotifierInterface* source) override
    {
        if (source == base_.get())
            baseMoved_.store(true, std::memory_order_release);
        dirty_.store(true, std::memory_order_release);
        tellListener();
    }

private:
    void takeBaseTarget()
    {
        if (mppi::takeFlag(baseMoved_))
            ramp_.setTarget(static_cast<float>(base_->real()));
    }

    void reloadSettings()
    {
        generator_.setType(LfoGenerator::typeOf(waveform_->real()));
        generator_.setPeriod(tempo_->beatsToSeconds(period_->real()));
        generator_.setup();
        generator_.setDepth(static_cast<float>(depth_->real()));
    }

    void computeOutput()
    {
        const float depth = generator_.depth();
        output_ = depth > 0.0f ? Modifier::apply(ramp_.current(), generator_.output(), depth) : ramp_.current();
    }

    void tellListener()
    {
        if (listener_)
            listener_->notify(this);
    }

    NotifiedInterface* listener_ = nullptr;
    TempoContext* tempo_ = nullptr;
    std::shared_ptr<NormalizedParamInterface> base_;
    std::shared_ptr<ParamLfoDepth> depth_;
    std::shared_ptr<ParamLfoPer<Sync>> period_;
    std::shared_ptr<ParamLfoWf> waveform_;
    LfoGenerator generator_;
    LinearRamp ramp_;
    double output_ = 0.0;
    // Set by notifications from any thread, taken by the audio thread.
    std::atomic<bool> dirty_{false};
    std::atomic<bool> baseMoved_{false};
};

} // namespace mppi
