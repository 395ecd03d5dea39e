#include "PotBehaviour.h"

#include "Clock.h"
#include "ControlInterface.h"
#include "Messages.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace pengui {

namespace {

// The pointer's direction, in radians from the horizontal, that switches the drag between
// vertical and horizontal-fine movement (with hysteresis).
constexpr double kEnterFine = std::numbers::pi / 8.0;
constexpr double kLeaveFine = 3.0 * std::numbers::pi / 8.0;
// Weight of a new movement in the smoothed direction.
constexpr float kDirectionSmoothing = 0.9f;
// Corner of the value's glide towards the target, in hertz.
constexpr double kGlideCorner = 3.0;
// Time constants of the spin's speed: towards the pointer's speed, and down to rest.
constexpr double kSpeedUpRate = 8.0 / 64.0;
constexpr double kSlowDownRate = 8.0;

} // namespace

int PotBehaviour::begin(double value, Motion motion, int captureMode)
{
    stopTimer();
    releaseCapture();
    motion_ = motion;
    MouseCapture capture(&control_, captureMode);
    int result = control_.handle_message(capture);
    if (result == 0) {
        captureHeld_ = true;
        lastTime_ = now_seconds();
        int id = -1;
        SetTimer timer(&control_, kTickPeriod, id);
        result = control_.handle_message(timer);
        if (result == 0)
            timerId_ = id;
    }
    if (result != 0) {
        stopTimer();
        releaseCapture();
        motion_ = kIdle;
        return result;
    }
    velocity_ = 0.0;
    speedFromPointer_ = false;
    raw_ = target_ = value;
    axisMode_ = 0;
    smoothedAlong_ = 1.0f;
    smoothedAcross_ = 0.0f;
    acrossTotal_ = 0;
    return 0;
}

int PotBehaviour::begin_drag(double value)
{
    return begin(value, kDrag, 2);
}

int PotBehaviour::begin_spin(double value)
{
    return begin(value, kSpin, 0);
}

void PotBehaviour::drag_step(int along, int across, int range, float fineFactor)
{
    if (along == 0 && across == 0)
        return;
    const float distance = static_cast<float>(std::abs(along));
    smoothedAlong_ += (distance - smoothedAlong_) * kDirectionSmoothing;
    smoothedAcross_ += (static_cast<float>(std::abs(across)) - smoothedAcross_) * kDirectionSmoothing;
    const double angle = std::fabs(smoothedAcross_) >= 1e-9f ? std::atan(smoothedAlong_ / smoothedAcross_) : std::numbers::pi;
    if (axisMode_ == 1 && angle >= kLeaveFine) {
        axisMode_ = 0;
        acrossTotal_ = 0;
    } else if (axisMode_ == 0 && angle <= kEnterFine) {
        axisMode_ = 1;
    }
    double movement = along;
    if (axisMode_ == 1) {
        const bool wasSnapping = acrossTotal_ <= fineSnapPixels_;
        acrossTotal_ += std::abs(across);
        movement = across * static_cast<double>(fineFactor);
        if (wasSnapping && acrossTotal_ > fineSnapPixels_)
            raw_ = target_;
    }
    if (range == 0)
        return;
    movement /= range;
    // Past an end, coming back starts again from that end.
    if (raw_ > 1.0 && movement < 0.0)
        raw_ = movement + 1.0;
    else if (raw_ < 0.0 && movement > 0.0)
        raw_ = movement;
    else
        raw_ += movement;
    target_ = acrossTotal_ <= fineSnapPixels_ ? snapped(raw_, target_) : raw_;
}

double PotBehaviour::snapped(double raw, double target) const
{
    if (!snapList_)
        return raw;
    raw = std::clamp(raw, 0.0, 1.0);
    double reference = std::fabs(raw - target);
    double result = target;
    if (target < 0.0 || target > 1.0) {
        reference = 999999.0;
        result = -1.0;
    }
    double nearest = reference;
    for (double point : *snapList_) {
        const double distance = std::fabs(raw - point) * 3.0;
        if (distance < reference && distance < nearest) {
            nearest = distance;
            result = point;
        }
    }
    return result;
}

double PotBehaviour::follow(double value, double now)
{
    changed_ = false;
    const double distance = std::fabs(target_ - value);
    if (distance <= 1e-6)
        return value;
    const double corner = distance * 1.5 >= lastStep_ ? kGlideCorner : kGlideCorner * lastStep_ / distance;
    const double keep = std::exp(-2.0 * std::numbers::pi * corner * (now - lastTime_));
    const double moved = std::clamp(value + (target_ - value) * (1.0 - keep), 0.0, 1.0);
    lastStep_ = distance;
    lastTime_ = now;
    changed_ = moved != value;
    return moved;
}

double PotBehaviour::spin_step(double value, double now, double speed)
{
    const double elapsed = now - lastTime_;
    if (std::fabs(velocity_) < 1e-6 && speed == 0.0)
        velocity_ = 0.0;
    if (!speedFromPointer_) {
        const double rate = speed == 0.0 ? kSlowDownRate : kSpeedUpRate;
        const double next = velocity_ + elapsed * (speed - velocity_) * rate;
        velocity_ = std::clamp(next, std::min(velocity_, speed), std::max(velocity_, speed));
    } else if (speed != 0.0) {
        velocity_ = speed;
    }
    const double moved = std::clamp(value + elapsed * velocity_, 0.0, 1.0);
    lastTime_ = now;
    changed_ = moved != value;
    return moved;
}

void PotBehaviour::stopTimer()
{
    if (timerId_ < 0)
        return;
    ClearTimer clear(timerId_);
    control_.handle_message(clear);
    timerId_ = -1;
}

void PotBehaviour::releaseCapture()
{
    if (!captureHeld_)
        return;
    captureHeld_ = false;
    const Point at = control_.window_position();
    MouseRelease release(&control_, {at.x + releaseOffset_.x, at.y + releaseOffset_.y});
    control_.handle_message(release);
}

void PotBehaviour::stop()
{
    stopTimer();
    releaseCapture();
    motion_ = kIdle;
}

void PotBehaviour::release_only()
{
    releaseCapture();
}

} // namespace pengui
