#include "BackgroundItem.h"

#include "Messages.h"

namespace pengui {

int BackgroundItem::handle_down(MessageInterface& message)
{
    auto* redraw = dynamic_cast<Redraw*>(&message);
    if (redraw && origin.x != kUnplaced && origin.y != kUnplaced)
        picture_.draw(redraw->area.moved(-origin.x, -origin.y), redraw->buffer);
    return 0;
}

} // namespace pengui
