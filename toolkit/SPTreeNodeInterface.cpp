#include "SPTreeNodeInterface.h"

#include "Messages.h"

namespace pengui {

int SPTreeNodeInterface::handle_message(MessageInterface& message)
{
    if (message.travels_up())
        return parent ? parent->handle_message(message) : -1;
    if (auto* show = dynamic_cast<ShowObject*>(&message))
        visible = show->visible;
    return handle_down(message);
}

} // namespace pengui
