#pragma once

namespace pengui {

// The toolkit's clock in seconds (the system's millisecond clock by default). Gestures, timers
// and animations all read it, so a test or tool can run them on a clock of its own.
double now_seconds();

// Replaces the clock's source; null restores the system clock. Editor thread only.
void set_clock_source(double (*source)());

} // namespace pengui
