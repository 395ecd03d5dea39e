#pragma once

namespace pengui {

class MessageInterface;

// Anything that receives toolkit messages: tree nodes, controls, the window. Called on the
// editor's thread only.
class MessageHandlerInterface {
public:
    virtual ~MessageHandlerInterface() = default;
    // 0: handled or succeeded; -1: not handled or failed; forwarding nodes pass other values on.
    virtual int handle_message(MessageInterface& message) = 0;
};

} // namespace pengui
