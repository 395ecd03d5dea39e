#pragma once

namespace pengui {

// The content scale an X11 desktop asks of programs: the Xft.dpi resource divided by 96, or,
// where no Xft.dpi is set, the GDK_SCALE environment variable (a whole number); never the two
// multiplied, since desktops that set both mean the same scale twice. 0 when neither says
// anything usable.
double desktop_scale(const char* resources, const char* gdkScale);
// The same for the default display's resource database and this process's environment; 0
// without a display.
double desktop_scale();

} // namespace pengui
