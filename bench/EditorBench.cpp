// What a host pays for the editor: creating the plug-in with its editor built (hosts create
// every plug-in when they scan), at 1x and at the 2x a musician chose, a full repaint at 1x and
// 2x, closing it, showing a burst of automation of every parameter on the open editor,
// repainted, an open editor that nothing changes, and a host automating sixteen parameters
// thirty times a second each.
#include "GuiInterface.h"
#include "HeadlessWindow.h"
#include "PluginEntry.h"
#include "QuenloGui.h"
#include "SettingsFile.h"
#include "SkinLayout.h"
#include "Vst2WinPlugin.h"

#include "CoreShare.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

namespace {

pengui::HeadlessWindow* g_window = nullptr;

VstIntPtr VST2_CALL quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

std::unique_ptr<pengui::PlatformWindowInterface> makeWindow()
{
    auto window = std::make_unique<pengui::HeadlessWindow>();
    g_window = window.get();
    return window;
}

const skin_layout::SkinLayout& benchSkin()
{
    return std::string(SKIN_NAME) == "compact" ? skin_layout::compact() : skin_layout::wide();
}

// A settings folder where the musician chose 200 %, for the editor built at 2x.
const std::filesystem::path& twiceFolder()
{
    static const std::filesystem::path folder = [] {
        const std::filesystem::path path = std::filesystem::temp_directory_path() / "zorvane-bench-2x";
        SettingsFile(path, "settings").write(mppi::QuenloGui::kScaleSetting, "2");
        return path;
    }();
    return folder;
}

// The plug-in with its editor at 1x, or at 2x (`scaled`) as a musician chose it.
AEffect* create(bool scaled = false)
{
    return mppi::createEffect(quietHost, benchSkin(), makeWindow, false, scaled ? twiceFolder() : std::filesystem::path());
}

void close(AEffect* effect)
{
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

// The plug-in with its editor open on the headless window and painted whole.
struct OpenPlugin {
    explicit OpenPlugin(bool scaled = false) : effect(create(scaled))
    {
        effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
        gui = static_cast<mppi::Vst2WinPlugin*>(effect->object)->gui();
        gui->open(nullptr);
        g_window->paint_all();
    }
    ~OpenPlugin()
    {
        gui->close();
        close(effect);
    }
    OpenPlugin(const OpenPlugin&) = delete;
    OpenPlugin& operator=(const OpenPlugin&) = delete;

    AEffect* effect;
    mppi::GuiInterface* gui = nullptr;
};

// At 1x (argument 0) and 2x (1).
void BM_CreatePlugin(benchmark::State& state)
{
    for (auto _ : state) {
        AEffect* effect = create(state.range(0) != 0);
        benchmark::DoNotOptimize(effect);
        state.PauseTiming();
        close(effect);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreatePlugin)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A full repaint of the open editor (a host's window uncovered), at 1x (argument 0) and 2x (1).
void BM_FullRepaint(benchmark::State& state)
{
    const OpenPlugin open(state.range(0) != 0);
    for (auto _ : state) {
        g_window->paint_all();
        benchmark::DoNotOptimize(g_window->frame().data());
    }
}
BENCHMARK(BM_FullRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ClosePlugin(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        AEffect* effect = create();
        state.ResumeTiming();
        close(effect);
    }
}
BENCHMARK(BM_ClosePlugin)->Unit(benchmark::kMillisecond);

// Every parameter changed by the host, then the editor's next apply tick and the repaint.
void BM_AutomationBurst(benchmark::State& state)
{
    const OpenPlugin open;
    AEffect* effect = open.effect;
    float value = 0.25f;
    for (auto _ : state) {
        value = value == 0.25f ? 0.75f : 0.25f;
        for (VstInt32 index = 0; index < effect->numParams; ++index)
            effect->setParameter(effect, index, index == 0 ? effect->getParameter(effect, 0) : value);
        open.gui->idle();
        g_window->paint_pending();
        g_window->clear_invalidated();
    }
}
BENCHMARK(BM_AutomationBurst)->Unit(benchmark::kMicrosecond);

// One effEditIdle of an open editor that nothing changes, the host idling at 50 Hz. The
// counter is the share of a core that costs.
void BM_IdleEditor(benchmark::State& state)
{
    const OpenPlugin open;
    AEffect* effect = open.effect;
    const CoreShare share;
    for (auto _ : state) {
        g_window->advance(0.02);
        effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
        g_window->paint_pending();
    }
    state.counters["core_percent"] = share.percent(state, 50.0);
}
BENCHMARK(BM_IdleEditor)->Unit(benchmark::kMicrosecond);

// One second of a host automating 16 parameters at 30 changes a second each, the editor
// serviced by effEditIdle at 50 Hz and repainted. The counter is the share of a core it costs.
void BM_AutomationSixteenAtThirty(benchmark::State& state)
{
    constexpr int kParameters = 16;
    constexpr int kIdles = 50;
    constexpr int kChanges = 30;
    const OpenPlugin open;
    AEffect* effect = open.effect;
    int change = 0;
    const CoreShare share;
    for (auto _ : state) {
        for (int idle = 0; idle < kIdles; ++idle) {
            // The changes due by this idle, every parameter on its own phase.
            for (int parameter = 0; parameter < kParameters; ++parameter) {
                const VstInt32 index = 60 + parameter;
                const int due = ((idle + 1) * kChanges + parameter) / kIdles - (idle * kChanges + parameter) / kIdles;
                for (int i = 0; i < due; ++i, ++change)
                    effect->setParameter(effect, index, 0.5f + 0.4f * std::sin(0.37f * static_cast<float>(change)));
            }
            g_window->advance(1.0 / kIdles);
            effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
            g_window->paint_pending();
        }
    }
    state.counters["core_percent"] = share.percent(state, 1.0);
}
BENCHMARK(BM_AutomationSixteenAtThirty)->Unit(benchmark::kMillisecond);

} // namespace
