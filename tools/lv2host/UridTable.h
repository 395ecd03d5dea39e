#pragma once

#include <lv2/urid/urid.h>

#include <map>
#include <string>
#include <vector>

// The host's URID map and unmap: URIs numbered from 1 in the order they are first mapped. Not
// thread-safe; the state host calls it from its one thread.
class UridTable {
public:
    UridTable();
    UridTable(const UridTable&) = delete;
    UridTable& operator=(const UridTable&) = delete;

    LV2_URID map(const char* uri);
    // Null for an id never given.
    const char* unmap(LV2_URID id) const;

    LV2_URID_Map mapFeature;
    LV2_URID_Unmap unmapFeature;

private:
    std::map<std::string, LV2_URID> ids_;
    std::vector<const std::string*> uris_;
};
