#pragma once

#include "ControlBlock.h"
#include "WideLoops.h"

// Feeds the delay lines and builds the output. The feedback matrix F takes the lines' outputs
// back into their inputs (one line: F0 only; two lines: cross-fed by the separation), and the
// output matrix O sends the fed-back signal through each line's level and pan to the outputs,
// where the tap signal joins it with the "Predly lvl" gain. New values are committed once per
// control block and ramp linearly over its samples.
class LineMixer {
public:
    static constexpr int kLines = 2;

    LineMixer();

    // Pending values, taken at the next control block. A value equal to the pending one
    // changes nothing.
    void setFeedback(int line, float value);
    void setLevel(int line, float value);
    void setPan(int line, float value);
    void setTapGain(float value);
    void setSeparation(float value);
    void setTwoLines(bool twoLines);
    void setSustain(bool sustain);
    void setMute(int line, bool mute);

    // Buffers of the next write and mix: the tap signals (which also receive the output), each
    // line's input position in its buffer and each line's output block.
    void setTapBuffers(float* left, float* right)
    {
        tapLeft_ = left;
        tapRight_ = right;
    }
    void setLineWrite(int line, float* input) { lines_[line].input = input; }
    void setLineOutput(int line, const float* output) { lines_[line].output = output; }

    // Once per control block of `samples`, after the lines' updates: starts the ramps to the
    // pending values, which arrive at the block's end.
    void beginBlock(int samples);
    // Takes the pending values at once, with nothing left to ramp.
    void reset();

    // Writes `frames` line input samples (the taps plus the fed-back line outputs) and the
    // output frames over the tap buffers.
    void process(int frames);

    // Current matrices, for inspection.
    const float* feedbackMatrix() const { return feedback_.current; }
    const float* outputMatrix() const { return output_.current; }
    float tapGain() const { return tapGain_; }

private:
    struct Matrix {
        // The committed target, the value the ramp has reached, and its step per sample.
        float current[4] = {};
        float running[4] = {};
        float increment[4] = {};
    };
    struct Line {
        float feedback = 0.0f;
        float pendingFeedback = 0.0f;
        float level = 0.0f;
        float pendingLevel = 0.0f;
        float pan = 0.0f;
        float pendingPan = 0.0f;
        float* input = nullptr;
        const float* output = nullptr;
    };

    void commit(int samples);
    template <bool kFeedbackRamps, bool kOutputRamps>
    ZORVANE_WIDE_LOOP void run(int frames);
    void setPending(float& pending, float value);

    Matrix feedback_;
    Matrix output_;
    Line lines_[kLines];
    float* tapLeft_ = nullptr;
    float* tapRight_ = nullptr;
    float tapGain_ = 0.0f;
    float tapGainRunning_ = 0.0f;
    float pendingTapGain_ = 1.0f;
    float tapGainIncrement_ = 0.0f;
    float separation_ = 0.0f;
    float pendingSeparation_ = 0.0f;
    bool twoLines_ = false;
    bool dirty_ = false;
    bool rampThisBlock_ = false;
    bool sustain_ = false;
    bool mute_[kLines] = {false, false};
    // The ramps' values over a piece, frame by frame, a row per matrix entry, so that the mix
    // reads each entry's values in order.
    float feedbackRamp_[4][kControlBlock] = {};
    float outputRamp_[4][kControlBlock] = {};
    float tapGainRamp_[kControlBlock] = {};
};
