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

// The steady matrices and gains of a piece's mix; an entry that ramps is read from its ramp's
// values frame by frame instead.
struct MixGains {
    float feedback[4];
    float output[4];
    float tapGain;
    float taps;
};

// A matrix ramp's four rows of values, restricted so that the mix loops vectorise.
struct Rows {
    const float* __restrict entry0;
    const float* __restrict entry1;
    const float* __restrict entry2;
    const float* __restrict entry3;
};

inline Rows rowsOf(const float (&rows)[4][kControlBlock])
{
    return {rows[0], rows[1], rows[2], rows[3]};
}

// The mix loops take their buffers as restricted parameters, so that they vectorise.
template <bool kFeedbackRamps, bool kOutputRamps>
ZORVANE_WIDE_LOOP inline void mixOneLine(const float* __restrict x1, float* __restrict y1, float* __restrict left,
                                         float* __restrict right, const Rows feedbackRamp, const Rows outputRamp,
                                         const float* __restrict tapGainRamp, const MixGains gains, int frames)
{
    for (int k = 0; k < frames; ++k) {
        const float f0 = kFeedbackRamps ? feedbackRamp.entry0[k] : gains.feedback[0];
        const float o0 = kOutputRamps ? outputRamp.entry0[k] : gains.output[0];
        const float o1 = kOutputRamps ? outputRamp.entry1[k] : gains.output[1];
        const float g = kOutputRamps ? tapGainRamp[k] : gains.tapGain;
        const float tapLeft = left[k];
        const float tapRight = right[k];
        y1[k] = f0 * x1[k] + gains.taps * (tapLeft + tapRight);
        left[k] = o0 * x1[k] + g * tapLeft;
        right[k] = o1 * x1[k] + g * tapRight;
    }
}

template <bool kFeedbackRamps, bool kOutputRamps>
ZORVANE_WIDE_LOOP inline void mixTwoLines(const float* __restrict x1, const float* __restrict x2, float* __restrict y1,
                                          float* __restrict y2, float* __restrict left, float* __restrict right,
                                          const Rows feedbackRamp, const Rows outputRamp,
                                          const float* __restrict tapGainRamp, const MixGains gains, int frames)
{
    for (int k = 0; k < frames; ++k) {
        const float f0 = kFeedbackRamps ? feedbackRamp.entry0[k] : gains.feedback[0];
        const float f1 = kFeedbackRamps ? feedbackRamp.entry1[k] : gains.feedback[1];
        const float f2 = kFeedbackRamps ? feedbackRamp.entry2[k] : gains.feedback[2];
        const float f3 = kFeedbackRamps ? feedbackRamp.entry3[k] : gains.feedback[3];
        const float o0 = kOutputRamps ? outputRamp.entry0[k] : gains.output[0];
        const float o1 = kOutputRamps ? outputRamp.entry1[k] : gains.output[1];
        const float o2 = kOutputRamps ? outputRamp.entry2[k] : gains.output[2];
        const float o3 = kOutputRamps ? outputRamp.entry3[k] : gains.output[3];
        const float g = kOutputRamps ? tapGainRamp[k] : gains.tapGain;
        const float tapLeft = left[k];
        const float tapRight = right[k];
        y1[k] = f0 * x1[k] + f2 * x2[k] + gains.taps * tapLeft;
        y2[k] = f1 * x1[k] + f3 * x2[k] + gains.taps * tapRight;
        left[k] = o0 * x1[k] + o2 * x2[k] + g * tapLeft;
        right[k] = o1 * x1[k] + o3 * x2[k] + g * tapRight;
    }
}

// The ramps first write their values frame by frame (their running sums advance across the
// pieces of a control block); then one pass over the frames writes the lines' inputs and the
// output, a loop without running sums.
template <bool kFeedbackRamps, bool kOutputRamps>
inline void LineMixer::run(int frames)
{
    // The ramps' running sums advance side by side, a matrix's four entries in the lanes of one
    // register, so that their additions overlap.
    __m128 feedback = _mm_loadu_ps(feedback_.running);
    __m128 output = _mm_loadu_ps(output_.running);
    __m128 tapGain = _mm_set_ss(tapGainRunning_);
    const __m128 feedbackStep = _mm_loadu_ps(feedback_.increment);
    const __m128 outputStep = _mm_loadu_ps(output_.increment);
    const __m128 tapGainStep = _mm_set_ss(tapGainIncrement_);
    // Four frames' values at a time, turned from a register per frame into a row per entry.
    const auto storeRows = [](float (&rows)[4][kControlBlock], int k, __m128 a, __m128 b, __m128 c,
                              __m128 d) ZORVANE_WIDE_LOOP {
        _MM_TRANSPOSE4_PS(a, b, c, d);
        _mm_storeu_ps(rows[0] + k, a);
        _mm_storeu_ps(rows[1] + k, b);
        _mm_storeu_ps(rows[2] + k, c);
        _mm_storeu_ps(rows[3] + k, d);
    };
    const auto storeColumn = [](float (&rows)[4][kControlBlock], int k, __m128 values) ZORVANE_WIDE_LOOP {
        alignas(16) float entries[4];
        _mm_store_ps(entries, values);
        for (int entry = 0; entry < 4; ++entry)
            rows[entry][k] = entries[entry];
    };
    int k = 0;
    for (; k + 4 <= frames && (kFeedbackRamps || kOutputRamps); k += 4) {
        if constexpr (kFeedbackRamps) {
            __m128 frame[4];
            for (__m128& values : frame) {
                values = feedback;
                feedback = _mm_add_ps(feedback, feedbackStep);
            }
            storeRows(feedbackRamp_, k, frame[0], frame[1], frame[2], frame[3]);
        }
        if constexpr (kOutputRamps) {
            __m128 frame[4];
            for (int i = 0; i < 4; ++i) {
                frame[i] = output;
                _mm_store_ss(tapGainRamp_ + k + i, tapGain);
                output = _mm_add_ps(output, outputStep);
                tapGain = _mm_add_ss(tapGain, tapGainStep);
            }
            storeRows(outputRamp_, k, frame[0], frame[1], frame[2], frame[3]);
        }
    }
    for (; k < frames && (kFeedbackRamps || kOutputRamps); ++k) {
        if constexpr (kFeedbackRamps) {
            storeColumn(feedbackRamp_, k, feedback);
            feedback = _mm_add_ps(feedback, feedbackStep);
        }
        if constexpr (kOutputRamps) {
            storeColumn(outputRamp_, k, output);
            _mm_store_ss(tapGainRamp_ + k, tapGain);
            output = _mm_add_ps(output, outputStep);
            tapGain = _mm_add_ss(tapGain, tapGainStep);
        }
    }
    if constexpr (kFeedbackRamps)
        _mm_storeu_ps(feedback_.running, feedback);
    if constexpr (kOutputRamps) {
        _mm_storeu_ps(output_.running, output);
        tapGainRunning_ = _mm_cvtss_f32(tapGain);
    }
    MixGains gains;
    for (int entry = 0; entry < 4; ++entry) {
        gains.feedback[entry] = feedback_.current[entry];
        gains.output[entry] = output_.current[entry];
    }
    gains.tapGain = tapGain_;
    // Sustain leaves the taps out of the lines.
    gains.taps = sustain_ ? 0.0f : 1.0f;
    if (twoLines_)
        mixTwoLines<kFeedbackRamps, kOutputRamps>(lines_[0].output, lines_[1].output, lines_[0].input, lines_[1].input,
                                                  tapLeft_, tapRight_, rowsOf(feedbackRamp_), rowsOf(outputRamp_),
                                                  tapGainRamp_, gains, frames);
    else
        mixOneLine<kFeedbackRamps, kOutputRamps>(lines_[0].output, lines_[0].input, tapLeft_, tapRight_,
                                                 rowsOf(feedbackRamp_), rowsOf(outputRamp_), tapGainRamp_, gains, frames);
}
