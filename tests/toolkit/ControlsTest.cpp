// The controls' gestures, driven through the headless window as a user would: presses,
// releases, drags and the clock's ticks.
#include "ToolkitFixture.h"

#include "FlipFlop.h"
#include "FontFactory.h"
#include "PushButton.h"
#include "Spin.h"
#include "Switch.h"
#include "TextBox.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace toolkit_test;

namespace {

constexpr std::uint32_t kOff = 0x00400000;
constexpr std::uint32_t kOn = 0x0000C000;

// Records each value change with the clock's time.
class TimedListener : public RecordingListener {
public:
    double user_value(double value, int source) override
    {
        times.push_back(Desk::now());
        return RecordingListener::user_value(value, source);
    }
    std::vector<double> times;
};

} // namespace

TEST(SwitchTest, APressOnAPositionSelectsItAndHoldsTheMouse)
{
    PictureStore pictures;
    Switch selector;
    RecordingListener listener;
    selector.set_listener(&listener);
    selector.box = {0, 0, 60, 20};
    selector.set_position_count(3);
    for (int i = 0; i < 3; ++i)
        selector.set_position_picture(i, pictures.solid(20, 20, 0x00100000u * static_cast<std::uint32_t>(i + 1), {-20 * i, 0}));
    selector.set_active_picture(pictures.solid(4, 4, 0x00FFFFFF));
    Desk desk;
    desk.add(selector, {10, 10});
    desk.open();

    desk.headless.press({55, 15});
    EXPECT_DOUBLE_EQ(selector.value(), 1.0);
    EXPECT_EQ(listener.sources, (std::vector<int>{kSourceDrag}));
    EXPECT_EQ(desk.window.capture_handler(), &selector);
    desk.headless.release({55, 15});
    EXPECT_EQ(desk.window.capture_handler(), nullptr);

    desk.headless.press({35, 15});
    desk.headless.release({35, 15});
    EXPECT_DOUBLE_EQ(selector.value(), 0.5);
    EXPECT_EQ(selector.selected(), 1);
    desk.headless.paint_pending();
    EXPECT_EQ(desk.headless.pixel(35, 25), 0x00200000u) << "the selected position's picture";
    EXPECT_EQ(desk.headless.pixel(12, 12), 0x00FFFFFFu) << "the active picture";
    EXPECT_EQ(desk.headless.pixel(15, 25), 0x00202020u) << "the others are not drawn";

    desk.headless.press({200, 100});
    EXPECT_DOUBLE_EQ(selector.value(), 0.5) << "a press outside its positions";
}

TEST(SpinTest, HeldArrowsRepeatSlowThenFastAndTheHandleDrags)
{
    PictureStore pictures;
    Spin spin;
    TimedListener listener;
    spin.set_listener(&listener);
    spin.box = {0, 0, 10, 30};
    spin.set_picture(Spin::kUp, pictures.solid(10, 10, kOn));
    spin.set_picture(Spin::kUpPressed, pictures.solid(10, 10, kOff));
    spin.set_picture(Spin::kHandle, pictures.solid(10, 10, 0x00808080, {0, -10}));
    spin.set_picture(Spin::kDown, pictures.solid(10, 10, kOn, {0, -20}));
    spin.set_picture(Spin::kDownPressed, pictures.solid(10, 10, kOff, {0, -20}));
    Desk desk;
    desk.add(spin, {0, 0});
    desk.open();
    const double pressed = Desk::now();
    desk.headless.press({5, 5});
    desk.headless.paint_pending();
    EXPECT_EQ(desk.headless.pixel(5, 5), kOff) << "the pressed arrow";
    desk.headless.advance(3.0);
    desk.headless.release({5, 5});
    const std::size_t changes = listener.values.size();
    desk.headless.advance(1.0);
    EXPECT_EQ(listener.values.size(), changes) << "nothing after the release";

    ASSERT_GT(changes, 20u);
    EXPECT_DOUBLE_EQ(listener.values[0], 0.001);
    EXPECT_NEAR(listener.times[1] - pressed, 0.6, 1e-6) << "the first repeat after 0.5 s, on a 0.1 s tick";
    EXPECT_NEAR(listener.times[2] - listener.times[1], 0.1, 1e-6);
    EXPECT_NEAR(listener.values[2] - listener.values[1], 0.001, 1e-9);
    const std::size_t last = changes - 1;
    EXPECT_NEAR(listener.times[last] - listener.times[last - 1], 0.03, 1e-6) << "fast after 2 s";
    EXPECT_NEAR(listener.values[last] - listener.values[last - 1], 0.005, 1e-9);
    std::size_t firstFast = 0;
    while (firstFast < last && listener.values[firstFast + 1] - listener.values[firstFast] < 0.003)
        ++firstFast;
    EXPECT_GT(listener.times[firstFast] - pressed, 2.0);
    EXPECT_LT(listener.times[firstFast] - pressed, 2.2);

    // The handle drags with the pointer hidden: 18 pixels up is a tenth.
    const double before = spin.value();
    desk.headless.move_to({5, 15});
    desk.headless.press({5, 15});
    EXPECT_TRUE(desk.headless.pointer_hidden());
    desk.headless.move_to({5, -3});
    EXPECT_NEAR(spin.value(), before + 0.1, 1e-9);
    desk.headless.release({5, -3});
    EXPECT_FALSE(desk.headless.pointer_hidden());

    // Down steps down; a refusing listener stops the repeat.
    desk.headless.press({5, 25});
    EXPECT_NEAR(spin.value(), before + 0.099, 1e-9);
    listener.refuse = true;
    desk.headless.advance(1.0);
    EXPECT_EQ(desk.headless.running_timers(), 0);
    EXPECT_EQ(desk.window.capture_handler(), nullptr);
}

TEST(FlipFlopTest, TogglesAtOnceOrAnimatesOverItsDuration)
{
    PictureStore pictures;
    FlipFlop instant, animated;
    RecordingListener listener;
    instant.set_listener(&listener);
    for (FlipFlop* flip : {&instant, &animated}) {
        flip->box = {0, 0, 10, 10};
        flip->set_frame(0, pictures.solid(10, 10, kOff));
        flip->set_frame(1, pictures.solid(10, 10, kOn));
    }
    animated.set_frame_count(5);
    for (int i = 0; i < 5; ++i)
        animated.set_frame(i, pictures.solid(10, 10, 0x00000010u * static_cast<std::uint32_t>(i + 1)));
    animated.set_duration(0.3);
    Desk desk;
    desk.add(instant, {0, 0});
    desk.add(animated, {20, 0});
    desk.open();

    desk.headless.press({5, 5});
    desk.headless.release({5, 5});
    EXPECT_DOUBLE_EQ(instant.value(), 1.0);
    EXPECT_FALSE(instant.animating());
    desk.headless.paint_pending();
    EXPECT_EQ(desk.headless.pixel(5, 5), kOn) << "redrawn at once";

    desk.headless.press({25, 5});
    EXPECT_DOUBLE_EQ(animated.value(), 1.0);
    EXPECT_EQ(animated.frame_shown(), 0);
    desk.headless.advance(0.15);
    EXPECT_NEAR(animated.phase(), 0.5, 0.11);
    EXPECT_EQ(animated.frame_shown(), 2);
    desk.headless.advance(0.2);
    EXPECT_FALSE(animated.animating());
    EXPECT_EQ(animated.frame_shown(), 4);
    desk.headless.paint_pending();
    EXPECT_EQ(desk.headless.pixel(25, 5), 0x00000050u);

    desk.headless.press({25, 5});
    desk.headless.advance(0.09);
    EXPECT_NEAR(animated.phase(), 0.7, 0.11) << "back down towards 0";
    desk.headless.advance(0.3);
    EXPECT_EQ(animated.frame_shown(), 0);
}

TEST(PushButtonTest, APressActsAndFlashesUpAndBack)
{
    PictureStore pictures;
    PushButton button;
    RecordingListener listener;
    button.set_listener(&listener);
    button.box = {0, 0, 10, 10};
    button.set_frame_count(3);
    Desk desk;
    desk.add(button, {0, 0});
    desk.open();
    desk.headless.press({5, 5});
    EXPECT_EQ(listener.events, (std::vector<std::string>{"begin_edit", "action 0 0"}));
    EXPECT_TRUE(button.animating());
    std::vector<int> frames;
    for (int i = 0; i < 5; ++i) {
        desk.headless.advance(0.03);
        frames.push_back(button.frame_shown());
    }
    // Phases 0.6, 0.8 (past the middle, on the way back), 0.2, then rest.
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 0, 0, 0}));
    EXPECT_FALSE(button.animating());
    EXPECT_DOUBLE_EQ(button.phase(), 0.0);
    desk.headless.release({5, 5});
    EXPECT_EQ(listener.events.size(), 2u) << "a release does nothing";
}

TEST(TextBoxTest, EditsOpenOverTheTextAndOnlyAcceptedTextIsTaken)
{
    const std::vector<std::uint8_t> fontBytes = apic::font(std::vector<int>(128, 2), 8);
    const std::unique_ptr<FontInterface> font = FontFactory::instance().create(fontBytes.data(), fontBytes.size());
    TextBox box;
    RecordingListener listener;
    box.set_listener(&listener);
    box.box = {0, 0, 40, 10};
    box.set_font(font.get());
    box.set_text_size({40, 10});
    box.set_text_offset({-2, -1});
    box.set_colour(0x00FFFFFF);
    box.set_text("A");
    Desk desk;
    desk.add(box, {30, 40});
    desk.open();

    desk.headless.press({35, 45});
    EXPECT_FALSE(desk.headless.text_editor_open()) << "not editable";
    box.set_editable(true);
    desk.headless.press({35, 45});
    ASSERT_TRUE(desk.headless.text_editor_open());
    EXPECT_EQ(desk.headless.editor_rect(), (Rect{32, 41, 72, 51}));
    EXPECT_EQ(desk.headless.editor_text(), "A");
    EXPECT_TRUE(box.editing());
    desk.headless.type("2.6");
    desk.headless.press_escape();
    EXPECT_EQ(box.text(), "A");
    EXPECT_FALSE(box.editing());

    desk.headless.press({35, 45});
    desk.headless.type("150");
    desk.headless.press_enter();
    EXPECT_EQ(box.text(), "150");
    EXPECT_EQ(listener.events.back(), "action 1 0");
    desk.headless.paint_pending();
    EXPECT_NE(desk.headless.pixel(32, 41), 0x00202020u) << "the text is drawn from the text offset";

    // Hiding the box while it edits commits what was typed.
    desk.headless.press({35, 45});
    desk.headless.type("7");
    ShowObject hide(false);
    box.handle_message(hide);
    EXPECT_FALSE(desk.headless.text_editor_open());
    EXPECT_EQ(box.text(), "7");
}
