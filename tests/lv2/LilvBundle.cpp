#include "LilvBundle.h"

#include "ProductInfo.h"

LilvBundle::LilvBundle() : world_(lilv_world_new())
{
    lilv_world_load_specifications(world_);
    bundle_ = lilv_new_file_uri(world_, nullptr, LV2_BUNDLE "/");
    lilv_world_load_bundle(world_, bundle_);
    const LilvPlugins* plugins = lilv_world_get_all_plugins(world_);
    LilvNode* pluginUri = lilv_new_uri(world_, product::kLv2Uri);
    plugin_ = lilv_plugins_get_by_uri(plugins, pluginUri);
    lilv_node_free(pluginUri);
    if (plugin_)
        lilv_world_load_resource(world_, lilv_plugin_get_uri(plugin_));
}

LilvBundle::~LilvBundle()
{
    for (LilvNode* node : nodes_)
        lilv_node_free(node);
    lilv_node_free(bundle_);
    lilv_world_free(world_);
}

const LilvNode* LilvBundle::uri(const std::string& uri)
{
    nodes_.push_back(lilv_new_uri(world_, uri.c_str()));
    return nodes_.back();
}
