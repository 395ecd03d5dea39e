#include "Spin.h"

#include "Clock.h"
#include "EventListenerInterface.h"
#include "Messages.h"

#include <algorithm>

namespace pengui {

void Spin::on_hide()
{
    stop_timer(timerId_);
    const bool held = mode_ != kIdle;
    mode_ = kIdle;
    phase_ = 0;
    fastTimer_ = false;
    if (held)
        release_mouse(dragStart_);
    settle();
}

void Spin::step(double amount)
{
    const double direction = mode_ == kUpHeld ? 1.0 : -1.0;
    if (!set_value(std::clamp(value() + direction * amount, 0.0, 1.0), kSourceDrag))
        on_hide();
}

int Spin::on_mouse_click(MouseClick& message)
{
    if (message.buttons == 0) {
        on_hide();
        request_redraw();
        return 0;
    }
    if (!enabled())
        return 0;
    on_hide();
    const Point point = local(message.point);
    const bool up = hit(kUp, point);
    const bool down = hit(kDown, point);
    const bool handle = hit(kHandle, point);
    if (handle && (handleOnTop_ || (!up && !down))) {
        mode_ = kDragging;
        dragStart_ = message.point;
        if (capture_mouse(2) != 0)
            mode_ = kIdle;
    } else if (up || down) {
        dragStart_ = message.point;
        if (capture_mouse(0) == 0) {
            timerId_ = start_timer(kSlowPeriod);
            pressTime_ = now_seconds();
            mode_ = up ? kUpHeld : kDownHeld;
            step(step_);
        }
    }
    request_redraw();
    return 0;
}

int Spin::on_mouse_capture_lost(MouseCaptureLost&)
{
    const bool held = mode_ != kIdle;
    stop_timer(timerId_);
    mode_ = kIdle;
    phase_ = 0;
    fastTimer_ = false;
    if (held)
        request_redraw();
    settle();
    return 0;
}

int Spin::on_mouse_move(MouseMove& message)
{
    if (mode_ != kDragging)
        return 0;
    if (!set_value(std::clamp(value() - message.point.y * kDragPerPixel, 0.0, 1.0), kSourceDrag))
        on_hide();
    return 0;
}

int Spin::on_notify(Notify& message)
{
    if (message.id != timerId_ || (mode_ != kUpHeld && mode_ != kDownHeld))
        return 0;
    const double held = now_seconds() - pressTime_;
    if (phase_ == 0) {
        if (held >= kFirstRepeat)
            phase_ = 1;
        return 0;
    }
    if (phase_ == 1) {
        if (held > kFastAfter)
            phase_ = 2;
        step(step_);
        return 0;
    }
    if (!fastTimer_) {
        stop_timer(timerId_);
        timerId_ = start_timer(kFastPeriod);
        fastTimer_ = true;
    }
    step(fastStep_);
    return 0;
}

void Spin::drawPair(Part normal, Part pressed, bool held, const Rect& area, Redraw& message) const
{
    if (pictures_[normal].is_set() && pictures_[pressed].is_set())
        pictures_[held ? pressed : normal].draw(area, message.buffer);
}

int Spin::on_redraw(Redraw& message)
{
    const Rect area = local(message.area);
    pictures_[kBackground].draw(area, message.buffer);
    const bool dragging = mode_ == kDragging;
    if (!handleOnTop_)
        pictures_[dragging && pictures_[kHandlePressed].is_set() ? kHandlePressed : kHandle].draw(area, message.buffer);
    drawPair(kUp, kUpPressed, mode_ == kUpHeld, area, message);
    drawPair(kDown, kDownPressed, mode_ == kDownHeld, area, message);
    if (handleOnTop_)
        pictures_[dragging && pictures_[kHandlePressed].is_set() ? kHandlePressed : kHandle].draw(area, message.buffer);
    pictures_[kForeground].draw(area, message.buffer);
    return 0;
}

} // namespace pengui
