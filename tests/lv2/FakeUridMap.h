#pragma once

#include <lv2/urid/urid.h>

#include <map>
#include <string>

// The host's URID map in the tests: URIs numbered from 1 in the order they are first mapped.
class FakeUridMap {
public:
    LV2_URID map(const std::string& uri)
    {
        return ids_.emplace(uri, static_cast<LV2_URID>(ids_.size() + 1)).first->second;
    }
    static LV2_URID callback(LV2_URID_Map_Handle handle, const char* uri)
    {
        return static_cast<FakeUridMap*>(handle)->map(uri);
    }

    LV2_URID_Map feature{this, callback};

private:
    std::map<std::string, LV2_URID> ids_;
};
