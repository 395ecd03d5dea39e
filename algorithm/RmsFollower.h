#pragma once

// RMS level of a signal: the squared signal through a first-order low-pass at 1/tau (bilinear
// transform); its square root is the level.
//
// Squares are held at or below kPowerCeiling (a level of 1e18), so a signal of any magnitude,
// even an infinite one, leaves a finite power that decays again: the follower can never hold
// infinity or NaN, which would silence or poison its line for ever.
class RmsFollower {
public:
    static constexpr float kPowerCeiling = 1e36f;

    void setTimeConstant(float seconds);
    void setSampleRate(float sampleRate);
    void clear();
    // Takes `other`'s state: what this follower would hold had it followed the same signal.
    void copyState(const RmsFollower& other)
    {
        lastSquare_ = other.lastSquare_;
        lastOutput_ = other.lastOutput_;
    }
    // Follows a block, writing the smoothed power (the level squared) after each sample.
    void follow(const float* block, int frames, float* power);
    // Follows two blocks with two followers in one pass, so that their recursions overlap.
    static void followBoth(RmsFollower& first, const float* firstBlock, float* firstPower, RmsFollower& second,
                           const float* secondBlock, float* secondPower, int frames);

private:
    void computeCoefficients();

    float sampleRate_ = 44100.0f;
    float timeConstant_ = 0.05f;
    float c0_ = 0.0f;
    float c1_ = 0.0f;
    float lastSquare_ = 0.0f;
    float lastOutput_ = 0.0f;
};
