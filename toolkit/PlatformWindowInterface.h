#pragma once

#include "Geometry.h"
#include "TextLineEditor.h"

#include <string>

namespace pengui {

class RenderingBufferInterface;
class WindowInterface;

// What the toolkit's window needs from a platform: a child window inside the host's, painting
// through a 128 x 128 tile, the pointer, timers and a one-line text editor. Win32, X11 and a
// headless window for tests and tools implement it. Every call comes on the editor's thread.
//
// The platform reports back to the WindowInterface it is attached to: paint requests
// (`paint`), mouse input (`mouse_move`, `mouse_click`), the end of a capture (`capture_lost`,
// also when the toolkit released it), timer ticks (`platform_tick`), the text editor's close
// (`text_editor_closed`) and the window's destruction (`platform_destroyed`).
class PlatformWindowInterface {
public:
    virtual ~PlatformWindowInterface() = default;

    // Called once by the window that owns the platform side.
    virtual void attach(WindowInterface* window) = 0;
    // Creates the child window of `size` inside `parent` (a platform window handle): 0, or -1.
    virtual int create(void* parent, Size size) = 0;
    virtual void destroy() = 0;
    virtual bool created() const = 0;
    // Gives the platform window a new size.
    virtual void resize(Size size) = 0;
    // Marks `rect` (window pixels) for painting.
    virtual void invalidate(const Rect& rect) = 0;
    // The tile that painting draws into; its blit copies to the window.
    virtual RenderingBufferInterface& tile() = 0;

    // Takes the pointer; answers whether this window now holds it.
    virtual bool take_capture() = 0;
    // Gives it back; the platform then reports capture_lost.
    virtual void release_capture() = 0;
    virtual void hide_pointer() = 0;
    virtual void show_pointer() = 0;
    // The pointer's position relative to the window's top-left.
    virtual Point pointer_position() = 0;
    // Puts the pointer at `point` relative to the window's top-left.
    virtual void warp_pointer(Point point) = 0;

    // Starts a repeating timer: a platform id that is unique in the process, or 0 on failure.
    virtual int start_timer(int milliseconds) = 0;
    virtual bool kill_timer(int platformId) = 0;

    // Opens the one-line editor over `rect` (window pixels) with `text` selected whole: 0 or -1.
    // A platform that draws the field itself draws it in `style`.
    virtual int open_text_editor(const Rect& rect, const std::string& text, const TextStyle& style) = 0;
    // Closes it and answers the text it held.
    virtual std::string close_text_editor() = 0;
    virtual bool text_editor_open() const = 0;

    // The factor the system scales content by in windows inside `parent` (a platform window
    // handle, null while the host has given none): 1 at 96 DPI, 0 when the system says nothing.
    // May open a connection to the display for the question.
    virtual double system_scale(void* parent) = 0;

    // Reads the events waiting for the window, runs the timers that are due and paints what is
    // invalid. Platforms whose system delivers all that themselves leave it empty; the editor
    // calls it from the host's idle.
    virtual void service() {}
};

} // namespace pengui
