#pragma once

#include <X11/Xlib.h>

namespace pengui {

// Catches the X errors of the requests made while it lives (a parent window that is no window,
// one the host has already destroyed, a focus change the server refuses) instead of letting
// Xlib's default handler end the host's process. Its end waits for the server's answers to every
// request made, then the previous handler returns; where every request is answered already, it
// asks the server nothing.
class X11ErrorTrap {
public:
    explicit X11ErrorTrap(Display* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // Whether any request so far failed; waits for the server's answers.
    bool failed();

private:
    Display* display_;
    int (*previous_)(Display*, XErrorEvent*) = nullptr;
};

} // namespace pengui
