#include "Switch.h"

#include "EventListenerInterface.h"
#include "Messages.h"

#include <cmath>

namespace pengui {

void Switch::set_position_picture(int index, const Picture& picture)
{
    if (index >= 0 && index < position_count())
        positions_[static_cast<std::size_t>(index)] = picture;
}

int Switch::selected() const
{
    const int last = position_count() - 1;
    if (last < 0)
        return -1;
    const double position = std::floor(value() * last + 0.5);
    return position < 0.0 ? 0 : position > last ? last : static_cast<int>(position);
}

void Switch::on_hide()
{
    if (captured_)
        release_mouse({0, 0});
    captured_ = false;
}

int Switch::on_redraw(Redraw& message)
{
    const Rect area = local(message.area);
    background_.draw(area, message.buffer);
    const int position = selected();
    if (position >= 0)
        positions_[static_cast<std::size_t>(position)].draw(area, message.buffer);
    if (active())
        activePicture_.draw(area, message.buffer);
    return 0;
}

int Switch::on_mouse_capture_lost(MouseCaptureLost&)
{
    captured_ = false;
    return 0;
}

int Switch::on_mouse_click(MouseClick& message)
{
    if (message.buttons == 0) {
        on_hide();
        return 0;
    }
    if (!enabled() || captured_)
        return 0;
    const Point point = local(message.point);
    for (int index = 0; index < position_count(); ++index) {
        const Picture& picture = positions_[static_cast<std::size_t>(index)];
        if (!picture.is_set() || !picture.contains(point))
            continue;
        const int last = position_count() - 1;
        set_value(last > 0 ? static_cast<double>(index) / last : 0.0, kSourceDrag);
        settle();
        if (capture_mouse(0) == 0)
            captured_ = true;
        return 0;
    }
    return 0;
}

} // namespace pengui
