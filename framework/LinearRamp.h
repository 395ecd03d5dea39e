#pragma once

namespace mppi {

// Moves a value linearly to its target over the ramp time; a ramp time of 0 jumps at once.
// Advanced in whole control blocks by its owner.
class LinearRamp {
public:
    void setRampTime(float seconds) { rampTime_ = seconds; }
    float rampTime() const { return rampTime_; }
    // Keeps a running ramp's duration in seconds across the change of rate.
    void setSampleRate(float sampleRate);

    void setTarget(float target);
    void advance(int samples)
    {
        if (increment_ != 0.0)
            move(samples);
    }
    // Ends any movement at the target.
    void snap();

    double current() const { return current_; }
    float target() const { return target_; }

private:
    void move(int samples);

    float rampTime_ = 0.1f;
    float sampleRate_ = 44100.0f;
    float target_ = 0.0f;
    double current_ = 0.0;
    double increment_ = 0.0;
};

} // namespace mppi
