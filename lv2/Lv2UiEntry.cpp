// The LV2 UI module's entry point: the UI's descriptor, whose functions reach Lv2Ui.
#include "Lv2Ui.h"
#include "ProductInfo.h"

#include <lv2/ui/ui.h>

#include <cstring>

namespace {

lv2port::Lv2Ui* uiOf(LV2UI_Handle handle)
{
    return static_cast<lv2port::Lv2Ui*>(handle);
}

const void* findFeature(const LV2_Feature* const* features, const char* uri)
{
    for (; features && *features; ++features)
        if (std::strcmp((*features)->URI, uri) == 0)
            return (*features)->data;
    return nullptr;
}

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features)
{
    void* parent = const_cast<void*>(findFeature(features, LV2_UI__parent));
    if (!pluginUri || std::strcmp(pluginUri, product::kLv2Uri) != 0 || !parent || !write || !widget)
        return nullptr;
    lv2port::Lv2UiHost::Services services;
    services.write = write;
    services.controller = controller;
    services.touch = static_cast<const LV2UI_Touch*>(findFeature(features, LV2_UI__touch));
    services.resize = static_cast<const LV2UI_Resize*>(findFeature(features, LV2_UI__resize));
    services.subscribe = static_cast<const LV2UI_Port_Subscribe*>(findFeature(features, LV2_UI__portSubscribe));
    services.map = static_cast<const LV2_URID_Map*>(findFeature(features, LV2_URID__map));
    try {
        auto* ui = new lv2port::Lv2Ui(services, parent);
        *widget = ui->widget();
        return ui;
    } catch (...) {
        return nullptr;
    }
}

void cleanup(LV2UI_Handle handle)
{
    delete uiOf(handle);
}

void portEvent(LV2UI_Handle handle, uint32_t port, uint32_t size, uint32_t format, const void* buffer)
{
    uiOf(handle)->portEvent(port, size, format, buffer);
}

int idle(LV2UI_Handle handle)
{
    try {
        return uiOf(handle)->idle();
    } catch (...) {
        return 1;
    }
}

const LV2UI_Idle_Interface kIdleInterface = {idle};

const void* extensionData(const char* uri)
{
    return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &kIdleInterface : nullptr;
}

const LV2UI_Descriptor kDescriptor = {product::kLv2UiUri, instantiate, cleanup, portEvent, extensionData};

} // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index)
{
    return index == 0 ? &kDescriptor : nullptr;
}
