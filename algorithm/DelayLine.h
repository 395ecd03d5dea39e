#pragma once

#include "ControlBlock.h"
#include "DelayMotion.h"
#include "DistortionStage.h"
#include "FilterStage.h"
#include "FullLfoParam.h"
#include "LfoModifiers.h"
#include "LockFreeAtomics.h"
#include "ShelfStage.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

class LineMixer;

// A recirculating delay: the mixer writes the line's input into a ring buffer, the line reads it
// back after its delay through its filter, distortion and shelf stages. A changed delay glides
// over the control block when the move is small (the read slides, bending the pitch) and
// otherwise cross-fades the buffer around the new read position once, so nothing clicks.
class DelayLine : public mppi::NotifiedInterface, public mppi::NotifierInterface {
public:
    struct PanModifier : mppi::PanSpreadModifier {};
    struct TimeModifier : mppi::ScaledModifier<TimeModifier> {
        static constexpr double kLow = 1.0 / 128.0, kHigh = 4.0;
    };
    struct FdbkModifier : mppi::OffsetModifier<FdbkModifier> {
        static constexpr double kLow = 0.0, kHigh = 1.0;
    };

    // Creates and registers the line's 33 parameters and sizes the buffer.
    void init(int lineNumber, mppi::PluginInternal& registry, LineMixer& mixer);
    // Defaults; with two lines active, line 1 is panned hard left and line 2 hard right.
    void setDefaults(bool twoLines);
    // Clears the buffer, restarts the LFOs and takes the current settings at once.
    void reset();
    void setSampleRate(float sampleRate);
    // The periods follow the new tempo; the delay moves at the next control block.
    void tempoChanged();
    void updateBlock(int samples);

    // The longest piece that can be processed now: no read or write crosses the buffer's end
    // and nothing written in the piece is read back in it.
    int maxChunk() const;
    // Where the mixer writes the line's input for the next piece.
    float* writePointer() { return buffer_.data() + writeIndex_; }
    // Processes `frames` samples (at most `maxChunk`) and answers the output block.
    const float* process(int frames);
    // Processes two lines' pieces of `frames` samples together, so that their stages'
    // recursions overlap; each line's output is the one it gives alone. Then `output` holds it.
    static void processBoth(DelayLine& first, DelayLine& second, int frames);
    const float* output() const { return output_; }

    int targetDelay() const { return targetDelay_; }
    int currentDelay() const { return currentDelay_; }
    int maxDelay() const { return maxDelay_; }
    std::uint32_t bufferLength() const { return mask_ + 1; }

    void notify(mppi::NotifierInterface* source) override;

private:
    void apply();
    void sizeBuffer();
    void clearBuffer();
    void restartGroups();
    void blendBuffer();
    // The piece's samples from the buffer, unfiltered, into the output block.
    void readPiece(int frames);
    void endPiece(int frames);
    // The filter, distortion and shelf over the piece read: a pipeline where the distortion shapes.
    void runStages(int frames);
    // Copies the ring's first sample into the guard after it.
    void refreshGuard() { buffer_[bufferLength()] = buffer_[0]; }

    float output_[kControlBlock] = {};
    FilterStage filter_;
    DistortionStage distortion_;
    ShelfStage shelf_;
    std::shared_ptr<mppi::NormalizedParamInterface> level_;
    mppi::FullLfoParam<PanModifier, 1> panGroup_;
    mppi::FullLfoParam<TimeModifier, 1> time_;
    mppi::FullLfoParam<FdbkModifier, 1> feedbackGroup_;
    std::vector<float> buffer_;
    std::uint32_t mask_ = 0;
    std::uint32_t writeIndex_ = 0;
    float delaySeconds_ = 0.0f;
    std::atomic<bool> dirty_{false};
    float sampleRate_ = 44100.0f;
    int maxDelay_ = 0;
    int targetDelay_ = 1;
    int currentDelay_ = 1;
    int lineNumber_ = -1;
    mppi::TempoContext* tempo_ = nullptr;
    LineMixer* mixer_ = nullptr;
    bool jumpPending_ = false;
    // A glide's start position moves on as the block's pieces are read.
    DelayMotion motion_;
};
