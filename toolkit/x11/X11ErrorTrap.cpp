#include "X11ErrorTrap.h"

namespace pengui {

namespace {

// Xlib's handler is process-wide and gets no context; the editor's thread is the only caller.
bool g_errorSeen = false;

int recordError(Display*, XErrorEvent*)
{
    g_errorSeen = true;
    return 0;
}

} // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display)
{
    XSync(display_, False);
    g_errorSeen = false;
    previous_ = XSetErrorHandler(recordError);
}

X11ErrorTrap::~X11ErrorTrap()
{
    XSync(display_, False);
    XSetErrorHandler(previous_);
}

bool X11ErrorTrap::failed()
{
    XSync(display_, False);
    return g_errorSeen;
}

} // namespace pengui
