#include "WideDrawing.h"

namespace pengui::wide_drawing {

namespace {

bool& switchedOn()
{
    static bool on = available();
    return on;
}

} // namespace

bool available()
{
#if (defined(__i386__) || defined(__x86_64__)) && (defined(__GNUC__) || defined(__clang__))
    static const bool offered = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return offered;
#else
    return false;
#endif
}

bool enabled()
{
    return switchedOn();
}

void setEnabled(bool enabled)
{
    switchedOn() = enabled && available();
}

} // namespace pengui::wide_drawing
