#include "CountingLog.h"

#include <cstdio>

CountingLog::CountingLog(LV2_URID_Map& map)
    : feature{this, printCallback, vprintCallback}, error_(map.map(map.handle, LV2_LOG__Error)),
      warning_(map.map(map.handle, LV2_LOG__Warning))
{
}

int CountingLog::printCallback(LV2_Log_Handle handle, LV2_URID type, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    const int written = vprintCallback(handle, type, format, args);
    va_end(args);
    return written;
}

int CountingLog::vprintCallback(LV2_Log_Handle handle, LV2_URID type, const char* format, va_list args)
{
    auto* self = static_cast<CountingLog*>(handle);
    if (type == self->error_)
        ++self->errors_;
    std::fputs(type == self->error_ ? "error: " : type == self->warning_ ? "warning: " : "note: ", stderr);
    return std::vfprintf(stderr, format, args);
}
