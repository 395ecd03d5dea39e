#include "LinearRamp.h"

namespace mppi {

void LinearRamp::setSampleRate(float sampleRate)
{
    if (!(sampleRate > 0.0f))
        return;
    increment_ = increment_ * sampleRate_ / sampleRate;
    sampleRate_ = sampleRate;
}

void LinearRamp::setTarget(float target)
{
    if (rampTime_ != 0.0f) {
        target_ = target;
        increment_ = (target - current_) / (static_cast<double>(rampTime_) * sampleRate_);
    } else {
        target_ = target;
        current_ = target;
        increment_ = 0.0;
    }
}

void LinearRamp::move(int samples)
{
    current_ += increment_ * samples;
    if (increment_ * (current_ - target_) >= 0.0) {
        current_ = target_;
        increment_ = 0.0;
    }
}

void LinearRamp::snap()
{
    current_ = target_;
    increment_ = 0.0;
}

} // namespace mppi
