#include "AnimatedFrames.h"

#include "Clock.h"
#include "Messages.h"

#include <cmath>

namespace pengui {

void AnimatedFrames::set_frame(int index, const Picture& picture)
{
    if (index >= 0 && index < static_cast<int>(frames_.size()))
        frames_[static_cast<std::size_t>(index)] = picture;
}

int AnimatedFrames::frame_shown() const
{
    const int last = static_cast<int>(frames_.size()) - 1;
    if (last < 0)
        return -1;
    const double shown = animating() ? phase_ : resting_phase();
    const double frame = std::floor(shown * last + 0.5);
    return frame < 0.0 ? 0 : frame > last ? last : static_cast<int>(frame);
}

void AnimatedFrames::start_animation()
{
    timerId_ = start_timer(kTickPeriod);
    startTime_ = now_seconds();
}

int AnimatedFrames::on_notify(Notify& message)
{
    if (message.id != timerId_)
        return 0;
    if (advance(now_seconds() - startTime_))
        stop_timer(timerId_);
    request_redraw();
    return 0;
}

int AnimatedFrames::on_redraw(Redraw& message)
{
    const Rect area = local(message.area);
    background_.draw(area, message.buffer);
    const int frame = frame_shown();
    if (frame >= 0)
        frames_[static_cast<std::size_t>(frame)].draw(area, message.buffer);
    foreground_.draw(area, message.buffer);
    return 0;
}

} // namespace pengui
