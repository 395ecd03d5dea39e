#pragma once

#include "Geometry.h"
#include "MessageHandlerInterface.h"

#include <map>
#include <memory>
#include <string>

namespace pengui {

class BackgroundNodeInterface;
class CtrlGroupNodeInterface;
class PlatformWindowInterface;
class TextInputRequest;

// The root of both trees and the consumer of every up message: everything a window does that
// is not platform code. It owns its platform side and keeps the timers (with the process-wide
// list that maps platform ticks to windows), the mouse capture with its three modes, the text
// editor's requester, and paints invalid regions tile by tile. Editor thread only.
class WindowInterface : public MessageHandlerInterface {
public:
    explicit WindowInterface(std::unique_ptr<PlatformWindowInterface> platform);
    ~WindowInterface() override;
    WindowInterface(const WindowInterface&) = delete;
    WindowInterface& operator=(const WindowInterface&) = delete;

    // Consumes the up messages; -1 for anything else and while no platform window exists.
    int handle_message(MessageInterface& message) override;

    // Creates the platform window inside `parent`: 0, or -1. An open window stays as it is.
    int open(void* parent);
    // Opens, then shows both trees.
    int show(void* parent);
    // Destroys the platform window (its timers go with it).
    void close();
    bool is_open() const;

    void set_resizable(bool resizable) { resizable_ = resizable; }
    bool resizable() const { return resizable_; }
    void set_size(Size content);
    void set_window_size(Size window) { windowSize_ = window; }
    // A new window size, given to the platform window at once when it exists.
    void resize_window(Size window);
    Size content_size() const { return contentSize_; }
    Size window_size() const { return windowSize_; }
    // Resizes a resizable platform window to the content; otherwise repaints the window.
    void apply_size();
    // Lets the platform read its events, run its timers and paint (the host's idle).
    void service();

    void set_background_root(BackgroundNodeInterface* root);
    void set_control_root(CtrlGroupNodeInterface* root);
    PlatformWindowInterface& platform() { return *platform_; }

    // Platform events. `buttons` are the mouse buttons down (MouseButton bits) as the event
    // reports them.
    void paint(const Rect& dirty);
    void mouse_move(Point point, int buttons);
    void mouse_click(Point point, int buttons, int modifiers, int doubleClick);
    void capture_lost();
    void text_editor_closed(bool accepted);
    void platform_destroyed();
    // A platform timer ticked: the window it belongs to notifies the timer's handler.
    static void platform_tick(int platformId);

    // The capture's holder, or null.
    MessageHandlerInterface* capture_handler() const { return capture_.handler; }
    int capture_mode() const { return capture_.mode; }
    int timer_count() const { return static_cast<int>(timers_.size()); }

    // No warp during the first 250 ms of a capture, at most one every 100 ms; a release warps
    // only after 250 ms.
    static constexpr double kWarpDelay = 0.25;
    static constexpr double kWarpInterval = 0.1;

private:
    struct Capture {
        MessageHandlerInterface* handler = nullptr;
        int mode = 0;
        Point point;
        double since = 0.0;
        double lastWarp = 0.0;
        Point reference;
        bool pointerHidden = false;
        // The buttons down when the capture was taken; 0 when none were.
        int buttons = 0;
    };

    int onCapture(MessageHandlerInterface* handler, int mode);
    int onRelease(MessageHandlerInterface* handler, Point point);
    int onSetTimer(MessageHandlerInterface* handler, float period, int id);
    int onClearTimer(int id);
    int onTextInput(const TextInputRequest& request);
    int onInvalidate(const Rect& rect);
    // The point a capture's holder receives: in mode 2 the movement since the last event.
    Point capturedPoint(Point point);
    void showPointer();
    // Ends the capture, telling its holder, as when the system takes it away.
    void dropCapture();
    void killAllTimers();
    void sendDown(MessageHandlerInterface* target, MessageInterface& message);

    std::unique_ptr<PlatformWindowInterface> platform_;
    bool resizable_ = false;
    Size contentSize_;
    Size windowSize_;
    BackgroundNodeInterface* backgroundRoot_ = nullptr;
    CtrlGroupNodeInterface* controlRoot_ = nullptr;
    std::map<int, MessageHandlerInterface*> timers_;
    Capture capture_;
    // The buttons down after the last press or release.
    int buttons_ = 0;
    MessageHandlerInterface* textRequester_ = nullptr;
};

} // namespace pengui
