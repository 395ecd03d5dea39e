#include "LineMixer.h"

#include "ControlBlock.h"

LineMixer::LineMixer()
{
    lines_[0].pan = lines_[0].pendingPan = -1.0f;
    lines_[1].pan = lines_[1].pendingPan = 1.0f;
}

void LineMixer::setPending(float& pending, float value)
{
    if (pending != value) {
        pending = value;
        dirty_ = true;
    }
}

void LineMixer::setFeedback(int line, float value)
{
    setPending(lines_[line].pendingFeedback, value);
}

void LineMixer::setLevel(int line, float value)
{
    setPending(lines_[line].pendingLevel, value);
}

void LineMixer::setPan(int line, float value)
{
    setPending(lines_[line].pendingPan, value);
}

void LineMixer::setTapGain(float value)
{
    setPending(pendingTapGain_, value);
}

void LineMixer::setSeparation(float value)
{
    setPending(pendingSeparation_, value);
}

void LineMixer::setTwoLines(bool twoLines)
{
    twoLines_ = twoLines;
    dirty_ = true;
}

void LineMixer::setSustain(bool sustain)
{
    sustain_ = sustain;
    dirty_ = true;
}

void LineMixer::setMute(int line, bool mute)
{
    mute_[line] = mute;
    dirty_ = true;
}

void LineMixer::setTapBuffers(float* left, float* right)
{
    tapLeft_ = left;
    tapRight_ = right;
}

void LineMixer::setLineWrite(int line, float* input)
{
    lines_[line].input = input;
}

void LineMixer::setLineOutput(int line, const float* output)
{
    lines_[line].output = output;
}

void LineMixer::beginBlock(int samples)
{
    tapGainRunning_ = tapGain_;
    rampThisBlock_ = false;
    if (dirty_) {
        commit(samples);
        rampThisBlock_ = true;
        dirty_ = false;
    }
}

void LineMixer::reset()
{
    commit(kControlBlock);
    dirty_ = false;
    rampThisBlock_ = false;
    tapGainRunning_ = tapGain_;
}

void LineMixer::commit(int samples)
{
    tapGain_ = pendingTapGain_;
    separation_ = pendingSeparation_;
    float feedback[kLines];
    float level[kLines];
    for (int i = 0; i < kLines; ++i) {
        Line& line = lines_[i];
        line.feedback = line.pendingFeedback;
        line.level = line.pendingLevel;
        line.pan = line.pendingPan;
        feedback[i] = sustain_ ? 1.0f : line.feedback;
        level[i] = mute_[i] ? 0.0f : line.level;
    }
    if (sustain_)
        tapGain_ = 0.0f;

    for (int i = 0; i < 4; ++i) {
        feedback_.running[i] = feedback_.current[i];
        output_.running[i] = output_.current[i];
    }

    float* f = feedback_.current;
    if (twoLines_) {
        f[0] = (1.0f - separation_) * feedback[0];
        f[1] = separation_ * feedback[0];
        f[2] = separation_ * feedback[1];
        f[3] = (1.0f - separation_) * feedback[1];
    } else {
        f[0] = feedback[0];
        f[1] = f[2] = f[3] = 0.0f;
    }

    // Linear pan law per line.
    const float a = (lines_[0].pan + 1.0f) / 2.0f;
    const float b = (lines_[1].pan + 1.0f) / 2.0f;
    const float o0 = (1.0f - a) * level[0];
    const float o1 = a * level[0];
    const float o2 = (1.0f - b) * level[1];
    const float o3 = b * level[1];
    float* o = output_.current;
    o[0] = f[0] * o0 + f[1] * o2;
    o[1] = f[0] * o1 + f[1] * o3;
    o[2] = f[2] * o0 + f[3] * o2;
    o[3] = f[2] * o1 + f[3] * o3;

    const float length = static_cast<float>(samples);
    for (int i = 0; i < 4; ++i) {
        feedback_.increment[i] = (feedback_.current[i] - feedback_.running[i]) / length;
        output_.increment[i] = (output_.current[i] - output_.running[i]) / length;
    }
    tapGainIncrement_ = (tapGain_ - tapGainRunning_) / length;
}

void LineMixer::write(int frames)
{
    // Sustain uses the committed matrix and leaves the taps out: nothing new enters the lines.
    if (rampThisBlock_ && !sustain_)
        writeLines<true>(frames);
    else
        writeLines<false>(frames);
}

void LineMixer::mix(int frames)
{
    if (rampThisBlock_)
        mixLines<true>(frames);
    else
        mixLines<false>(frames);
}

// The steady loops carry no running sums, so they vectorise; the ramps add their steps sample by
// sample, across the pieces of a control block.
template <bool kRamping>
void LineMixer::writeLines(int frames)
{
    const float* x1 = lines_[0].output;
    float* y1 = lines_[0].input;
    const float* left = tapLeft_;
    const float* right = tapRight_;
    const float taps = sustain_ ? 0.0f : 1.0f;
    float* f = kRamping ? feedback_.running : feedback_.current;
    float f0 = f[0], f1 = f[1], f2 = f[2], f3 = f[3];
    const float* step = feedback_.increment;
    const float s0 = step[0], s1 = step[1], s2 = step[2], s3 = step[3];

    if (!twoLines_) {
        for (int k = 0; k < frames; ++k) {
            y1[k] = f0 * x1[k] + taps * (left[k] + right[k]);
            if constexpr (kRamping)
                f0 += s0;
        }
    } else {
        const float* x2 = lines_[1].output;
        float* y2 = lines_[1].input;
        for (int k = 0; k < frames; ++k) {
            y1[k] = f0 * x1[k] + f2 * x2[k] + taps * left[k];
            y2[k] = f1 * x1[k] + f3 * x2[k] + taps * right[k];
            if constexpr (kRamping) {
                f0 += s0;
                f1 += s1;
                f2 += s2;
                f3 += s3;
            }
        }
    }
    if constexpr (kRamping) {
        f[0] = f0;
        f[1] = f1;
        f[2] = f2;
        f[3] = f3;
    }
}

template <bool kRamping>
void LineMixer::mixLines(int frames)
{
    const float* x1 = lines_[0].output;
    const float* x2 = lines_[1].output;
    float* left = tapLeft_;
    float* right = tapRight_;
    float* o = kRamping ? output_.running : output_.current;
    float o0 = o[0], o1 = o[1], o2 = o[2], o3 = o[3];
    float g = kRamping ? tapGainRunning_ : tapGain_;
    const float* step = output_.increment;
    const float s0 = step[0], s1 = step[1], s2 = step[2], s3 = step[3];
    const float gStep = tapGainIncrement_;

    if (twoLines_) {
        for (int k = 0; k < frames; ++k) {
            left[k] = o0 * x1[k] + o2 * x2[k] + g * left[k];
            right[k] = o1 * x1[k] + o3 * x2[k] + g * right[k];
            if constexpr (kRamping) {
                o0 += s0;
                o1 += s1;
                o2 += s2;
                o3 += s3;
                g += gStep;
            }
        }
    } else {
        for (int k = 0; k < frames; ++k) {
            left[k] = o0 * x1[k] + g * left[k];
            right[k] = o1 * x1[k] + g * right[k];
            if constexpr (kRamping) {
                o0 += s0;
                o1 += s1;
                g += gStep;
            }
        }
    }
    if constexpr (kRamping) {
        o[0] = o0;
        o[1] = o1;
        o[2] = o2;
        o[3] = o3;
        tapGainRunning_ = g;
    }
}
