#include "StateHost.h"

#include <lv2/atom/atom.h>
#include <lv2/log/log.h>
#include <lv2/state/state.h>

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace {

constexpr const char* kStateUri = "urn:zorvane:saved-state";

// A node that frees itself.
using Node = std::unique_ptr<LilvNode, decltype(&lilv_node_free)>;

} // namespace

StateHost::StateHost(const std::string& pluginUri, double sampleRate)
    : log_(urids_.mapFeature), world_(lilv_world_new(), lilv_world_free),
      mapFeature_{LV2_URID__map, &urids_.mapFeature},
      unmapFeature_{LV2_URID__unmap, &urids_.unmapFeature}, logFeature_{LV2_LOG__log, &log_.feature},
      features_{&mapFeature_, &unmapFeature_, &logFeature_, nullptr}
{
    lilv_world_load_all(world_.get());
    const Node uri(lilv_new_uri(world_.get(), pluginUri.c_str()), lilv_node_free);
    plugin_ = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world_.get()), uri.get());
    if (!plugin_)
        throw std::runtime_error("no LV2 plug-in " + pluginUri + " (LV2_PATH names the folders searched)");
    const std::uint32_t ports = lilv_plugin_get_num_ports(plugin_);
    controls_.assign(ports, 0.0f);
    isControlInput_.assign(ports, false);
    lilv_plugin_get_port_ranges_float(plugin_, nullptr, nullptr, controls_.data());
    const Node input(lilv_new_uri(world_.get(), LILV_URI_INPUT_PORT), lilv_node_free);
    const Node controlClass(lilv_new_uri(world_.get(), LILV_URI_CONTROL_PORT), lilv_node_free);
    instance_ = lilv_plugin_instantiate(plugin_, sampleRate, features_);
    if (!instance_)
        throw std::runtime_error("the plug-in " + pluginUri + " does not instantiate");
    for (std::uint32_t index = 0; index < ports; ++index) {
        const LilvPort* port = lilv_plugin_get_port_by_index(plugin_, index);
        isControlInput_[index] =
            lilv_port_is_a(plugin_, port, input.get()) && lilv_port_is_a(plugin_, port, controlClass.get());
        if (isControlInput_[index])
            lilv_instance_connect_port(instance_, index, &controls_[index]);
    }
}

StateHost::~StateHost()
{
    lilv_instance_free(instance_);
}

float* StateHost::control(const char* symbol)
{
    const Node name(lilv_new_string(world_.get(), symbol), lilv_node_free);
    const LilvPort* port = lilv_plugin_get_port_by_symbol(plugin_, name.get());
    if (!port)
        return nullptr;
    const std::uint32_t index = lilv_port_get_index(plugin_, port);
    return isControlInput_[index] ? &controls_[index] : nullptr;
}

const void* StateHost::portValue(const char* symbol, void* host, std::uint32_t* size, std::uint32_t* type)
{
    auto* self = static_cast<StateHost*>(host);
    float* value = self->control(symbol);
    *size = value ? sizeof(float) : 0;
    *type = value ? self->urids_.map(LV2_ATOM__Float) : 0;
    return value;
}

void StateHost::setPortValue(const char* symbol, void* host, const void* value, std::uint32_t size,
                             std::uint32_t type)
{
    auto* self = static_cast<StateHost*>(host);
    float* control = self->control(symbol);
    if (!control)
        return;
    // Turtle gives a number written with an exponent as a double, and an integer as an int.
    UridTable& urids = self->urids_;
    if (type == urids.map(LV2_ATOM__Float) && size == sizeof(float))
        *control = *static_cast<const float*>(value);
    else if (type == urids.map(LV2_ATOM__Double) && size == sizeof(double))
        *control = static_cast<float>(*static_cast<const double*>(value));
    else if (type == urids.map(LV2_ATOM__Int) && size == sizeof(std::int32_t))
        *control = static_cast<float>(*static_cast<const std::int32_t*>(value));
    else if (type == urids.map(LV2_ATOM__Long) && size == sizeof(std::int64_t))
        *control = static_cast<float>(*static_cast<const std::int64_t*>(value));
}

void StateHost::restoreState(const LilvState* state)
{
    lilv_state_restore(state, instance_, setPortValue, this, 0, features_);
}

void StateHost::applyPreset(const std::string& presetUri)
{
    const Node preset(lilv_new_uri(world_.get(), presetUri.c_str()), lilv_node_free);
    lilv_world_load_resource(world_.get(), preset.get());
    LilvState* state = lilv_state_new_from_world(world_.get(), &urids_.mapFeature, preset.get());
    if (!state)
        throw std::runtime_error("no preset " + presetUri);
    restoreState(state);
    lilv_state_free(state);
}

void StateHost::restore(const std::string& path)
{
    std::ifstream file(path);
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (!file)
        throw std::runtime_error("cannot read " + path);
    LilvState* state = lilv_state_new_from_string(world_.get(), &urids_.mapFeature, text.c_str());
    if (!state)
        throw std::runtime_error(path + " holds no saved state");
    restoreState(state);
    lilv_state_free(state);
}

void StateHost::save(const std::string& path)
{
    LilvState* state = lilv_state_new_from_instance(plugin_, instance_, &urids_.mapFeature, nullptr, nullptr, nullptr,
                                                    nullptr, portValue, this,
                                                    LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, features_);
    if (!state)
        throw std::runtime_error("the plug-in's state cannot be saved");
    char* text =
        lilv_state_to_string(world_.get(), &urids_.mapFeature, &urids_.unmapFeature, state, kStateUri, nullptr);
    lilv_state_free(state);
    if (!text)
        throw std::runtime_error("the plug-in's state cannot be written as Turtle");
    std::ofstream file(path);
    file << text;
    lilv_free(text);
    file.close();
    if (!file)
        throw std::runtime_error("cannot write " + path);
}
