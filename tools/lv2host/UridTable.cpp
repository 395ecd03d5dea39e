#include "UridTable.h"

UridTable::UridTable()
    : mapFeature{this,
                 [](LV2_URID_Map_Handle handle, const char* uri) { return static_cast<UridTable*>(handle)->map(uri); }},
      unmapFeature{this, [](LV2_URID_Unmap_Handle handle, LV2_URID id) {
                       return static_cast<const UridTable*>(handle)->unmap(id);
                   }}
{
}

LV2_URID UridTable::map(const char* uri)
{
    const auto [entry, added] = ids_.emplace(uri, static_cast<LV2_URID>(uris_.size() + 1));
    if (added)
        uris_.push_back(&entry->first);
    return entry->second;
}

const char* UridTable::unmap(LV2_URID id) const
{
    return id >= 1 && id <= uris_.size() ? uris_[id - 1]->c_str() : nullptr;
}
