#include "X11DesktopScale.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include <X11/Xlib.h>
#include <X11/Xresource.h>

namespace pengui {

namespace {

constexpr double kBaseDpi = 96.0;

// The Xft.dpi resource of a resource database's text, or 0.
double xftDpi(const char* resources)
{
    if (!resources)
        return 0.0;
    XrmInitialize();
    XrmDatabase database = XrmGetStringDatabase(resources);
    if (!database)
        return 0.0;
    char* type = nullptr;
    XrmValue value{};
    double dpi = 0.0;
    if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr && type &&
        std::strcmp(type, "String") == 0) {
        char* end = nullptr;
        dpi = std::strtod(value.addr, &end);
        if (end == value.addr || !std::isfinite(dpi))
            dpi = 0.0;
    }
    XrmDestroyDatabase(database);
    return dpi;
}

} // namespace

double desktop_scale(const char* resources, const char* gdkScale)
{
    const double dpi = xftDpi(resources);
    if (dpi > 0.0)
        return dpi / kBaseDpi;
    if (!gdkScale || !*gdkScale)
        return 0.0;
    char* end = nullptr;
    errno = 0;
    const long whole = std::strtol(gdkScale, &end, 10);
    return *end == '\0' && errno == 0 && whole > 0 ? static_cast<double>(whole) : 0.0;
}

double desktop_scale()
{
    // A connection of its own: the resource string is the one the server held when it opened.
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 0.0;
    const double scale = desktop_scale(XResourceManagerString(display), std::getenv("GDK_SCALE"));
    XCloseDisplay(display);
    return scale;
}

} // namespace pengui
