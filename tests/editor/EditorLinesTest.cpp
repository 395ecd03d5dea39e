// The two delay lines and the time controls: linked drags with the right button and its
// modifiers, beat snapping, the tempo controls with and without a host tempo, the flag
// flip-flops and the relayout between one and two lines.
#include "EditorFixture.h"

#include "FlagListener.h"
#include "NormalizedParamInterface.h"
#include "NumericParamMgr.h"
#include "GuiParam.h"
#include "HostGuiVst2Win.h"
#include "Spin.h"
#include "Knob.h"

#include <algorithm>
#include <cmath>
#include <vector>

using namespace editor_test;

namespace {

constexpr int kLine2Feedback = kLine1Feedback + kLineParams;

// The musical values the time controls snap to, in beats.
const std::vector<double> kDelayBeats = {1.0 / 128, 1.0 / 64, 1.0 / 32, 1.0 / 24, 1.0 / 16, 1.0 / 12, 1.0 / 8,
                                         1.0 / 6,   1.0 / 4,  1.0 / 3,  3.0 / 8,  1.0 / 2,  2.0 / 3,  3.0 / 4,
                                         1.0,       4.0 / 3,  3.0 / 2,  2.0,      3.0,      4.0};
const std::vector<double> kTapBeats = {0.0,     1.0 / 32, 1.0 / 24, 1.0 / 16, 1.0 / 12, 1.0 / 8, 1.0 / 6,
                                       1.0 / 4, 1.0 / 3,  3.0 / 8,  1.0 / 2,  2.0 / 3,  3.0 / 4, 1.0,
                                       4.0 / 3, 3.0 / 2,  2.0,      3.0,      4.0};
const std::vector<double> kLfoBeats = {1.0 / 64, 1.0 / 32, 1.0 / 24, 1.0 / 16, 1.0 / 12, 1.0 / 8, 1.0 / 6, 1.0 / 4,
                                       1.0 / 3,  3.0 / 8,  1.0 / 2,  2.0 / 3,  3.0 / 4,  1.0,     4.0 / 3, 3.0 / 2,
                                       2.0,      3.0,      4.0,      6.0,      8.0,      12.0,    16.0,    24.0,
                                       32.0,     48.0,     64.0,     96.0,     128.0,    192.0,   256.0};

bool inTable(double beats, const std::vector<double>& table)
{
    return std::any_of(table.begin(), table.end(), [beats](double v) { return std::fabs(beats - v) <= 1e-3 * (v + 1e-3); });
}

// Host services whose host refuses every window size.
class RefusingHostGui : public mppi::HostGuiVst2Win {
public:
    int resizeEditor(int, int) override { return -1; }
};

class LinesTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        click(miscControl("Delay2Listener"));
        tick();
        ASSERT_EQ(gui().lines(), 2);
    }
    double real(int index) { return gui().metaControl(index)->listener()->param()->toReal(param(index)); }
    // Sets both feedback controls through the host.
    void feedbacks(float line1, float line2)
    {
        hostSets(kLine1Feedback, line1);
        hostSets(kLine2Feedback, line2);
        tick();
    }
    // Drags line 1's feedback by `pixels` upwards with the button held from the last grab.
    void dragFeedback(int pixels) { drag(0, -pixels); }
    double feedback1() { return control(kLine1Feedback).value(); }
    double feedback2() { return control(kLine2Feedback).value(); }
};

} // namespace

TEST_F(LinesTest, ARightDragMovesTheOtherLineInStepOrMirroredWithControl)
{
    feedbacks(0.2f, 0.9f);
    grab(control(kLine1Feedback), kRightButton);
    dragFeedback(40);
    EXPECT_GT(feedback1(), 0.2);
    EXPECT_NEAR(feedback2(), feedback1(), 1e-9);
    letGo(kRightButton);
    EXPECT_NEAR(feedback2(), feedback1(), 1e-9) << "the partner follows the glide to its end";
    EXPECT_FLOAT_EQ(param(kLine2Feedback), param(kLine1Feedback));
    EXPECT_GE(automations(kLine2Feedback), 1);

    grab(control(kLine1Feedback), kRightButton, kControlKey);
    dragFeedback(-30);
    letGo(kRightButton, kControlKey);
    EXPECT_NEAR(feedback2(), 1.0 - feedback1(), 1e-6);
}

TEST_F(LinesTest, WithShiftTheOffsetAtThePressIsKept)
{
    feedbacks(0.2f, 0.5f);
    grab(control(kLine1Feedback), kRightButton, kShiftKey);
    for (int step = 0; step < 4; ++step) {
        dragFeedback(20);
        EXPECT_NEAR(feedback2(), std::min(feedback1() + 0.3, 1.0), 1e-6);
    }
    dragFeedback(400);
    window().advance(1.0);
    EXPECT_NEAR(feedback1(), 1.0, 1e-9);
    EXPECT_NEAR(feedback2(), 1.0, 1e-6) << "from line 1 at 0.7 upwards line 2 stays at 1";
    dragFeedback(-1000);
    window().advance(1.0);
    EXPECT_NEAR(feedback1(), 0.0, 1e-9);
    EXPECT_NEAR(feedback2(), 0.3, 1e-6) << "line 1 at 0 leaves line 2 at 0.3";
    letGo(kRightButton, kShiftKey);
}

TEST_F(LinesTest, WithShiftAndControlTheSumAtThePressIsKept)
{
    feedbacks(0.2f, 0.5f);
    grab(control(kLine1Feedback), kRightButton, kShiftKey | kControlKey);
    for (int step = 0; step < 3; ++step) {
        dragFeedback(20);
        EXPECT_NEAR(feedback1() + feedback2(), 0.7, 1e-6);
    }
    dragFeedback(400);
    window().advance(1.0);
    EXPECT_NEAR(feedback2(), 0.0, 1e-6) << "line 1 past the sum leaves line 2 at 0";
    dragFeedback(-1000);
    window().advance(1.0);
    EXPECT_NEAR(feedback2(), 0.7, 1e-6);
    letGo(kRightButton, kShiftKey | kControlKey);
}

TEST_F(LinesTest, ALeftDragNeverMovesTheOtherLine)
{
    feedbacks(0.2f, 0.5f);
    host_.clear();
    for (const int modifiers : {0, kShiftKey, kControlKey, kShiftKey | kControlKey}) {
        grab(control(kLine1Feedback), 1, modifiers);
        dragFeedback(30);
        letGo(1, modifiers);
    }
    EXPECT_GT(feedback1(), 0.2);
    EXPECT_NEAR(feedback2(), 0.5, 1e-6);
    EXPECT_EQ(automations(kLine2Feedback), 0);
}

TEST_F(LinesTest, InBeatsTheTimeControlsSnapToTheirTablesAndInMillisecondsMoveFreely)
{
    if (gui().timeUnitMode() == 0)
        click(miscControl("MsBpmListener"));
    tick();
    ASSERT_EQ(gui().timeUnitMode(), 1);

    struct Case {
        int index;
        const std::vector<double>* table;
    };
    // Every time parameter counts in beats, whatever unit it shows.
    for (const Case& c : {Case{kLine1Time, &kDelayBeats}, Case{kTap1Time, &kTapBeats}, Case{kLine1FeedbackPeriod, &kLfoBeats}}) {
        SCOPED_TRACE(c.index);
        grab(control(c.index == kLine1FeedbackPeriod ? kLine1Feedback : c.index));
        letGo();
        ControlInterface* pot = c.index == kLine1FeedbackPeriod ? gui().detail().selected()->periodKnob() : &control(c.index);
        std::vector<double> seen;
        grab(*pot);
        for (int step = 0; step < 6; ++step) {
            dragAlong(*pot, 12);
            window().advance(0.5);
            const double beats = real(c.index);
            EXPECT_TRUE(inTable(beats, *c.table)) << beats;
            seen.push_back(beats);
        }
        letGo();
        EXPECT_GT(seen.back(), seen.front()) << "snapping still moves";
    }

    click(miscControl("MsBpmListener"));
    tick();
    ASSERT_EQ(gui().timeUnitMode(), 0);
    hostSets(kLine1Time, 0.3f);
    tick();
    int offTable = 0;
    grab(control(kLine1Time));
    for (int step = 0; step < 6; ++step) {
        dragAlong(control(kLine1Time), 10);
        window().advance(0.5);
        offTable += !inTable(real(kLine1Time), kDelayBeats);
    }
    letGo();
    EXPECT_GE(offTable, 5) << "milliseconds move freely";
}

TEST_F(LinesTest, EachFlagFlipFlopMakesOneHostChangeOfFlags)
{
    mppi::FlagListener& flags = gui().flagListener();
    struct Case {
        const char* listener;
        int bit;
    };
    for (const Case& c : {Case{"MsBpmListener", 6}, Case{"SustLoopListener", 4}, Case{"Delay2Listener", 5}}) {
        SCOPED_TRACE(c.listener);
        const int before = flags.bits();
        for (int press = 0; press < 2; ++press) {
            host_.clear();
            click(miscControl(c.listener));
            tick();
            EXPECT_EQ(automations(kFlags), 1);
            EXPECT_EQ(flags.bits(), before ^ (press == 0 ? 1 << c.bit : 0)) << "press " << press;
            EXPECT_EQ(mppi::FlagListener::read_bits(flags.param()->toReal(param(kFlags))), flags.bits());
        }
    }
}

TEST_F(LinesTest, TheLineTwoSwitchRelayoutsAndAProgramWithOneLineRelayoutsBack)
{
    const pengui::Rect repaint = testSkin().relayoutRepaint;
    if (std::string(SKIN_NAME) == "wide") {
        EXPECT_EQ(repaint, (pengui::Rect{0, 468, 700, 700}));
    }

    window().clear_invalidated();
    effect_->dispatch(effSetProgram, 0, 9); // one line
    tick();
    EXPECT_EQ(gui().lines(), 1);
    EXPECT_EQ(miscControl("Delay2Listener").value(), 0.0);
    const auto& invalidated = window().invalidated();
    EXPECT_NE(std::find(invalidated.begin(), invalidated.end(), repaint), invalidated.end());
    window().paint_pending();
    const Point line2 = centre(control(kLine2Feedback));
    host_.clear();
    window().press(line2);
    window().release(line2);
    EXPECT_EQ(host_.calls().size(), 0u) << "line 2's controls left the window";

    window().clear_invalidated();
    click(miscControl("Delay2Listener"));
    EXPECT_EQ(gui().lines(), 2);
    EXPECT_NE(std::find(invalidated.begin(), invalidated.end(), repaint), invalidated.end());

    // Host services that refuse the size keep the layout.
    click(miscControl("Delay2Listener"));
    ASSERT_EQ(gui().lines(), 1);
    auto* refusing = new RefusingHostGui;
    refusing->setPlugin(plugin_);
    gui().setHostGui(refusing);
    window().clear_invalidated();
    EXPECT_EQ(gui().relayout(2), -1);
    EXPECT_EQ(gui().lines(), 1);
    EXPECT_EQ(std::find(invalidated.begin(), invalidated.end(), repaint), invalidated.end());
}

TEST_F(EditorTest, TheTempoSpinAndBoxSetTheTempoWithoutAHostTempo)
{
    ControlInterface& spin = miscControl("TempoSpinListener");
    ControlInterface& box = miscControl("TempoTextBoxListener");
    ASSERT_TRUE(box.enabled());
    const double before = gui().tempo();
    const pengui::Rect up = dynamic_cast<pengui::Spin&>(spin).picture(pengui::Spin::kUp).box;
    const Point upAt{spin.window_position().x + (up.x0 + up.x1) / 2, spin.window_position().y + (up.y0 + up.y1) / 2};
    window().press(upAt);
    window().advance(1.0);
    window().release(upAt);
    EXPECT_GT(gui().tempo(), before) << "held, the up arrow repeats";
    EXPECT_EQ(textOf(box), paramText(kTempo));
    EXPECT_GE(automations(kTempo), 1);

    typeInto(box, "90");
    EXPECT_NEAR(gui().tempo(), 90.0, 1e-3);
    EXPECT_EQ(textOf(box), paramText(kTempo));
    typeInto(box, "fast");
    EXPECT_NEAR(gui().tempo(), 90.0, 1e-3) << "nonsense re-applies the current tempo";
    EXPECT_EQ(textOf(box), paramText(kTempo));
}

namespace {

class HostTempoTest : public EditorTest {
protected:
    void SetUp() override { create(true); }
};

} // namespace

TEST_F(HostTempoTest, WithAHostTempoTheTempoControlsOnlyShowIt)
{
    ControlInterface& box = miscControl("TempoTextBoxListener");
    EXPECT_FALSE(box.enabled());
    std::vector<float> silence(256, 0.0f), left, right;
    effect_->render(silence, silence, left, right, 256);
    tick();
    EXPECT_NEAR(gui().tempo(), 100.0, 1e-3);
    EXPECT_EQ(textOf(box), paramText(kTempo));

    ControlInterface& spin = miscControl("TempoSpinListener");
    host_.clear();
    const Point at = centre(spin);
    window().press(at);
    drag(0, -20);
    letGo();
    click(box);
    EXPECT_FALSE(window().text_editor_open());
    EXPECT_EQ(automations(kTempo), 0) << "neither the spin nor the box sets the tempo";
}
