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

// Waits for the server's answers to the requests sent so far, when some are still unanswered:
// a service that sent nothing costs no round trip.
void syncIfWaiting(Display* display)
{
    if (NextRequest(display) - 1 != LastKnownRequestProcessed(display))
        XSync(display, False);
}

} // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display)
{
    syncIfWaiting(display_);
    g_errorSeen = false;
    previous_ = XSetErrorHandler(recordError);
}

X11ErrorTrap::~X11ErrorTrap()
{
    syncIfWaiting(display_);
    XSetErrorHandler(previous_);
}

bool X11ErrorTrap::failed()
{
    syncIfWaiting(display_);
    return g_errorSeen;
}

} // namespace pengui
