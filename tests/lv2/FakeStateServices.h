#pragma once

#include <lv2/log/log.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

// The host's log: every line with its type.
class FakeLog {
public:
    struct Line {
        LV2_URID type;
        std::string text;
    };
    static int vprint(LV2_Log_Handle handle, LV2_URID type, const char* format, va_list args)
    {
        char text[512];
        const int length = std::vsnprintf(text, sizeof text, format, args);
        static_cast<FakeLog*>(handle)->lines.push_back({type, text});
        return length;
    }
    static int print(LV2_Log_Handle handle, LV2_URID type, const char* format, ...)
    {
        va_list args;
        va_start(args, format);
        const int length = vprint(handle, type, format, args);
        va_end(args);
        return length;
    }
    LV2_Log_Log feature{this, print, vprint};
    std::vector<Line> lines;
};

// The host's side of a saved state: the values by key.
class FakeStore {
public:
    struct Value {
        std::vector<std::uint8_t> bytes;
        std::uint32_t type;
        std::uint32_t flags;
    };
    static LV2_State_Status store(LV2_State_Handle handle, std::uint32_t key, const void* value, std::size_t size,
                                  std::uint32_t type, std::uint32_t flags)
    {
        const auto* bytes = static_cast<const std::uint8_t*>(value);
        static_cast<FakeStore*>(handle)->values[key] = {{bytes, bytes + size}, type, flags};
        return LV2_STATE_SUCCESS;
    }
    static const void* retrieve(LV2_State_Handle handle, std::uint32_t key, std::size_t* size, std::uint32_t* type,
                                std::uint32_t* flags)
    {
        auto& values = static_cast<FakeStore*>(handle)->values;
        const auto found = values.find(key);
        if (found == values.end())
            return nullptr;
        *size = found->second.bytes.size();
        *type = found->second.type;
        *flags = found->second.flags;
        return found->second.bytes.data();
    }
    std::map<std::uint32_t, Value> values;
};
