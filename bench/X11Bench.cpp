// The editor's full repaint in an X window on a local server, through shared memory and through
// the connection. Needs an X display (run under xvfb-run).
#include "PluginEntry.h"
#include "SkinLayout.h"
#include "Vst2WinPlugin.h"

#include <benchmark/benchmark.h>

#include "WindowX11.h"

#include <cstdint>
#include <memory>

namespace {

pengui::WindowX11* g_window = nullptr;
bool g_shareMemory = true;

VstIntPtr VST2_CALL quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

std::unique_ptr<pengui::PlatformWindowInterface> makeWindow()
{
    auto window = std::make_unique<pengui::WindowX11>(g_shareMemory);
    g_window = window.get();
    return window;
}

void BM_FullRepaint(benchmark::State& state)
{
    g_shareMemory = state.range(0) != 0;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        state.SkipWithError("no X display");
        return;
    }
    const skin_layout::SkinLayout& skin = skin_layout::wide();
    const ::Window parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(skin.size.w),
                                                static_cast<unsigned>(skin.size.h), 0, 0, 0);
    XMapWindow(display, parent);
    XSync(display, False);
    AEffect* effect = mppi::createEffect(quietHost, skin, makeWindow, true);
    effect->dispatcher(effect, effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent)), 0.0f);
    effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
    for (auto _ : state) {
        g_window->invalidate({0, 0, skin.size.w, skin.size.h});
        g_window->service();
        // A round trip: the server has drawn every tile.
        benchmark::DoNotOptimize(g_window->pointer_position());
    }
    state.counters["shared_memory"] = g_window->tile_shared() ? 1 : 0;
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    XDestroyWindow(display, parent);
    XCloseDisplay(display);
}
BENCHMARK(BM_FullRepaint)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace
