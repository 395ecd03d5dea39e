#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Xlib's, declared here so that its macros stay out of whoever includes this.
struct _XDisplay;
using XWindowId = unsigned long;

// A place in a window, in its pixels.
struct ScreenPoint {
    int x;
    int y;
};

// The tests' eye and hand on an X display, as a user's would be: a window's pixels, and the
// pointer and the keyboard moved through the XTest extension.
class X11Hand {
public:
    // `display` outlives it.
    explicit X11Hand(_XDisplay* display) : display_(display) {}

    // The window's pixels as 0x00RRGGBB, `width` by `height` from its corner; empty when the
    // window cannot be read.
    std::vector<std::uint32_t> pixels(XWindowId window, int width, int height) const;
    void moveTo(XWindowId window, ScreenPoint point) const;
    void moveBy(int dx, int dy) const;
    void button(bool down) const;
    // Gives `window` the keyboard, with the pointer at `point` in it.
    void focus(XWindowId window, ScreenPoint point) const;
    // Presses and releases the key of a keysym name ("Return", "s"), with Control held when
    // asked, and Shift where the keysym needs it.
    void key(const std::string& name, bool control = false) const;
    // Types letters, digits and the punctuation of paths.
    void type(const std::string& text) const;

private:
    void press(unsigned long keysym, bool control) const;

    _XDisplay* display_;
};

// The centre of the pixels that differ between two frames of `width` columns.
ScreenPoint centre_of_change(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b, int width);
