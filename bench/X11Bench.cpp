// The editor's full repaint in an X window on a local server, through shared memory and through
// the connection, and one idle of an open editor that nothing changes. Needs an X display (run
// under xvfb-run).
#include "PluginEntry.h"
#include "SkinLayout.h"
#include "Vst2WinPlugin.h"

#include "CoreShare.h"

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

// The plug-in with its editor open in an X window that is a child of a top-level one.
struct OpenEditor {
    explicit OpenEditor(bool shareMemory)
    {
        g_shareMemory = shareMemory;
        display = XOpenDisplay(nullptr);
        if (!display)
            return;
        parent = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, static_cast<unsigned>(skin.size.w),
                                     static_cast<unsigned>(skin.size.h), 0, 0, 0);
        XMapWindow(display, parent);
        XSync(display, False);
        effect = mppi::createEffect(quietHost, skin, makeWindow, true);
        effect->dispatcher(effect, effEditOpen, 0, 0, reinterpret_cast<void*>(static_cast<std::uintptr_t>(parent)), 0.0f);
        effect->dispatcher(effect, effEditIdle, 0, 0, nullptr, 0.0f);
    }
    ~OpenEditor()
    {
        if (!display)
            return;
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        XDestroyWindow(display, parent);
        XCloseDisplay(display);
    }

    const skin_layout::SkinLayout& skin = skin_layout::wide();
    Display* display = nullptr;
    ::Window parent = 0;
    AEffect* effect = nullptr;
};

void BM_FullRepaint(benchmark::State& state)
{
    OpenEditor open(state.range(0) != 0);
    if (!open.display) {
        state.SkipWithError("no X display");
        return;
    }
    for (auto _ : state) {
        g_window->invalidate({0, 0, open.skin.size.w, open.skin.size.h});
        g_window->service();
        // A round trip: the server has drawn every tile.
        benchmark::DoNotOptimize(g_window->pointer_position());
    }
    state.counters["shared_memory"] = g_window->tile_shared() ? 1 : 0;
}
BENCHMARK(BM_FullRepaint)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// One effEditIdle of an open editor that nothing changes; the counter is the share of a core
// that costs when the host idles at 50 Hz.
void BM_IdleEditor(benchmark::State& state)
{
    OpenEditor open(true);
    if (!open.display) {
        state.SkipWithError("no X display");
        return;
    }
    const CoreShare share;
    for (auto _ : state)
        open.effect->dispatcher(open.effect, effEditIdle, 0, 0, nullptr, 0.0f);
    state.counters["core_percent"] = share.percent(state, 50.0);
}
BENCHMARK(BM_IdleEditor)->Unit(benchmark::kMicrosecond);

} // namespace
