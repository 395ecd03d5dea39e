#include "Lv2UiHost.h"

#include "GuiInterface.h"
#include "NormalizedParamInterface.h"
#include "ProgramSlot.h"
#include "WindowInterface.h"

#include <algorithm>
#include <cmath>

namespace lv2port {

Lv2UiHost::Lv2UiHost(const Services& services, const std::vector<ParamPort>& ports)
    : services_(services), ports_(ports)
{
}

double Lv2UiHost::query(const std::string&)
{
    return 0.0;
}

bool Lv2UiHost::testPriority(int index, int)
{
    return valid(index);
}

void Lv2UiHost::touch(int index, bool grabbed)
{
    if (services_.touch && services_.touch->touch)
        services_.touch->touch(services_.touch->handle, static_cast<std::uint32_t>(index), grabbed);
}

void Lv2UiHost::beginEdit(int index)
{
    if (valid(index) && gestures_.begin(index))
        touch(index, true);
}

void Lv2UiHost::endEdit(int index)
{
    if (valid(index) && gestures_.end(index))
        touch(index, false);
}

void Lv2UiHost::endAllEdits()
{
    for (int index : gestures_.endAll())
        touch(index, false);
}

void Lv2UiHost::write(int index, float normalized)
{
    const ParamPort& port = ports_[static_cast<std::size_t>(index)];
    // The port value that gives back exactly this normalized value; else the nearest in range.
    const double nearest = port.kind().scale.toPort(port.param().toReal(normalized));
    const float value = port.portValueOf(normalized).value_or(
        static_cast<float>(std::clamp(nearest, static_cast<double>(port.minimum()), static_cast<double>(port.maximum()))));
    if (services_.write)
        services_.write(services_.controller, static_cast<std::uint32_t>(index), sizeof value, 0, &value);
}

bool Lv2UiHost::setParameter(int index, float normalized, int priority)
{
    if (!valid(index) || std::isnan(normalized))
        return false;
    normalized = std::clamp(normalized, 0.0f, 1.0f);
    ports_[static_cast<std::size_t>(index)].param().setNormalized(normalized);
    if (gui_)
        gui_->paramChanged(index, normalized, priority);
    // A change outside any gesture (a click, a typed value) is a gesture of its own.
    const bool alone = !gestures_.open(index);
    if (alone)
        beginEdit(index);
    write(index, normalized);
    if (alone)
        endEdit(index);
    return true;
}

void Lv2UiHost::applyProgram(const mppi::ProgramSlot& program, int priority)
{
    const int count = std::min(program.valueCount(), static_cast<int>(ports_.size()));
    for (int index = 0; index < count; ++index)
        if (program.value(index) != ports_[static_cast<std::size_t>(index)].param().normalized())
            setParameter(index, program.value(index), priority);
}

int Lv2UiHost::resizeEditor(int width, int height)
{
    if (pengui::WindowInterface* window = gui_ ? gui_->window() : nullptr)
        window->set_size({width, height});
    if (services_.resize && services_.resize->ui_resize)
        services_.resize->ui_resize(services_.resize->handle, width, height);
    return 0;
}

} // namespace lv2port
