#include "FlipFlop.h"

#include "EventListenerInterface.h"
#include "Messages.h"

#include <algorithm>
#include <cmath>

namespace pengui {

int FlipFlop::on_mouse_click(MouseClick& message)
{
    if (message.buttons == 0 || !enabled())
        return 0;
    on_hide();
    phase_ = value();
    const bool taken = set_value(1.0 - std::floor(value() + 0.5), kSourceDrag);
    settle();
    if (!taken)
        return 0;
    if (duration() < 1e-9) {
        phase_ = value();
        request_redraw();
    } else {
        start_animation();
    }
    return 0;
}

bool FlipFlop::advance(double elapsed)
{
    if (elapsed >= duration()) {
        phase_ = std::clamp(value(), 0.0, 1.0);
        return true;
    }
    phase_ = value() >= 0.5 ? elapsed / duration() : 1.0 - elapsed / duration();
    return false;
}

} // namespace pengui
