#pragma once

#include "Geometry.h"
#include "TextLineEditor.h"

#include <string>

namespace pengui {

class MessageHandlerInterface;
class RenderingBufferInterface;

class MessageDown;

// The toolkit's messages. The sender builds one on its stack and passes it by reference;
// receivers never keep it. Up messages travel from a node to the window, down messages from the
// window into the trees, with an area that routes them. Every node asks a message its direction,
// so that is answered by a virtual call; the kind is told by dynamic_cast.
class MessageInterface {
public:
    virtual ~MessageInterface() = default;
    // Whether the message travels up, to the window.
    virtual bool travels_up() const { return false; }
    // The message as a down message, or null.
    virtual MessageDown* down() { return nullptr; }
};

class MessageUp : public MessageInterface {
public:
    bool travels_up() const override { return true; }
};

class MessageDown : public MessageInterface {
public:
    explicit MessageDown(const Rect& area = {}) : area(area) {}
    MessageDown* down() override { return this; }
    Rect area;
};

// Kind marks, mixed into the concrete messages.
class GraphicMessage {
public:
    virtual ~GraphicMessage() = default;
};
class MouseMessage {
public:
    virtual ~MouseMessage() = default;
};
class KeyboardMessage {
public:
    virtual ~KeyboardMessage() = default;
};
class TimerMessage {
public:
    virtual ~TimerMessage() = default;
};

// Asks the window to repaint `rect` (window coordinates).
class Invalidate : public MessageUp, public GraphicMessage {
public:
    explicit Invalidate(const Rect& rect) : rect(rect) {}
    Rect rect;
};

// Draw the tile `area` (window coordinates) into `buffer`, whose pixel (0, 0) is the area's corner.
class Redraw : public GraphicMessage, public MessageDown {
public:
    Redraw(RenderingBufferInterface& buffer, const Rect& area) : MessageDown(area), buffer(buffer) {}
    RenderingBufferInterface& buffer;
};

// Mouse button bits and modifier bits.
enum MouseButton { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum Modifier { kControlKey = 1, kShiftKey = 2 };

// A press or release. `buttons` holds the buttons down after the event; `double_click` is 1, 2
// or 4 for a left, right or middle double click. In capture mode 2 `point` is a movement.
class MouseClick : public MessageDown, public MouseMessage {
public:
    MouseClick(Point point, int buttons, int modifiers = 0, int doubleClick = 0)
        : MessageDown({point.x, point.y, point.x, point.y}),
          point(point),
          buttons(buttons),
          modifiers(modifiers),
          double_click(doubleClick)
    {
    }
    Point point;
    int buttons;
    int modifiers;
    int double_click;
};

class MouseMove : public MessageDown, public MouseMessage {
public:
    explicit MouseMove(Point point) : MessageDown({point.x, point.y, point.x, point.y}), point(point) {}
    Point point;
};

// Capture modes: 0 absolute positions, pointer shown; 1 absolute positions, pointer hidden;
// 2 relative movements with the pointer hidden and kept near the capture point.
class MouseCapture : public MessageUp, public MouseMessage {
public:
    MouseCapture(MessageHandlerInterface* handler, int mode) : handler(handler), mode(mode) {}
    MessageHandlerInterface* handler;
    int mode;
};

// Ends a capture; in mode 2 the pointer is put back at `point` (window coordinates).
class MouseRelease : public MessageUp, public MouseMessage {
public:
    MouseRelease(MessageHandlerInterface* handler, Point point) : handler(handler), point(point) {}
    MessageHandlerInterface* handler;
    Point point;
};

class MouseCaptureLost : public MessageDown, public MouseMessage {};

class KeyPressed : public KeyboardMessage, public MessageInterface {};

// Opens the one-line text editor over `rect` (window coordinates) with `text`, selected whole.
class TextInputRequest : public MessageUp, public KeyboardMessage {
public:
    TextInputRequest(MessageHandlerInterface* requester, std::string text, const Rect& rect, TextStyle style = {})
        : requester(requester), text(std::move(text)), rect(rect), style(style)
    {
    }
    MessageHandlerInterface* requester;
    std::string text;
    Rect rect;
    // How a platform that draws its own field shows the text.
    TextStyle style;
};

class TextInputStop : public MessageUp, public KeyboardMessage {
public:
    explicit TextInputStop(MessageHandlerInterface* requester) : requester(requester) {}
    MessageHandlerInterface* requester;
};

// The editor closed: `accepted` after Enter or focus loss, not after Escape.
class TextInputFinished : public MessageDown, public KeyboardMessage {
public:
    TextInputFinished(std::string text, bool accepted) : text(std::move(text)), accepted(accepted) {}
    std::string text;
    bool accepted;
};

// Starts a timer whose ticks go to `handler` every `period` seconds. Its id comes from a
// process-wide counter: the first timer of a process is 1, ids are never reused.
class SetTimer : public MessageUp, public TimerMessage {
public:
    SetTimer(MessageHandlerInterface* handler, float period, int& idOut);
    MessageHandlerInterface* handler;
    float period;
    int id;

    class TimerIdGenerator {
    public:
        static int next();
    };
};

class ClearTimer : public MessageUp, public TimerMessage {
public:
    explicit ClearTimer(int id) : id(id) {}
    int id;
};

// A tick of timer `id`, at `time` seconds of the toolkit clock.
class Notify : public MessageDown, public TimerMessage {
public:
    Notify(int id, double time) : id(id), time(time) {}
    int id;
    double time;
};

class ShowObject : public MessageDown {
public:
    explicit ShowObject(bool visible, const Rect& area = kEverything) : MessageDown(area), visible(visible) {}
    bool visible;
};

} // namespace pengui
