#include "Knob.h"

#include "Clock.h"
#include "EventListenerInterface.h"
#include "Messages.h"

#include <algorithm>

#include <cmath>
#include <numbers>

namespace pengui {

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
// Corners of a knob's box that spin instead of drag, in fractions of the box (x right, y down).
constexpr double kCorner = 2.0 / 3.0;

double sign(double x)
{
    return x > 0.0 ? 1.0 : x < 0.0 ? -1.0 : 0.0;
}

} // namespace

void Knob::set_frame(int index, const Picture& picture)
{
    if (index >= 0 && index < static_cast<int>(frames_.size()))
        frames_[static_cast<std::size_t>(index)] = picture;
}

Knob::FrameChoice Knob::frame_for(double value) const
{
    const int count = static_cast<int>(frames_.size());
    if (count == 0 || frameSpan_ == 0.0f)
        return {0, 0.0};
    const double turns = value * angleRange_ + startAngle_;
    const double f = (turns - frameOffset_) / frameSpan_ + 0.5 / count;
    const double fraction = f - std::floor(f);
    const int index = std::min(static_cast<int>(std::floor(fraction * count)), count - 1);
    return {index, (static_cast<double>(frameSpan_) / count) * (fraction * count - index - 0.5)};
}

int Knob::on_redraw(Redraw& message)
{
    const Rect area = local(message.area);
    const Size size{area.width(), area.height()};
    plate_.draw(area, message.buffer);
    const double turns = value() * angleRange_ + startAngle_;
    const double angle = turns * kTwoPi;
    const double px = std::cos(angle) * pointerRadius_;
    const double py = -std::sin(angle) * pointerRadius_;
    const FrameChoice choice = frame_for(value());
    if (!frames_.empty() && frames_[static_cast<std::size_t>(choice.index)].is_set()) {
        const Picture& frame = frames_[static_cast<std::size_t>(choice.index)];
        if (rotateFrames_)
            frame.draw_rotated_at(area.x0, area.y0, size, choice.rotation * kTwoPi, message.buffer);
        else
            frame.draw(area, message.buffer);
    }
    if (pointer_.is_set()) {
        if (rotatePointer_)
            pointer_.draw_rotated_at(area.x0 - px, area.y0 - py, size, angle, message.buffer);
        else
            pointer_.draw_at(area.x0 - px, area.y0 - py, size, message.buffer);
    }
    if (active())
        highlight_.draw(area, message.buffer);
    if (dragging())
        dragIndicator_.draw(area, message.buffer);
    return 0;
}

int Knob::on_mouse_click(MouseClick& message)
{
    if (message.buttons == 0) {
        release_gesture();
        return 0;
    }
    if (!take_press())
        return 0;
    const Rect reference = !frames_.empty() && frames_[0].is_set() ? frames_[0].box : box;
    const Point point = local(message.point);
    const double x = static_cast<double>(point.x - reference.x0) / std::max(reference.width(), 1);
    const double y = static_cast<double>(point.y - reference.y0) / std::max(reference.height(), 1);
    double direction = 0.0;
    if (y - x > kCorner)
        direction = sign(angleRange_);
    else if (x + y > 1.0 + kCorner)
        direction = -sign(angleRange_);
    if (direction == 0.0) {
        motion_.begin_drag(value());
    } else {
        pressPoint_ = message.point;
        spinSpeed_ = direction * spinFactor_;
        motion_.begin_spin(value());
    }
    return 0;
}

int Knob::on_mouse_move(MouseMove& message)
{
    if (released())
        return 0;
    if (motion_.motion() == PotBehaviour::kDrag) {
        motion_.drag_step(-message.point.y, message.point.x, dragRange_, fineFactor_);
        const double moved = motion_.follow(value(), now_seconds());
        if (motion_.changed())
            apply(moved, kSourceDrag);
    } else if (motion_.motion() == PotBehaviour::kSpin) {
        spin_from_pointer(message.point.x - pressPoint_.x);
    }
    return 0;
}

} // namespace pengui
