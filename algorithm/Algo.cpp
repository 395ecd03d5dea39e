#include "Algo.h"

#include "HostDspInterface.h"
#include "ParamIndexes.h"
#include "ParamTable.h"
#include "ProductInfo.h"
#include "ProgramSlot.h"
#include "TailEstimate.h"
#include "params/AlgoParams.h"

#include <algorithm>
#include <cmath>

namespace {

using param_table::kGlobalRows;

} // namespace

Algo::Algo() = default;

Algo::~Algo() = default;

void Algo::setHostDsp(mppi::HostDspInterface* host)
{
    host_.reset(host);
}

void Algo::init1()
{
    mppi::TempoContext& tempo = tempoContext();
    tempo.setMode(mppi::TempoContext::kBeats);
    if (host_)
        host_->init();

    flags_ = param_table::create(kGlobalRows[param_table::kFlagsRow], 0, tempo);
    tempo_ = param_table::create(kGlobalRows[param_table::kTempoRow], 0, tempo);
    dryLevel_ = param_table::create(kGlobalRows[param_table::kDryLvlRow], 0, tempo);
    addParam(flags_);
    addParam(tempo_);
    addParam(dryLevel_);
    separation_.setup(param_table::create(kGlobalRows[param_table::kFdbkSeparationRow], 0, tempo), *this);
    flags_->setListener(this);
    tempo_->setListener(this);
    dryLevel_->setListener(this);
    separation_.setListener(this);
    hostCanTempo_ = host_ && host_->query("can_tempo") != 0.0;

    taps_.init(*this);
    for (int line = 0; line < LineMixer::kLines; ++line)
        lines_[line].init(line, *this, mixer_);
    mixer_.reset();
    controlCounter_ = 0;
}

void Algo::init2()
{
    flags_->setReal(kGlobalRows[param_table::kFlagsRow].defaultValue);
    tempo_->setReal(kGlobalRows[param_table::kTempoRow].defaultValue);
    dryLevel_->setReal(kGlobalRows[param_table::kDryLvlRow].defaultValue);
    separation_.setDefaults(kGlobalRows[param_table::kFdbkSeparationRow].defaultValue);
    separation_.tempoChanged();
    requestReset();
    taps_.setDefaults();
    for (DelayLine& line : lines_)
        line.setDefaults(twoLines_);
    mixer_.reset();
}

void Algo::setSampleRate(float sampleRate)
{
    if (std::isnan(sampleRate))
        return;
    sampleRate_ = std::clamp(sampleRate, kLowestSampleRate, kHighestSampleRate);
    separation_.setSampleRate(sampleRate_);
    taps_.setSampleRate(sampleRate_);
    for (DelayLine& line : lines_)
        line.setSampleRate(sampleRate_);
}

void Algo::setProgramName(const std::string& name)
{
    const std::lock_guard<sys::SpinLock> lock(programNameLock_);
    programName_ = name;
}

std::string Algo::programName()
{
    const std::lock_guard<sys::SpinLock> lock(programNameLock_);
    return programName_;
}

double Algo::query(const std::string& key)
{
    if (key == "can_mono")
        return 1.0;
    if (key == "plugin_version")
        return product::kVersion;
    if (key == "tail_seconds")
        return TailEstimate(*this).seconds();
    return 0.0;
}

std::string Algo::queryText(const std::string& key)
{
    return key == "plugin_name" ? "Zorvane" : "";
}

void Algo::hostTempo(float beatsPerMinute)
{
    double tempo = beatsPerMinute;
    if (!std::isfinite(tempo) || tempo <= 0.0)
        return;
    while (tempo < ParamTempo::kMin)
        tempo *= 2.0;
    while (tempo > ParamTempo::kMax)
        tempo /= 2.0;
    // The host reports its tempo with every block; only a change has anything to recompute.
    if (tempo != tempo_->real())
        tempo_->setReal(tempo);
}

void Algo::applyProgram(const mppi::ProgramSlot& program)
{
    const int count = std::min(program.valueCount(), registeredCount());
    for (int index = 0; index < count; ++index) {
        if (index == mppi::kTempoIndex && hostCanTempo_)
            continue;
        const float value = program.value(index);
        mppi::NormalizedParamInterface* target = param(index);
        if (value != target->normalized())
            target->setNormalized(value);
    }
}

void Algo::storeProgram(mppi::ProgramSlot& program)
{
    program.setValueCount(registeredCount());
    for (int index = 0; index < registeredCount(); ++index)
        program.setValue(index, param(index)->normalized());
}

void Algo::notify(mppi::NotifierInterface* source)
{
    if (source == tempo_.get())
        tempoDirty_.store(true, std::memory_order_release);
    settingsDirty_.store(true, std::memory_order_release);
}

void Algo::applySettings()
{
    settingsDirty_.store(false, std::memory_order_relaxed);
    if (mppi::takeFlag(tempoDirty_)) {
        separation_.tempoChanged();
        taps_.tempoChanged();
        // Line 2 follows the tempo while it is inactive too, so it is right when switched on.
        for (DelayLine& line : lines_)
            line.tempoChanged();
    }

    const double flags = flags_->real();
    twoLines_ = ParamFlags::isSet(flags, ParamFlags::kTwoLines);
    mixer_.setTwoLines(twoLines_);
    mixer_.setSustain(ParamFlags::isSet(flags, ParamFlags::kSustain));
    mixer_.setMute(0, ParamFlags::isSet(flags, ParamFlags::kMuteLine1));
    mixer_.setMute(1, ParamFlags::isSet(flags, ParamFlags::kMuteLine2));
    // A clear bit is a command: its line is emptied when the bit becomes set, not again at every
    // later application of the settings (a moving separation applies them at every block).
    const bool clearLine[] = {ParamFlags::isSet(flags, ParamFlags::kClearLine1),
                              ParamFlags::isSet(flags, ParamFlags::kClearLine2)};
    for (int line = 0; line < LineMixer::kLines; ++line) {
        if (clearLine[line] && !clearApplied_[line])
            lines_[line].reset();
        clearApplied_[line] = clearLine[line];
    }

    mixer_.setTapGain(static_cast<float>(dryLevel_->real()));
    mixer_.setSeparation(static_cast<float>(separation_.output()));
}

void Algo::performReset()
{
    tempoDirty_.store(true, std::memory_order_relaxed);
    applySettings();
    controlCounter_ = 0;
    separation_.restart();
    taps_.reset();
    for (DelayLine& line : lines_)
        line.reset();
    mixer_.reset();
}

void Algo::controlTick()
{
    controlCounter_ = kControlBlock;
    separation_.updateBlock(kControlBlock);
    if (settingsDirty_.load(std::memory_order_acquire))
        applySettings();
    taps_.updateBlock(kControlBlock);
    lines_[0].updateBlock(kControlBlock);
    if (twoLines_)
        lines_[1].updateBlock(kControlBlock);
    mixer_.beginBlock(kControlBlock);
}

void Algo::runLines(float* left, float* right, int frames)
{
    int done = 0;
    while (done < frames) {
        int piece = std::min(frames - done, lines_[0].maxChunk());
        if (twoLines_)
            piece = std::min(piece, lines_[1].maxChunk());
        mixer_.setTapBuffers(left + done, right + done);
        const int activeLines = twoLines_ ? LineMixer::kLines : 1;
        for (int line = 0; line < activeLines; ++line)
            mixer_.setLineWrite(line, lines_[line].writePointer());
        if (twoLines_)
            DelayLine::processBoth(lines_[0], lines_[1], piece);
        else
            lines_[0].process(piece);
        for (int line = 0; line < activeLines; ++line)
            mixer_.setLineOutput(line, lines_[line].output());
        mixer_.process(piece);
        done += piece;
    }
}

void Algo::processBlock(const float* const* inputs, float* const* outputs, int frames, bool add)
{
    if (mppi::takeFlag(resetRequested_))
        performReset();
    const bool mono = host_ && !host_->isOutputConnected(0, 1);
    // Replacing into two distinct outputs, the taps and the mixer work in them directly: the
    // input is in the history before the first output is written, so the buffers may be the
    // input's own.
    const bool direct = !add && !mono && outputs[0] != outputs[1];

    int position = 0;
    while (position < frames) {
        if (controlCounter_ == 0)
            controlTick();
        const int n = std::min(controlCounter_, frames - position);
        float* left = outputs[0] + position;
        float* right = outputs[1] + position;
        float* workLeft = direct ? left : workLeft_;
        float* workRight = direct ? right : workRight_;
        taps_.process(workLeft, workRight, inputs[0] + position, inputs[1] + position, n);
        runLines(workLeft, workRight, n);

        if (mono) {
            if (add) {
                for (int k = 0; k < n; ++k)
                    left[k] += workLeft_[k] + workRight_[k];
            } else {
                for (int k = 0; k < n; ++k)
                    left[k] = workLeft_[k] + workRight_[k];
            }
        } else if (add) {
            for (int k = 0; k < n; ++k) {
                left[k] += workLeft_[k];
                right[k] += workRight_[k];
            }
        } else if (!direct) {
            std::copy(workLeft_, workLeft_ + n, left);
            std::copy(workRight_, workRight_ + n, right);
        }
        controlCounter_ -= n;
        position += n;
    }
}

void Algo::processReplacing(const float* const* inputs, float* const* outputs, int frames)
{
    processBlock(inputs, outputs, frames, false);
}

void Algo::process(const float* const* inputs, float* const* outputs, int frames)
{
    processBlock(inputs, outputs, frames, true);
}
