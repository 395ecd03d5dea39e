// What a host pays for the editor: creating the plug-in with its editor built (hosts create
// every plug-in when they scan), closing it, and showing a burst of automation of every
// parameter on the open editor, repainted.
#include "GuiInterface.h"
#include "HeadlessWindow.h"
#include "PluginEntry.h"
#include "SkinLayout.h"
#include "Vst2WinPlugin.h"

#include <benchmark/benchmark.h>

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

AEffect* create()
{
    return mppi::createEffect(quietHost, benchSkin(), makeWindow);
}

void close(AEffect* effect)
{
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

void BM_CreatePlugin(benchmark::State& state)
{
    for (auto _ : state) {
        AEffect* effect = create();
        benchmark::DoNotOptimize(effect);
        state.PauseTiming();
        close(effect);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreatePlugin)->Unit(benchmark::kMillisecond);

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
    AEffect* effect = create();
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    auto* gui = static_cast<mppi::Vst2WinPlugin*>(effect->object)->gui();
    gui->open(nullptr);
    g_window->paint_all();
    float value = 0.25f;
    for (auto _ : state) {
        value = value == 0.25f ? 0.75f : 0.25f;
        for (VstInt32 index = 0; index < effect->numParams; ++index)
            effect->setParameter(effect, index, index == 0 ? effect->getParameter(effect, 0) : value);
        gui->idle();
        g_window->paint_pending();
        g_window->clear_invalidated();
    }
    gui->close();
    close(effect);
}
BENCHMARK(BM_AutomationBurst)->Unit(benchmark::kMicrosecond);

} // namespace
