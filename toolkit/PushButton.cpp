#include "PushButton.h"

#include "EventListenerInterface.h"
#include "Messages.h"

namespace pengui {

int PushButton::on_mouse_click(MouseClick& message)
{
    if (message.buttons == 0 || !enabled())
        return 0;
    on_hide();
    if (EventListenerInterface* listening = listener())
        listening->action(0, 0);
    start_animation();
    return 0;
}

bool PushButton::advance(double elapsed)
{
    const double span = duration();
    if (elapsed >= span) {
        phase_ = 0.0;
        return true;
    }
    phase_ = elapsed > span / 2.0 ? (1.0 - elapsed / span) * 2.0 : 2.0 * elapsed / span;
    return false;
}

} // namespace pengui
