#pragma once

#include <lv2/log/log.h>
#include <lv2/urid/urid.h>

#include <cstdarg>

// The host's log:log: writes each message to the standard error after its type's name, and
// counts the errors. The plug-in's own thread calls it; not thread-safe.
class CountingLog {
public:
    explicit CountingLog(LV2_URID_Map& map);
    CountingLog(const CountingLog&) = delete;
    CountingLog& operator=(const CountingLog&) = delete;

    int errors() const { return errors_; }

    LV2_Log_Log feature;

private:
    static int printCallback(LV2_Log_Handle handle, LV2_URID type, const char* format, ...);
    static int vprintCallback(LV2_Log_Handle handle, LV2_URID type, const char* format, va_list args);

    LV2_URID error_;
    LV2_URID warning_;
    int errors_ = 0;
};
