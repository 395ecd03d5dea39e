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

void Knob::on_hide()
{
    PotControl::on_hide();
    cache_.clear();
}

int Knob::on_redraw(Redraw& message)
{
    const RedrawCache::State state{value(), active() ? 1.0 : 0.0, dragging() ? 1.0 : 0.0, 0.0};
    cache_.draw(message.buffer, message.area, reach(), state, [&] { drawPictures(local(message.area), message.buffer); });
    return 0;
}

void Knob::drawPictures(const Rect& area, RenderingBufferInterface& buffer) const
{
    const Size size{area.width(), area.height()};
    plate_.draw(area, buffer);
    const double turns = value() * angleRange_ + startAngle_;
    const double angle = turns * kTwoPi;
    const double px = std::cos(angle) * pointerRadius_;
    const double py = -std::sin(angle) * pointerRadius_;
    const FrameChoice choice = frame_for(value());
    if (!frames_.empty() && frames_[static_cast<std::size_t>(choice.index)].is_set()) {
        const Picture& frame = frames_[static_cast<std::size_t>(choice.index)];
        if (rotateFrames_)
            frame.draw_rotated_at(area.x0, area.y0, size, choice.rotation * kTwoPi, buffer);
        else
            frame.draw(area, buffer);
    }
    if (pointer_.is_set()) {
        if (rotatePointer_)
            pointer_.draw_rotated_at(area.x0 - px, area.y0 - py, size, angle, buffer);
        else
            pointer_.draw_at(area.x0 - px, area.y0 - py, size, buffer);
    }
    if (active())
        highlight_.draw(area, buffer);
    if (dragging())
        dragIndicator_.draw(area, buffer);
}

Rect Knob::reach() const
{
    Rect united{};
    bool any = false;
    auto add = [&united, &any](const Rect& rect) {
        united = any ? Rect{std::min(united.x0, rect.x0), std::min(united.y0, rect.y0), std::max(united.x1, rect.x1),
                            std::max(united.y1, rect.y1)}
                     : rect;
        any = true;
    };
    // The farthest a picture's corner lies from the knob's origin.
    auto radius = [](const Rect& box) {
        double farthest = 0.0;
        for (const double x : {static_cast<double>(box.x0), static_cast<double>(box.x1)})
            for (const double y : {static_cast<double>(box.y0), static_cast<double>(box.y1)})
                farthest = std::max(farthest, std::hypot(x, y));
        return farthest;
    };
    // Turned, or shifted by a fraction of a pixel, a picture spreads a pixel further.
    auto disc = [&add](double r) {
        const int extent = static_cast<int>(std::ceil(r)) + 2;
        add({-extent, -extent, extent, extent});
    };
    for (const Picture* picture : {&plate_, &highlight_, &dragIndicator_})
        if (picture->is_set())
            add(picture->box);
    for (const Picture& frame : frames_)
        if (frame.is_set()) {
            if (rotateFrames_)
                disc(radius(frame.box));
            else
                add(frame.box);
        }
    if (pointer_.is_set())
        disc(std::fabs(pointerRadius_) + radius(pointer_.box));
    return any ? united.moved(window_position()) : Rect{};
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
