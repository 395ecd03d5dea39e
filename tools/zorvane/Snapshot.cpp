#include "Snapshot.h"

#include "CommandLine.h"
#include "HeadlessWindow.h"
#include "NumValListener.h"
#include "PluginEntry.h"
#include "PluginHost.h"
#include "QuenloGui.h"
#include "SkinLayout.h"
#include "SkinResourceChoice.h"
#include "Vst2WinPlugin.h"

#include <charconv>

namespace {

// The entry point's choices; the plug-in calls back before anything can carry them.
const skin_layout::SkinLayout* g_skin = nullptr;
pengui::HeadlessWindow* g_window = nullptr;

std::unique_ptr<pengui::PlatformWindowInterface> makeHeadless()
{
    auto window = std::make_unique<pengui::HeadlessWindow>();
    g_window = window.get();
    return window;
}

AEffect* VST2_CALL snapshotEntry(audioMasterCallback host)
{
    return mppi::createEffect(host, *g_skin, makeHeadless);
}

int parameterIndex(PluginHost& host, const std::string& text)
{
    int index = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (error == std::errc() && end == text.data() + text.size())
        return index;
    return host.findParam(text);
}

} // namespace

int take_snapshot(const CommandLine& line)
{
    const bool compact = line.skin == "compact";
    g_skin = compact ? &skin_layout::compact() : &skin_layout::wide();
    select_skin_resources(compact);
    PluginHost host(snapshotEntry, compact ? "QuenloCompact" : "QuenloWide");
    host.setTempo(line.tempo);
    host.start(44100.0, line.blockSize);
    if (line.program)
        host.selectProgram(host.findProgram(*line.program));
    for (const ParameterSetting& setting : line.settings) {
        const int index = setting.index ? *setting.index : host.findParam(setting.name);
        if (index < 0 || index >= host.paramCount())
            throw UsageError("there is no parameter " + std::to_string(index));
        host.setParam(index, setting.value);
    }

    auto* plugin = static_cast<mppi::Vst2WinPlugin*>(host.effect()->object);
    auto* gui = static_cast<mppi::QuenloGui*>(plugin->gui());
    // The scale announced as a host announces its windows' content scale, taken when the host
    // asks for the editor's size.
    AEffect* effect = host.effect();
    effect->dispatcher(effect, effVendorSpecific, fourCharacterCode('P', 'r', 'e', 'S'), fourCharacterCode('A', 'e', 'C', 's'),
                       nullptr, line.scale);
    gui->size();
    if (gui->scale() != line.scale)
        throw std::runtime_error("the editor cannot be drawn at that scale");
    if (!g_window || gui->open(nullptr) != 0)
        throw std::runtime_error("the editor does not open");
    gui->applyPendingChanges();
    if (line.select) {
        const int index = parameterIndex(host, *line.select);
        mppi::MetaControl* meta = gui->metaControl(index);
        auto* main = meta ? dynamic_cast<mppi::NumValListenerInterface*>(meta->listener()) : nullptr;
        if (!main)
            throw UsageError("the parameter " + *line.select + " has no detail panel");
        main->begin_edit();
    }
    g_window->paint_all();
    if (!g_window->write_png(line.output))
        throw std::runtime_error("cannot write " + line.output);
    gui->close();
    return 0;
}
