#pragma once

#include "Geometry.h"

#include <cmath>
#include <vector>

namespace pengui {

class ControlInterface;

// The motion engine of knobs and faders: a drag with the pointer hidden (vertical movement, or
// horizontal movement scaled by a fine factor), optional snapping of the target to a list of
// values, a one-pole glide of the value towards the target on a 0.03 s timer, and a spin in
// which the value moves at a speed. It sends its capture and timer requests through the
// control it belongs to.
class PotBehaviour {
public:
    enum Motion { kIdle = 0, kDrag = 1, kSpin = 2 };

    static constexpr float kTickPeriod = 0.03f;
    // Horizontal pixels after which a fine drag stops snapping, at 1x.
    static constexpr int kFineSnapPixels = 16;

    explicit PotBehaviour(ControlInterface& control) : control_(control) {}

    // Start a drag (capture mode 2) or a spin (capture mode 0) from `value`: 0, or the refusal.
    int begin_drag(double value);
    int begin_spin(double value);
    // One pointer movement of a drag: `along` the main axis (up or right positive), `across` it,
    // over a pixel range; moves raw and target values.
    void drag_step(int along, int across, int range, float fineFactor);
    // The target for `raw` given the current target, with the snap list.
    double snapped(double raw, double target) const;
    // The value glided towards the target at time `now`.
    double follow(double value, double now);
    // The value moved at `speed` (per second) since the last step.
    double spin_step(double value, double now, double speed);
    // Ends the gesture: timer, capture and motion.
    void stop();
    // Gives the pointer back but lets the value go on moving.
    void release_only();
    void capture_lost() { captureHeld_ = false; }
    bool capture_held() const { return captureHeld_; }

    int motion() const { return motion_; }
    bool changed() const { return changed_; }
    int timer_id() const { return timerId_; }
    double target() const { return target_; }
    double raw() const { return raw_; }
    int axis_mode() const { return axisMode_; }
    void set_snap_list(const std::vector<double>* list) { snapList_ = list; }
    void set_release_offset(Point offset) { releaseOffset_ = offset; }
    void set_speed_from_pointer(bool fromPointer) { speedFromPointer_ = fromPointer; }
    // The device pixels per pixel of the skin's table: the fine drag's snapping distance
    // scales with it, as the controls' ranges do, so a hand movement feels the same.
    void set_scale(float scale) { fineSnapPixels_ = static_cast<int>(std::lround(kFineSnapPixels * scale)); }

private:
    int begin(double value, Motion motion, int captureMode);
    void releaseCapture();
    void stopTimer();

    ControlInterface& control_;
    double raw_ = 0.0;
    double target_ = 0.0;
    double lastStep_ = 0.0;
    double lastTime_ = 0.0;
    int axisMode_ = 0;
    float smoothedAlong_ = 1.0f;
    float smoothedAcross_ = 0.0f;
    int acrossTotal_ = 0;
    int fineSnapPixels_ = kFineSnapPixels;
    double velocity_ = 0.0;
    bool speedFromPointer_ = false;
    const std::vector<double>* snapList_ = nullptr;
    Point releaseOffset_;
    int timerId_ = -1;
    int motion_ = kIdle;
    bool captureHeld_ = false;
    bool changed_ = false;
};

} // namespace pengui
