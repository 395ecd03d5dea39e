#include "X11Hand.h"

#include <X11/Xlib.h>
#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <thread>

namespace {

// Lets the server and the client behind the window take each step, as a user's pace would.
void settle()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

} // namespace

std::vector<std::uint32_t> X11Hand::pixels(XWindowId window, int width, int height) const
{
    std::vector<std::uint32_t> frame;
    // The server refuses to read a window that is not viewable yet, or past its edges: a host
    // under load maps and sizes it a moment after the UI asked.
    XWindowAttributes attributes{};
    auto readable = [&] {
        return XGetWindowAttributes(display_, window, &attributes) && attributes.map_state == IsViewable &&
               attributes.width >= width && attributes.height >= height;
    };
    for (int attempt = 0; attempt < 100 && !readable(); ++attempt)
        settle();
    if (!readable())
        return frame;
    XImage* image = XGetImage(display_, window, 0, 0, static_cast<unsigned>(width), static_cast<unsigned>(height),
                              AllPlanes, ZPixmap);
    if (!image)
        return frame;
    frame.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            frame.push_back(static_cast<std::uint32_t>(XGetPixel(image, x, y)) & 0xFFFFFFu);
    XDestroyImage(image);
    return frame;
}

void X11Hand::moveTo(XWindowId window, ScreenPoint point) const
{
    int rootX = 0, rootY = 0;
    ::Window child = 0;
    XTranslateCoordinates(display_, window, DefaultRootWindow(display_), point.x, point.y, &rootX, &rootY, &child);
    XTestFakeMotionEvent(display_, -1, rootX, rootY, 0);
    XFlush(display_);
}

void X11Hand::moveBy(int dx, int dy) const
{
    XTestFakeRelativeMotionEvent(display_, dx, dy, 0);
    XFlush(display_);
}

void X11Hand::button(bool down) const
{
    XTestFakeButtonEvent(display_, 1, down ? True : False, 0);
    XFlush(display_);
}

void X11Hand::focus(XWindowId window, ScreenPoint point) const
{
    moveTo(window, point);
    XSetInputFocus(display_, window, RevertToParent, CurrentTime);
    XSync(display_, False);
    settle();
}

void X11Hand::press(unsigned long symbol, bool control) const
{
    const KeyCode code = XKeysymToKeycode(display_, symbol);
    const bool shift = XkbKeycodeToKeysym(display_, code, 0, 0) != symbol;
    const KeyCode modifiers[] = {control ? XKeysymToKeycode(display_, XK_Control_L) : KeyCode{0},
                                 shift ? XKeysymToKeycode(display_, XK_Shift_L) : KeyCode{0}};
    for (KeyCode modifier : modifiers)
        if (modifier)
            XTestFakeKeyEvent(display_, modifier, True, 0);
    XTestFakeKeyEvent(display_, code, True, 0);
    XTestFakeKeyEvent(display_, code, False, 0);
    for (KeyCode modifier : modifiers)
        if (modifier)
            XTestFakeKeyEvent(display_, modifier, False, 0);
    XFlush(display_);
    settle();
}

void X11Hand::key(const std::string& name, bool control) const
{
    press(XStringToKeysym(name.c_str()), control);
}

void X11Hand::type(const std::string& text) const
{
    static const std::map<char, const char*> kPunctuation = {
        {'/', "slash"}, {'-', "minus"}, {'_', "underscore"}, {'.', "period"}, {' ', "space"}, {':', "colon"},
    };
    for (char c : text) {
        const auto named = kPunctuation.find(c);
        key(named != kPunctuation.end() ? named->second : std::string(1, c));
    }
}

ScreenPoint centre_of_change(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b, int width)
{
    int left = width, top = 1 << 30, right = -1, bottom = -1;
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i] == b[i])
            continue;
        const int x = static_cast<int>(i) % width, y = static_cast<int>(i) / width;
        left = std::min(left, x), right = std::max(right, x), top = std::min(top, y), bottom = std::max(bottom, y);
    }
    return {(left + right) / 2, (top + bottom) / 2};
}
