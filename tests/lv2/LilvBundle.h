#pragma once

#include <lilv/lilv.h>

#include <string>
#include <vector>

// The build's LV2 bundle loaded with lilv, as a host finds it, and the plug-in in it.
class LilvBundle {
public:
    LilvBundle();
    ~LilvBundle();
    LilvBundle(const LilvBundle&) = delete;
    LilvBundle& operator=(const LilvBundle&) = delete;

    LilvWorld* world() const { return world_; }
    // Null when the bundle holds no plug-in under the product's URI.
    const LilvPlugin* plugin() const { return plugin_; }
    // A node for a full URI; owned by the bundle.
    const LilvNode* uri(const std::string& uri);

private:
    LilvWorld* world_;
    const LilvPlugin* plugin_ = nullptr;
    LilvNode* bundle_;
    std::vector<LilvNode*> nodes_;
};
