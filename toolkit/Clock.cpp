#include "Clock.h"

#include "Sys.h"

namespace pengui {

namespace {

double (*clockSource)() = nullptr;

} // namespace

double now_seconds()
{
    return clockSource ? clockSource() : sys::now_seconds();
}

void set_clock_source(double (*source)())
{
    clockSource = source;
}

} // namespace pengui
