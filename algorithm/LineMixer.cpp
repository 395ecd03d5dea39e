#include "LineMixer.h"

#include "ControlBlock.h"

#include <emmintrin.h>

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

void LineMixer::process(int frames)
{
    // Sustain uses the committed feedback matrix: nothing new enters the lines.
    const bool feedbackRamps = rampThisBlock_ && !sustain_;
    mppi::wide_loops::run([&]() ZORVANE_WIDE_LOOP {
        if (feedbackRamps)
            run<true, true>(frames);
        else if (rampThisBlock_)
            run<false, true>(frames);
        else
            run<false, false>(frames);
    });
}

// One pass writes the lines' inputs and the output, so the ramps' running sums advance side by
// side. The steady loops carry no running sums, so they vectorise; the ramps add their steps
// sample by sample, across the pieces of a control block.
template <bool kFeedbackRamps, bool kOutputRamps>
inline void LineMixer::run(int frames)
{
    const float* __restrict x1 = lines_[0].output;
    const float* __restrict x2 = lines_[1].output;
    float* __restrict y1 = lines_[0].input;
    float* __restrict y2 = lines_[1].input;
    float* __restrict left = tapLeft_;
    float* __restrict right = tapRight_;
    // Sustain leaves the taps out of the lines.
    const float taps = sustain_ ? 0.0f : 1.0f;
    float* f = kFeedbackRamps ? feedback_.running : feedback_.current;
    float f0 = f[0], f1 = f[1], f2 = f[2], f3 = f[3];
    const float* fStep = feedback_.increment;
    const float fs0 = fStep[0], fs1 = fStep[1], fs2 = fStep[2], fs3 = fStep[3];
    float* o = kOutputRamps ? output_.running : output_.current;
    float o0 = o[0], o1 = o[1], o2 = o[2], o3 = o[3];
    const float* oStep = output_.increment;
    const float os0 = oStep[0], os1 = oStep[1], os2 = oStep[2], os3 = oStep[3];
    float g = kOutputRamps ? tapGainRunning_ : tapGain_;
    const float gStep = tapGainIncrement_;

    if (!twoLines_) {
        for (int k = 0; k < frames; ++k) {
            const float tapLeft = left[k];
            const float tapRight = right[k];
            y1[k] = f0 * x1[k] + taps * (tapLeft + tapRight);
            left[k] = o0 * x1[k] + g * tapLeft;
            right[k] = o1 * x1[k] + g * tapRight;
            if constexpr (kFeedbackRamps)
                f0 += fs0;
            if constexpr (kOutputRamps) {
                o0 += os0;
                o1 += os1;
                g += gStep;
            }
        }
    } else if constexpr (kFeedbackRamps || kOutputRamps) {
        rampTwoLines<kFeedbackRamps, kOutputRamps>(frames);
        return;
    } else {
        for (int k = 0; k < frames; ++k) {
            const float tapLeft = left[k];
            const float tapRight = right[k];
            y1[k] = f0 * x1[k] + f2 * x2[k] + taps * tapLeft;
            y2[k] = f1 * x1[k] + f3 * x2[k] + taps * tapRight;
            left[k] = o0 * x1[k] + o2 * x2[k] + g * tapLeft;
            right[k] = o1 * x1[k] + o3 * x2[k] + g * tapRight;
            if constexpr (kFeedbackRamps) {
                f0 += fs0;
                f1 += fs1;
                f2 += fs2;
                f3 += fs3;
            }
            if constexpr (kOutputRamps) {
                o0 += os0;
                o1 += os1;
                o2 += os2;
                o3 += os3;
                g += gStep;
            }
        }
    }
    if constexpr (kFeedbackRamps) {
        f[0] = f0;
        f[1] = f1;
        f[2] = f2;
        f[3] = f3;
    }
    if constexpr (kOutputRamps) {
        o[0] = o0;
        o[1] = o1;
        o[2] = o2;
        o[3] = o3;
        tapGainRunning_ = g;
    }
}

// Two lines while a matrix ramps: the matrices' four entries in the lanes of a register each,
// so that a frame's ramps advance in one addition per matrix. Each lane does what the plain
// loop does, in its order: y1 = f0 x1 + f2 x2 + taps l, y2 = f1 x1 + f3 x2 + taps r, and the
// same with o0-o3 and the tap gain for the outputs.
template <bool kFeedbackRamps, bool kOutputRamps>
void LineMixer::rampTwoLines(int frames)
{
    const float* x1 = lines_[0].output;
    const float* x2 = lines_[1].output;
    float* y1 = lines_[0].input;
    float* y2 = lines_[1].input;
    float* left = tapLeft_;
    float* right = tapRight_;
    const __m128 taps = _mm_set1_ps(sustain_ ? 0.0f : 1.0f);
    float* f = kFeedbackRamps ? feedback_.running : feedback_.current;
    float* o = kOutputRamps ? output_.running : output_.current;
    __m128 feedback = _mm_loadu_ps(f);
    __m128 output = _mm_loadu_ps(o);
    __m128 tapGain = _mm_set1_ps(kOutputRamps ? tapGainRunning_ : tapGain_);
    const __m128 feedbackStep = _mm_loadu_ps(feedback_.increment);
    const __m128 outputStep = _mm_loadu_ps(output_.increment);
    const __m128 tapGainStep = _mm_set1_ps(tapGainIncrement_);
    for (int k = 0; k < frames; ++k) {
        const __m128 lines = _mm_unpacklo_ps(_mm_load_ss(x1 + k), _mm_load_ss(x2 + k));
        // [x1 x1 x2 x2] and the taps' [l r - -].
        const __m128 spread = _mm_unpacklo_ps(lines, lines);
        const __m128 tapPair = _mm_unpacklo_ps(_mm_load_ss(left + k), _mm_load_ss(right + k));
        const __m128 fed = _mm_mul_ps(feedback, spread);
        const __m128 heard = _mm_mul_ps(output, spread);
        const __m128 inputs = _mm_add_ps(_mm_add_ps(fed, _mm_movehl_ps(fed, fed)), _mm_mul_ps(taps, tapPair));
        const __m128 outputs = _mm_add_ps(_mm_add_ps(heard, _mm_movehl_ps(heard, heard)), _mm_mul_ps(tapGain, tapPair));
        _mm_store_ss(y1 + k, inputs);
        _mm_store_ss(y2 + k, _mm_shuffle_ps(inputs, inputs, 1));
        _mm_store_ss(left + k, outputs);
        _mm_store_ss(right + k, _mm_shuffle_ps(outputs, outputs, 1));
        if constexpr (kFeedbackRamps)
            feedback = _mm_add_ps(feedback, feedbackStep);
        if constexpr (kOutputRamps) {
            output = _mm_add_ps(output, outputStep);
            tapGain = _mm_add_ps(tapGain, tapGainStep);
        }
    }
    if constexpr (kFeedbackRamps)
        _mm_storeu_ps(f, feedback);
    if constexpr (kOutputRamps) {
        _mm_storeu_ps(o, output);
        tapGainRunning_ = _mm_cvtss_f32(tapGain);
    }
}
