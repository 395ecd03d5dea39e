#pragma once

#include "RenderingBufferInterface.h"
#include "TextLineEditor.h"

#include <memory>
#include <string>

#include <X11/Xlib.h>

namespace pengui {

// The text field a text box opens over itself on X11: a child window of the editor's window,
// drawn by a TextLineEditor in the box's font, with a blinking caret. It takes the keyboard
// focus while open and gives it back on close. Enter and losing the focus commit, Escape
// cancels. The editor's thread only; it shares the editor window's display connection.
class TextFieldX11 {
public:
    enum class Outcome { kEditing, kAccepted, kCancelled };

    TextFieldX11() = default;
    ~TextFieldX11();
    TextFieldX11(const TextFieldX11&) = delete;
    TextFieldX11& operator=(const TextFieldX11&) = delete;

    // Opens over `rect` of `parent` with `text` selected whole, drawing with `gc`: 0, or -1.
    int open(Display* display, ::Window parent, GC gc, const Rect& rect, const std::string& text,
             const TextStyle& style);
    // Closes the field and answers the text it held (the last text when already closed).
    std::string close();
    bool is_open() const { return handle_ != 0; }
    ::Window handle() const { return handle_; }

    // Takes an event for the field's window and answers whether the user finished.
    Outcome handle_event(XEvent& event);
    // Blinks the caret by the clock's `now` (seconds).
    void tick(double now);

    // Caret phases, on and off, in seconds.
    static constexpr double kBlinkSeconds = 0.5;

private:
    Outcome onKey(XKeyEvent& event);
    void paint();

    Display* display_ = nullptr;
    ::Window handle_ = 0;
    ::Window previousFocus_ = 0;
    int previousRevert_ = RevertToParent;
    GC gc_ = nullptr;
    XImage* image_ = nullptr;
    std::unique_ptr<PixelBuffer> pixels_;
    Size size_;
    TextStyle style_;
    TextLineEditor editor_;
    double blinkStart_ = 0.0;
    bool caretShown_ = true;
};

} // namespace pengui
