// Knobs and faders: their shared motion engine, the frame a knob shows, the corners that spin,
// and the fader's travel, driven through the headless window.
#include "ToolkitFixture.h"

#include "Fader.h"
#include "Knob.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <random>

using namespace toolkit_test;

namespace {

// A knob of the editor's size with the defaults the toolkit gives.
struct KnobDesk {
    explicit KnobDesk(double value = 0.5)
    {
        knob.box = {-20, -20, 20, 20};
        knob.set_listener(&listener);
        knob.set_drag_range(200);
        knob.update_value(value, 1);
        desk.add(knob, {50, 50});
        desk.open();
        listener.sources.clear();
        listener.values.clear();
    }
    // A hand moving the pointer by (dx, dy) in ten steps 10 ms apart, from wherever the
    // pointer is (the window puts it back now and then).
    void drag(int dx, int dy)
    {
        for (int i = 0; i < 10; ++i) {
            desk.headless.advance(0.01);
            const Point at = desk.headless.pointer_position();
            desk.headless.move_to({at.x + dx / 10, at.y + dy / 10});
        }
    }

    Knob knob;
    RecordingListener listener;
    Desk desk;
    Point pointer{50, 50};
};

} // namespace

TEST(PotBehaviourTest, DraggingMovesTheTargetByTheRangeAndComesBackFromAnEnd)
{
    KnobDesk k(0.0);
    k.desk.headless.move_to(k.pointer);
    k.desk.headless.press(k.pointer);
    EXPECT_TRUE(k.desk.headless.pointer_hidden());
    k.drag(0, -100);
    EXPECT_NEAR(k.knob.motion().target(), 0.5, 1e-12);
    k.drag(0, -100);
    k.drag(0, -50);
    EXPECT_NEAR(k.knob.motion().target(), 1.25, 1e-12);
    k.drag(0, 10);
    EXPECT_NEAR(k.knob.motion().target(), 0.95, 1e-12) << "from the end, not from past it";
    EXPECT_LE(k.knob.value(), 1.0);
    EXPECT_EQ(k.listener.sources.front(), kSourceDrag);
}

TEST(PotBehaviourTest, SnappingNeedsTheRawValueThreeTimesCloser)
{
    Knob knob;
    PotBehaviour motion(knob);
    const std::vector<double> points = {0.0, 0.5, 1.0};
    EXPECT_DOUBLE_EQ(motion.snapped(0.3, 0.0), 0.3) << "without a list the raw value";
    motion.set_snap_list(&points);
    EXPECT_DOUBLE_EQ(motion.snapped(0.3, 0.0), 0.0);
    EXPECT_DOUBLE_EQ(motion.snapped(0.4, 0.0), 0.5);
    EXPECT_DOUBLE_EQ(motion.snapped(0.9, 0.5), 1.0);
    EXPECT_DOUBLE_EQ(motion.snapped(1.7, 0.5), 1.0) << "raw values are clamped first";
    EXPECT_DOUBLE_EQ(motion.snapped(0.2, 1.5), 0.0) << "from a target outside 0 .. 1, the nearest point";
}

TEST(PotBehaviourTest, HorizontalMovementIsFineAndStopsSnappingAfterSixteenPixels)
{
    KnobDesk k(0.5);
    k.knob.set_fine_factor(1.0f / 32.0f);
    k.desk.headless.press(k.pointer);
    for (int i = 1; i <= 4; ++i)
        k.desk.headless.move_to({50 + 10 * i, 50});
    EXPECT_EQ(k.knob.motion().axis_mode(), 1);
    EXPECT_NEAR(k.knob.motion().target(), 0.5 + 40.0 / 32.0 / 200.0, 1e-12);
    // A steep movement goes back to the vertical mode.
    for (int i = 1; i <= 3; ++i)
        k.desk.headless.move_to({90, 50 - 10 * i});
    EXPECT_EQ(k.knob.motion().axis_mode(), 0);
}

// A knob of a skin drawn at twice the scale: its range, fine snapping and spin distances double,
// so twice the hand movement in device pixels makes the same change as at 1x.
TEST(PotBehaviourTest, AtTwiceTheScaleTwiceTheMovementMakesTheSameChange)
{
    const std::vector<double> points = {0.0, 0.5, 1.0};
    auto fineDrag = [&](float scale, int steps) {
        KnobDesk k(0.5);
        k.knob.set_drag_range(static_cast<int>(200 * scale));
        k.knob.set_scale(scale);
        k.knob.set_fine_factor(1.0f / 32.0f);
        k.knob.set_snap_list(&points);
        k.desk.headless.press(k.pointer);
        for (int i = 1; i <= steps; ++i)
            k.desk.headless.move_to({50 + static_cast<int>(5 * scale) * i, 50});
        return k.knob.motion().target();
    };
    // Three steps of 5 pixels (15 at 1x, 30 at 2x) still snap back to 0.5; four no longer do.
    EXPECT_DOUBLE_EQ(fineDrag(1.0f, 3), 0.5);
    EXPECT_DOUBLE_EQ(fineDrag(2.0f, 3), 0.5);
    EXPECT_GT(fineDrag(1.0f, 4), 0.5);
    EXPECT_DOUBLE_EQ(fineDrag(2.0f, 4), fineDrag(1.0f, 4));

    auto verticalDrag = [](float scale) {
        KnobDesk k(0.0);
        k.knob.set_drag_range(static_cast<int>(200 * scale));
        k.knob.set_scale(scale);
        k.desk.headless.move_to(k.pointer);
        k.desk.headless.press(k.pointer);
        k.drag(0, static_cast<int>(-100 * scale));
        return k.knob.motion().target();
    };
    EXPECT_DOUBLE_EQ(verticalDrag(2.0f), verticalDrag(1.0f));

    auto spin = [](float scale) {
        KnobDesk k(0.5);
        k.knob.box = {static_cast<int>(-20 * scale), static_cast<int>(-20 * scale), static_cast<int>(20 * scale),
                      static_cast<int>(20 * scale)};
        k.knob.set_scale(scale);
        const Point corner{50 - static_cast<int>(17 * scale), 50 + static_cast<int>(17 * scale)};
        k.desk.headless.press(corner);
        k.desk.headless.move_to({corner.x + static_cast<int>(100 * scale), corner.y});
        k.desk.headless.advance(0.5);
        return k.knob.value();
    };
    EXPECT_DOUBLE_EQ(spin(2.0f), spin(1.0f));
    EXPECT_GT(spin(1.0f), 0.55);
}

TEST(PotBehaviourTest, TheValueGlidesToTheTargetOnTheTimerAndKeepsGlidingAfterRelease)
{
    KnobDesk k(0.0);
    k.desk.headless.press(k.pointer);
    k.drag(0, -100);
    const double moved = k.knob.value();
    EXPECT_GT(moved, 0.0);
    EXPECT_LT(moved, 0.5) << "the value follows the target, it does not jump";
    k.desk.headless.advance(0.1);
    EXPECT_GT(k.knob.value(), moved);
    EXPECT_EQ(k.listener.sources.back(), kSourceDrag) << "while the button is held";
    k.desk.headless.release(k.pointer);
    EXPECT_EQ(k.listener.events.back(), "released 200");
    k.desk.headless.advance(2.0);
    EXPECT_NEAR(k.knob.value(), 0.5, 1e-6);
    EXPECT_EQ(k.listener.sources.back(), kSourceAnimation) << "after the release";
    EXPECT_EQ(k.knob.motion().motion(), PotBehaviour::kIdle) << "stopped once the value rests";
    EXPECT_EQ(k.desk.headless.running_timers(), 0);
}

TEST(PotBehaviourTest, ARefusedChangeEndsTheGesture)
{
    KnobDesk k(0.0);
    k.desk.headless.press(k.pointer);
    k.listener.refuse = true;
    k.drag(0, -50);
    EXPECT_EQ(k.knob.motion().motion(), PotBehaviour::kIdle);
    EXPECT_EQ(k.desk.headless.running_timers(), 0);
    EXPECT_FALSE(k.desk.headless.captured());
    EXPECT_DOUBLE_EQ(k.knob.value(), 0.0);
}

TEST(KnobTest, BottomCornersSpinInTheDirectionOfTheRange)
{
    KnobDesk right(0.5);
    right.desk.headless.press({67, 67});
    EXPECT_EQ(right.knob.motion().motion(), PotBehaviour::kSpin);
    EXPECT_FALSE(right.desk.headless.pointer_hidden()) << "a spin keeps the pointer";
    right.desk.headless.advance(1.0);
    EXPECT_GT(right.knob.value(), 0.5) << "range -0.75: bottom right spins up";
    right.desk.headless.release({67, 67});
    const double released = right.knob.value();
    right.desk.headless.advance(2.0);
    EXPECT_LT(right.knob.value() - released, 0.03) << "after the release the spin dies away";
    EXPECT_EQ(right.knob.motion().motion(), PotBehaviour::kIdle);

    KnobDesk left(0.5);
    left.desk.headless.press({33, 67});
    left.desk.headless.advance(1.0);
    EXPECT_LT(left.knob.value(), 0.5) << "bottom left spins down";
    // Moving the pointer sideways sets the speed from the pointer at once.
    const double before = left.knob.value();
    left.desk.headless.move_to({133, 67});
    left.desk.headless.advance(0.5);
    EXPECT_GT(left.knob.value(), before + 0.05);

    KnobDesk middle(0.5);
    middle.desk.headless.press({50, 45});
    EXPECT_EQ(middle.knob.motion().motion(), PotBehaviour::kDrag);
}

TEST(KnobTest, TheFrameFollowsTheAngle)
{
    Knob knob;
    knob.set_frame_count(8);
    knob.set_angles(0.0f, 1.0f);
    EXPECT_EQ(knob.frame_for(0.0).index, 0);
    EXPECT_EQ(knob.frame_for(1.0 / 16.0 - 1e-9).index, 0);
    EXPECT_EQ(knob.frame_for(1.0 / 16.0).index, 1);
    EXPECT_EQ(knob.frame_for(0.5).index, 4);
    EXPECT_EQ(knob.frame_for(15.0 / 16.0).index, 0) << "turns in [-1/16, 1/16) show frame 0";
    EXPECT_NEAR(knob.frame_for(0.0).rotation, 0.0, 1e-12);
    EXPECT_NEAR(knob.frame_for(1.0 / 32.0).rotation, 1.0 / 32.0, 1e-12) << "turned by what the frame does not show";

    // The large knob: four frames a quarter of a 1/32 turn apart, offset by 1/128.
    knob.set_frame_count(4);
    knob.set_frame_angles(1.0f / 128.0f, 1.0f / 32.0f);
    knob.set_angles(0.625f, -0.75f);
    const Knob::FrameChoice atZero = knob.frame_for(0.0);
    const double turns = 0.625 - 1.0 / 128.0;
    const double f = turns * 32.0 + 0.125;
    const double fraction = f - std::floor(f);
    EXPECT_EQ(atZero.index, static_cast<int>(std::floor(fraction * 4)));
    EXPECT_NEAR(atZero.rotation, (1.0 / 128.0) * (fraction * 4 - atZero.index - 0.5), 1e-7);
    for (double v = 0.0; v <= 1.0; v += 0.01)
        EXPECT_LE(std::fabs(knob.frame_for(v).rotation), 1.0 / 256.0 + 1e-9) << v;
}

TEST(KnobTest, DrawsThePointerAtItsRadiusAndTheHighlightWhileActive)
{
    PictureStore pictures;
    KnobDesk k(0.0);
    k.knob.set_angles(0.5f, -0.75f);
    k.knob.set_pointer_radius(15.0f);
    k.knob.set_pointer(pictures.solid(2, 2, 0x00FFFFFF, {1, 1}));
    k.knob.set_highlight(pictures.solid(2, 2, 0x00FF0000, {-18, -18}));
    k.desk.headless.paint_all();
    EXPECT_GT(k.desk.headless.pixel(35, 50) & 0xFF, 0xC0u) << "value 0 at half a turn: left of the centre";
    EXPECT_EQ(k.desk.headless.pixel(65, 50), 0x00202020u);
    EXPECT_EQ(k.desk.headless.pixel(68, 68), 0x00202020u);
    k.desk.headless.press({50, 45});
    k.desk.headless.paint_pending();
    EXPECT_EQ(k.desk.headless.pixel(68, 68), 0x00FF0000u);
}

TEST(FaderTest, TheHandleTravelsAndDragsAlongItsAxis)
{
    PictureStore pictures;
    Fader fader;
    RecordingListener listener;
    fader.set_listener(&listener);
    fader.box = {-5, 0, 5, 110};
    fader.set_vertical(true);
    fader.set_travel(100);
    fader.set_spin_factor(1.0f);
    fader.set_handle(pictures.solid(10, 10, 0x00E0E0E0, {5, 5}));
    fader.update_value(0.25, 1);
    EXPECT_EQ(fader.handle_offset(0.25), (Point{0, 75}));
    Desk desk;
    desk.add(fader, {20, 10});
    desk.open();
    EXPECT_EQ(desk.headless.pixel(20, 85), 0x00E0E0E0u);

    desk.headless.move_to({20, 85});
    desk.headless.press({20, 85});
    ASSERT_EQ(fader.motion().motion(), PotBehaviour::kDrag);
    for (int i = 1; i <= 5; ++i)
        desk.headless.move_to({20, 85 - 10 * i});
    EXPECT_NEAR(fader.motion().target(), 0.75, 1e-12);
    desk.headless.advance(2.0);
    EXPECT_NEAR(fader.value(), 0.75, 1e-6);
    desk.headless.release({20, 35});
    EXPECT_EQ(desk.headless.warps().back(), (Point{20, 35})) << "the pointer comes back on the handle";

    // A press on the track spins the value towards the press.
    desk.headless.press({20, 100});
    EXPECT_EQ(fader.motion().motion(), PotBehaviour::kSpin);
    desk.headless.advance(1.0);
    EXPECT_LT(fader.value(), 0.75);
    desk.headless.release({20, 100});
}

TEST(FaderTest, NegativeTravelRunsTheOtherWay)
{
    PictureStore pictures;
    Fader fader;
    fader.box = {-120, -5, 10, 5};
    fader.set_travel(-100);
    fader.set_handle(pictures.solid(10, 10, 0x00E0E0E0, {5, 5}));
    fader.update_value(0.25, 1);
    EXPECT_EQ(fader.handle_offset(0.25), (Point{-25, 0}));
    Desk desk;
    desk.add(fader, {150, 50});
    desk.open();
    desk.headless.move_to({125, 50});
    desk.headless.press({125, 50});
    ASSERT_EQ(fader.motion().motion(), PotBehaviour::kDrag);
    for (int i = 1; i <= 5; ++i)
        desk.headless.move_to({125 - 10 * i, 50});
    EXPECT_NEAR(fader.motion().target(), 0.75, 1e-12) << "leftwards is up";
}

namespace {

// A soft-edged disc of `size` pixels with a colour ramp: turned, it shows every sub-pixel step.
Picture rampDisc(PictureStore& pictures, int size)
{
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(2 * size * size));
    const double centre = (size - 1) / 2.0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double cover = std::clamp(centre + 0.5 - std::hypot(x - centre, y - centre), 0.0, 1.0);
            pixels[static_cast<std::size_t>(2 * (y * size + x))] = static_cast<std::uint8_t>(x * 255 / size);
            pixels[static_cast<std::size_t>(2 * (y * size + x) + 1)] = static_cast<std::uint8_t>(cover * 255.0);
        }
    std::vector<std::uint32_t> palette(256);
    for (std::uint32_t i = 0; i < 256; ++i)
        palette[i] = i << 16 | (255 - i) << 8 | (i * 7 & 0xFF);
    return pictures.keep(apic::build(apic::kAlpha, 8, size, size, palette, pixels), {size / 2, size / 2});
}

// Knobs with turned frames and pointers over a striped background, some across the tiles'
// edges (every 128 pixels).
struct KnobRow {
    explicit KnobRow(PictureStore& pictures) : desk({300, 260})
    {
        std::vector<std::uint8_t> stripes(300 * 260);
        for (std::size_t i = 0; i < stripes.size(); ++i)
            stripes[i] = static_cast<std::uint8_t>((i % 300 + i / 300) / 4);
        std::vector<std::uint32_t> greys(256);
        for (std::uint32_t i = 0; i < 256; ++i)
            greys[i] = i * 0x010101u;
        Picture backdrop = pictures.keep(apic::build(apic::kOpaque, 8, 300, 260, greys, stripes), {0, 0});
        desk.background.set_picture(backdrop);
        const Picture frame = rampDisc(pictures, 40);
        const Picture pointer = rampDisc(pictures, 7);
        const Picture plate = rampDisc(pictures, 46);
        const Picture highlight = pictures.solid(6, 6, 0x00FF0000, {-14, -14});
        const Point places[] = {{60, 60}, {128, 128}, {200, 120}, {250, 200}, {120, 220}};
        for (const Point place : places) {
            Knob& knob = knobs.emplace_back();
            knob.box = {-23, -23, 23, 23};
            knob.set_plate(plate);
            knob.set_frame(0, frame);
            knob.set_rotate_frames(true);
            knob.set_frame_angles(0.0f, 1.0f / 32.0f);
            knob.set_pointer(pointer);
            knob.set_rotate_pointer(true);
            // Outside the plate: the knob's drawing reaches beyond its box.
            knob.set_pointer_radius(26.0f);
            knob.set_highlight(highlight);
            knob.update_value(0.3, 1);
            desk.add(knob, place);
        }
        desk.open();
    }
    // Forgets what every knob keeps: the next paint draws each afresh.
    void forget()
    {
        for (Knob& knob : knobs)
            knob.set_pointer_radius(26.0f);
    }

    Desk desk;
    std::deque<Knob> knobs;
};

} // namespace

TEST(KnobTest, ARepaintFromWhatTheKnobsKeptLooksAsOneDrawnAfresh)
{
    // The same random changes, presses and repaints (partial and full) on two rows of knobs; the
    // second row's knobs forget what they keep before every paint. The frames stay equal.
    PictureStore pictures;
    KnobRow kept(pictures);
    KnobRow fresh(pictures);
    std::mt19937 random(11);
    auto both = [&](auto change) {
        change(kept);
        change(fresh);
    };
    for (int step = 0; step < 160; ++step) {
        const std::size_t which = random() % kept.knobs.size();
        const int action = static_cast<int>(random() % 3);
        const double value = static_cast<double>(random() % 1000) / 999.0;
        const Point at = kept.knobs[which].window_position();
        // (No time passes: the desks share the toolkit's clock.)
        if (action == 0)
            both([&](KnobRow& row) { row.knobs[which].update_value(value, 1); });
        else if (action == 1)
            both([&](KnobRow& row) { row.desk.headless.press({at.x, at.y - 5}); });
        else
            both([&](KnobRow& row) { row.desk.headless.release({at.x, at.y - 5}); });
        fresh.forget();
        if (random() % 5 == 0)
            both([](KnobRow& row) { row.desk.headless.paint_all(); });
        else
            both([](KnobRow& row) { row.desk.headless.paint_pending(); });
        ASSERT_EQ(kept.desk.headless.frame(), fresh.desk.headless.frame()) << "step " << step;
    }
}
