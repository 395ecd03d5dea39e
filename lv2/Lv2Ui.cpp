#include "Lv2Ui.h"

#include "FactoryPrograms.h"
#include "FixedPorts.h"
#include "GuiMisc.h"
#include "ParamIndexes.h"
#include "ParamLayout.h"
#include "SettingsFile.h"
#include "SkinLayout.h"
#include "SkinResourceChoice.h"
#include "Sys.h"
#include "WindowInterface.h"
#include "WindowX11.h"

#include <lv2/atom/atom.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>

namespace lv2port {

namespace {

// A fresh plug-in holds the first program: the editor shows it until the ports tell more.
mppi::ProgramSlot freshSound()
{
    return mppi::load_factory_programs().program(0);
}

// The skin the musician chose in the settings file; the large one unless it says compact.
const skin_layout::SkinLayout& chosenSkin()
{
    const SettingsFile settings(sys::settings_folder(), SettingsFile::kUserFile);
    const bool compact = settings.read(Lv2Ui::kSkinSetting) == std::optional<std::string>("compact");
    select_skin_resources(compact);
    return compact ? skin_layout::compact() : skin_layout::wide();
}

} // namespace

Lv2Ui::Lv2Ui(const Lv2UiHost::Services& services, void* parent)
    : presets_(services.map, services.write, services.controller, freshSound()), gui_(chosenSkin()),
      subscriptions_(services.subscribe), map_(services.map)
{
    registry_.init1();
    registry_.init2();
    registry_.applyProgram(freshSound());
    const param_table::Layout& layout = param_table::layout();
    ports_.reserve(layout.size());
    for (int index = 0; index < registry_.paramCount(); ++index)
        ports_.emplace_back(*registry_.param(index), port_kind(layout[static_cast<std::size_t>(index)]));

    auto host = std::make_unique<Lv2UiHost>(services, ports_);
    host->setGui(&gui_);
    gui_.setHostGui(host.release());
    auto platform = std::make_unique<pengui::WindowX11>();
    window_ = platform.get();
    gui_.setWindow(new pengui::WindowInterface(std::move(platform)));
    gui_.setDsp(&registry_);
    gui_.setPresetStore(&presets_);
    gui_.init1();
    gui_.init2();
    if (gui_.open(parent) != 0)
        throw std::runtime_error("the editor's window cannot open");
    // The host learns the fixed size where it asks to.
    const mppi::GuiInterface::Size size = gui_.size();
    gui_.hostGui()->resizeEditor(size.width, size.height);
    subscribe(true);
    presets_.request();
}

Lv2Ui::~Lv2Ui()
{
    gui_.close();
    subscribe(false);
}

void Lv2Ui::subscribe(bool on)
{
    if (!subscriptions_ || !map_)
        return;
    const std::pair<std::uint32_t, const char*> ports[] = {{kTempoOutput, LV2_UI__floatProtocol},
                                                           {kPresetsOutput, LV2_ATOM__eventTransfer}};
    for (const auto& [port, protocol] : ports) {
        const LV2_URID urid = map_->map(map_->handle, protocol);
        if (on && subscriptions_->subscribe)
            subscriptions_->subscribe(subscriptions_->handle, port, urid, nullptr);
        else if (!on && subscriptions_->unsubscribe)
            subscriptions_->unsubscribe(subscriptions_->handle, port, urid, nullptr);
    }
}

LV2UI_Widget Lv2Ui::widget() const
{
    return reinterpret_cast<LV2UI_Widget>(static_cast<std::uintptr_t>(window_->handle()));
}

void Lv2Ui::portEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format, const void* buffer)
{
    if (port == kPresetsOutput) {
        presets_.receive(format, size, buffer);
        return;
    }
    if (format != 0 || size != sizeof(float) || !buffer)
        return;
    float value = 0.0f;
    std::memcpy(&value, buffer, sizeof value);
    if (port == kTempoOutput) {
        tempoInEffectHeard_ = true;
        show(mppi::kTempoIndex, value);
    } else if (port < ports_.size() && !(port == mppi::kTempoIndex && tempoInEffectHeard_)) {
        show(port, value);
    }
}

void Lv2Ui::show(std::uint32_t index, float value)
{
    if (std::isnan(value))
        return;
    const ParamPort& target = ports_[index];
    const float normalized = target.normalizedOf(value);
    // The echo of the editor's own write, or a value already shown.
    if (normalized == target.param().normalized())
        return;
    target.param().setNormalized(normalized);
    gui_.paramChanged(static_cast<int>(index), normalized, kPortPriority);
}

int Lv2Ui::idle()
{
    gui_.idle();
    return window_->created() ? 0 : 1;
}

} // namespace lv2port
