#pragma once

#include "PlatformWindowInterface.h"
#include "RenderingBufferInterface.h"
#include "TextFieldX11.h"
#include "X11Tile.h"

#include <map>
#include <vector>

#include <X11/Xlib.h>

namespace pengui {

// The editor's window inside a Linux host: a child of the host's X window on a display
// connection of its own, so that several instances live side by side. Nothing blocks: the host's
// idle calls `service`, which reads the waiting events, paints what they and the toolkit made
// invalid, and runs the timers that are due. Timers keep their own deadlines, so a host that
// idles often, rarely or from two sources gets each tick once. Text boxes open a TextFieldX11.
// The host's user-interface thread only.
class WindowX11 : public PlatformWindowInterface {
public:
    // Without `shareMemory` the tile goes to the server through the connection even where
    // shared memory would work.
    explicit WindowX11(bool shareMemory = true) : shareMemory_(shareMemory) {}
    ~WindowX11() override;
    WindowX11(const WindowX11&) = delete;
    WindowX11& operator=(const WindowX11&) = delete;

    void attach(WindowInterface* window) override { window_ = window; }
    // `parent` is the host's X window id.
    int create(void* parent, Size size) override;
    void destroy() override;
    bool created() const override { return handle_ != 0; }
    // The X window id of the editor's window, 0 while none exists.
    ::Window handle() const { return handle_; }
    void resize(Size size) override;
    void invalidate(const Rect& rect) override;
    RenderingBufferInterface& tile() override { return tile_; }
    bool take_capture() override;
    void release_capture() override;
    void hide_pointer() override;
    void show_pointer() override;
    Point pointer_position() override;
    void warp_pointer(Point point) override;
    int start_timer(int milliseconds) override;
    bool kill_timer(int platformId) override;
    int open_text_editor(const Rect& rect, const std::string& text, const TextStyle& style) override;
    std::string close_text_editor() override;
    bool text_editor_open() const override { return field_.is_open(); }
    // The desktop's scale (desktop_scale()), whatever the parent.
    double system_scale(void* parent) override;
    void service() override;

    // Two presses of a button closer than this make a double click.
    static constexpr unsigned long kDoubleClickMilliseconds = 400;
    // Whether the tile reaches the server through shared memory.
    bool tile_shared() const { return tile_.shared(); }

private:
    struct Timer {
        double period;
        double due;
    };

    void handleEvent(XEvent& event);
    void dropGrabOfHiddenWindow();
    void paintDirty();
    void runTimers();

    WindowInterface* window_ = nullptr;
    Display* display_ = nullptr;
    ::Window handle_ = 0;
    GC gc_ = nullptr;
    Cursor blank_ = 0;
    bool shareMemory_;
    X11Tile tile_;
    TextFieldX11 field_;
    Size size_;
    std::vector<Rect> dirty_;
    std::map<int, Timer> timers_;
    int buttons_ = 0;
    bool captured_ = false;
    bool pointerHidden_ = false;
    unsigned int lastPressButton_ = 0;
    Time lastPressTime_ = 0;
    bool servicing_ = false;
};

} // namespace pengui
