#pragma once

#include "ControlInterface.h"
#include "Picture.h"

#include <vector>

namespace pengui {

// The base of the two-state buttons: a background, a run of frames chosen by a display phase
// (0 .. 1), a foreground, and a 0.03 s timer that animates the phase over a duration.
class AnimatedFrames : public ControlInterface {
public:
    static constexpr float kTickPeriod = 0.03f;

    explicit AnimatedFrames(double duration) : frames_(2), duration_(duration) {}

    void set_background(const Picture& picture) { background_ = picture; }
    void set_foreground(const Picture& picture) { foreground_ = picture; }
    // Replaces the frames with `count` empty pictures.
    void set_frame_count(int count) { frames_.assign(static_cast<std::size_t>(count > 0 ? count : 0), Picture()); }
    void set_frame(int index, const Picture& picture);
    void set_duration(double seconds) { duration_ = seconds; }
    double duration() const { return duration_; }
    double phase() const { return phase_; }
    bool animating() const { return timerId_ >= 0; }
    // The frame on show: the phase's while animating, else the resting phase's.
    int frame_shown() const;

    void on_hide() override { stop_timer(timerId_); }
    void set_active(bool) override { request_redraw(); }

protected:
    int on_redraw(Redraw& message) override;
    int on_notify(Notify& message) override;

    // Starts the animation timer from now.
    void start_animation();
    // The phase at `elapsed` seconds of the animation; answers whether it has ended.
    virtual bool advance(double elapsed) = 0;
    // The phase shown while no animation runs.
    virtual double resting_phase() const = 0;

    double phase_ = 0.0;
    int timerId_ = -1;

private:
    Picture background_;
    Picture foreground_;
    std::vector<Picture> frames_;
    double duration_;
    double startTime_ = 0.0;
};

} // namespace pengui
