#include "Fader.h"

#include "Clock.h"
#include "EventListenerInterface.h"
#include "Messages.h"

#include <cmath>

namespace pengui {

Point Fader::handle_offset(double value) const
{
    const int pixels = static_cast<int>(std::floor((vertical_ ? travel_ - value * travel_ : value * travel_) + 0.5));
    return vertical_ ? Point{0, pixels} : Point{pixels, 0};
}

int Fader::on_redraw(Redraw& message)
{
    const Rect area = local(message.area);
    const Size size{area.width(), area.height()};
    const Point handleAt = handle_offset(value());
    const Point activeAt = activeFollowsHandle_ ? handleAt : Point{};
    track_.draw(area, message.buffer);
    if (active() && !activeOnTop_)
        activePicture_.draw(area.moved(-activeAt.x, -activeAt.y), message.buffer);
    handle_.draw_at(area.x0 - handleAt.x, area.y0 - handleAt.y, size, message.buffer);
    if (dragging())
        dragIndicator_.draw(area.moved(-handleAt.x, -handleAt.y), message.buffer);
    if (active() && activeOnTop_)
        activePicture_.draw(area.moved(-activeAt.x, -activeAt.y), message.buffer);
    return 0;
}

int Fader::on_mouse_click(MouseClick& message)
{
    if (message.buttons == 0) {
        motion_.set_release_offset(handle_offset(value()));
        release_gesture();
        return 0;
    }
    if (!take_press())
        return 0;
    const Point point = local(message.point);
    const Point handleAt = handle_offset(value());
    const Point fromHandle{point.x - handleAt.x, point.y - handleAt.y};
    if (handle_.is_set() && handle_.contains(fromHandle)) {
        motion_.set_release_offset(point);
        motion_.begin_drag(value());
    } else {
        pressPoint_ = message.point;
        spinSpeed_ = travel_ != 0 ? (along(fromHandle) + 0.5) * spinFactor_ / travel_ : 0.0;
        motion_.begin_spin(value());
    }
    return 0;
}

int Fader::on_mouse_move(MouseMove& message)
{
    if (released())
        return 0;
    if (motion_.motion() == PotBehaviour::kDrag) {
        motion_.drag_step(along(message.point), across(message.point), travel_, fineFactor_);
        const double moved = motion_.follow(value(), now_seconds());
        if (motion_.changed())
            apply(moved, kSourceDrag);
        motion_.set_release_offset(handle_offset(value()));
    } else if (motion_.motion() == PotBehaviour::kSpin) {
        const Point movement{message.point.x - pressPoint_.x, message.point.y - pressPoint_.y};
        spin_from_pointer((travel_ > 0 ? 1 : travel_ < 0 ? -1 : 0) * along(movement));
    }
    return 0;
}

} // namespace pengui
