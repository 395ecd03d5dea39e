#include "PotControl.h"

#include "Clock.h"
#include "EventListenerInterface.h"
#include "Messages.h"

#include <cmath>
#include <cstdlib>

namespace pengui {

namespace {

// Pointer distance below which a spin keeps its speed, and the scale of the speed above it.
constexpr int kSpinDeadZone = 4;
constexpr double kSpinScale = 65536.0;

} // namespace

bool PotControl::take_press()
{
    if ((motion_.motion() != PotBehaviour::kIdle && !released_) || !enabled())
        return false;
    on_hide();
    buttonHeld_ = true;
    return true;
}

void PotControl::release_gesture()
{
    if (motion_.motion() == PotBehaviour::kIdle || released_)
        return;
    buttonHeld_ = false;
    if (EventListenerInterface* listening = listener())
        listening->released(kSourceDrag);
    const bool wasDrag = motion_.motion() == PotBehaviour::kDrag;
    motion_.release_only();
    released_ = true;
    if (wasDrag)
        request_redraw();
}

void PotControl::apply(double value, int source)
{
    if (!set_value(value, source))
        stop_motion();
}

void PotControl::stop_motion()
{
    motion_.stop();
    settle();
}

void PotControl::spin_from_pointer(int distance)
{
    const double along = static_cast<double>(distance) / scale_;
    if (std::fabs(along) <= kSpinDeadZone)
        return;
    spinSpeed_ = along * std::fabs(along) * spinFactor_ / kSpinScale;
    motion_.set_speed_from_pointer(true);
}

int PotControl::on_notify(Notify& message)
{
    if (message.id != motion_.timer_id() || motion_.motion() == PotBehaviour::kIdle)
        return 0;
    const double now = now_seconds();
    const double moved = motion_.motion() == PotBehaviour::kDrag
                             ? motion_.follow(value(), now)
                             : motion_.spin_step(value(), now, released_ ? 0.0 : spinSpeed_);
    if (motion_.changed())
        apply(moved, buttonHeld_ ? kSourceDrag : kSourceAnimation);
    else if (released_)
        stop_motion();
    return 0;
}

int PotControl::on_mouse_capture_lost(MouseCaptureLost&)
{
    // Taken away while held (the window hidden, another grab): the gesture ends as a release
    // would. A release of our own gives the capture back before this arrives.
    const bool held = motion_.capture_held();
    motion_.capture_lost();
    if (held)
        release_gesture();
    return 0;
}

void PotControl::on_hide()
{
    stop_motion();
    released_ = false;
}

} // namespace pengui
