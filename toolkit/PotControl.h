#pragma once

#include "ControlInterface.h"
#include "PotBehaviour.h"

namespace pengui {

// What knobs and faders share around their motion engine: the release that lets the value
// glide or spin on, the timer ticks, and the end of a gesture.
class PotControl : public ControlInterface {
public:
    PotControl() : motion_(*this) {}

    void set_snap_list(const std::vector<double>* list) { motion_.set_snap_list(list); }
    void set_fine_factor(float factor) { fineFactor_ = factor; }
    void set_spin_factor(float factor) { spinFactor_ = factor; }
    // The skin's scale, device pixels per pixel of its table: the fine drag's snapping and the
    // spin's distances are measured in the table's pixels (see PotBehaviour::set_scale).
    void set_scale(float scale)
    {
        scale_ = scale;
        motion_.set_scale(scale);
    }
    const PotBehaviour& motion() const { return motion_; }
    bool released() const { return released_; }

    void on_hide() override;
    void set_active(bool) override { request_redraw(); }

protected:
    int on_mouse_capture_lost(MouseCaptureLost& message) override;
    int on_notify(Notify& message) override;

    // Whether a press may start a gesture: enabled, and no unreleased gesture runs. A press
    // that may stops what runs and marks the button held.
    bool take_press();
    // The release of the button: the listener hears it, the pointer comes back at the return
    // point, and the value goes on moving.
    void release_gesture();
    // Sets a value the motion produced; a refusal ends the gesture.
    void apply(double value, int source);
    // Ends the motion and with it the user's gesture.
    void stop_motion();
    // Spin speed from the pointer's distance along the control since the press.
    void spin_from_pointer(int distance);
    bool dragging() const { return motion_.motion() == PotBehaviour::kDrag && !released_; }

    PotBehaviour motion_;
    float fineFactor_ = 0.0f;
    float spinFactor_ = 0.0f;
    Point pressPoint_;
    double spinSpeed_ = 0.0;
    float scale_ = 1.0f;

private:
    bool released_ = false;
    bool buttonHeld_ = false;
};

} // namespace pengui
