// The editor's drawing cost on the host's user-interface thread: a full repaint of a large
// window, one knob's repaint after a value change, and one rotated picture.
#include "ApicBuilder.h"

#include "BackgroundItem.h"
#include "CtrlGroupItem.h"
#include "HeadlessWindow.h"
#include "Knob.h"
#include "PicDataFactory.h"
#include "WindowInterface.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <deque>
#include <memory>
#include <vector>

using namespace pengui;

namespace {

std::vector<std::uint32_t> greyRamp()
{
    std::vector<std::uint32_t> palette(256);
    for (std::uint32_t i = 0; i < 256; ++i)
        palette[i] = i * 0x010101u;
    return palette;
}

// A disc of `size` pixels with a soft edge, as knob artwork is: palette colours, varying alpha.
std::vector<std::uint8_t> disc(int size)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(2 * size * size));
    const double centre = (size - 1) / 2.0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const double distance = std::hypot(x - centre, y - centre);
            const double cover = std::clamp(centre - distance, 0.0, 1.0);
            const std::size_t at = static_cast<std::size_t>(2 * (y * size + x));
            pixels[at] = static_cast<std::uint8_t>((x * 255) / size);
            pixels[at + 1] = static_cast<std::uint8_t>(cover * 255.0);
        }
    }
    return apic::build(apic::kAlpha, 8, size, size, greyRamp(), pixels);
}

std::vector<std::uint8_t> backdrop(int width, int height)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(y * width + x)] = static_cast<std::uint8_t>((x + y) / 6);
    return apic::build(apic::kOpaque, 8, width, height, greyRamp(), pixels);
}

// A 700 x 700 editor: one opaque background and 60 knobs with a plate and, when `turning`, a
// frame and a pointer drawn turned as the large skin's knobs are.
struct Editor {
    explicit Editor(bool turning)
        : window(std::make_unique<HeadlessWindow>()), headless(static_cast<HeadlessWindow&>(window.platform())),
          knobs(60)
    {
        keep(backdrop(700, 700));
        keep(disc(56));
        keep(disc(48));
        keep(disc(8));
        Picture plate, frame, pointer;
        plate.set_picture(data[1].get());
        plate.set_hot_spot({28, 28});
        frame.set_picture(data[2].get());
        frame.set_hot_spot({24, 24});
        pointer.set_picture(data[3].get());
        pointer.set_hot_spot({4, 4});
        Picture back;
        back.set_picture(data[0].get());
        background.set_picture(back);
        for (std::size_t i = 0; i < knobs.size(); ++i) {
            Knob& knob = knobs[i];
            knob.box = {-28, -28, 28, 28};
            knob.set_plate(plate);
            if (turning) {
                knob.set_frame(0, frame);
                knob.set_rotate_frames(true);
                knob.set_frame_angles(0.0f, 1.0f / 32.0f);
                knob.set_pointer(pointer);
                knob.set_rotate_pointer(true);
                knob.set_pointer_radius(18.0f);
            }
            knob.update_value(static_cast<double>(i) / 60.0, 1);
            knob.set_position({50 + 100 * static_cast<int>(i % 7), 40 + 80 * static_cast<int>(i / 7)});
            group.add_control(&knob);
        }
        window.set_window_size({700, 700});
        window.set_size({700, 700});
        window.set_background_root(&background);
        window.set_control_root(&group);
        background.set_origin({0, 0});
        group.set_origin({0, 0});
        window.show(nullptr);
        headless.paint_pending();
    }

    void keep(std::vector<std::uint8_t> made)
    {
        bytes.push_back(std::move(made));
        data.push_back(PicDataFactory::instance().create(bytes.back().data(), bytes.back().size()));
    }

    std::deque<std::vector<std::uint8_t>> bytes;
    std::vector<std::unique_ptr<PicDataInterface>> data;
    WindowInterface window;
    HeadlessWindow& headless;
    BackgroundItem background;
    CtrlGroupItem group;
    std::deque<Knob> knobs;
};

// state.range(0): 0 plain pictures, 1 knobs with turned frames and pointers.
void BM_FullRepaint(benchmark::State& state)
{
    Editor editor(state.range(0) != 0);
    for (auto _ : state) {
        editor.headless.paint_all();
        benchmark::DoNotOptimize(editor.headless.frame().data());
    }
}
BENCHMARK(BM_FullRepaint)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_KnobRepaint(benchmark::State& state)
{
    Editor editor(true);
    Knob& knob = editor.knobs[24];
    double value = 0.0;
    for (auto _ : state) {
        value = value > 0.99 ? 0.0 : value + 0.013;
        knob.update_value(value, 1);
        editor.headless.paint_pending();
    }
}
BENCHMARK(BM_KnobRepaint)->Unit(benchmark::kMicrosecond);

void BM_DrawRotated(benchmark::State& state)
{
    const std::vector<std::uint8_t> bytes = disc(96);
    const auto picture = PicDataFactory::instance().create(bytes.data(), bytes.size());
    PixelBuffer buffer(128, 128);
    buffer.fill(0x00202020, 0);
    float angle = 0.1f;
    for (auto _ : state) {
        angle += 0.01f;
        // Turned about its centre, which sits in the middle of the buffer.
        const float c = std::cos(angle), s = std::sin(angle);
        picture->draw_rotated(48.0f - 64.0f * c + 64.0f * s, 48.0f - 64.0f * s - 64.0f * c, {128, 128}, angle, buffer);
        benchmark::DoNotOptimize(buffer.pixels());
    }
}
BENCHMARK(BM_DrawRotated)->Unit(benchmark::kMicrosecond);

} // namespace

