// What a host that records touch automation hears from the editor: every user gesture begins
// before its first value and ends once, after its last (a knob's glide after the release
// included), whatever ends it; changes the host made itself come back as nothing at all.
#include "EditorFixture.h"

#include "DspInterface.h"
#include "FlagListener.h"
#include "GuiParam.h"
#include "NormalizedParamInterface.h"
#include "NumericParamMgr.h"
#include "PotControl.h"
#include "PresetManager.h"
#include "Spin.h"
#include "Switch.h"

#include <vector>

using namespace editor_test;

namespace {

class GestureTest : public EditorTest {
protected:
    int begins(int index) const { return host_.count(audioMasterBeginEdit, index); }
    int ends(int index) const { return host_.count(audioMasterEndEdit, index); }
    // One gesture on `index` that the host heard at least one value of, and nothing wrong.
    void expectOneGesture(int index)
    {
        EXPECT_EQ(begins(index), 1) << "parameter " << index;
        EXPECT_EQ(ends(index), 1) << "parameter " << index;
        EXPECT_GE(automations(index), 1) << "parameter " << index;
        EXPECT_EQ(host_.gestureFaults(), "");
    }
    mppi::PresetManager& presets() { return gui().misc().presets(); }
    // The bits a host sends for "Flags" to hold `bits`.
    float flagsFor(int bits) { return plugin_->dsp()->param(kFlags)->toNormalized(bits + 0.1); }
    int flagBits() { return mppi::FlagListener::read_bits(plugin_->dsp()->param(kFlags)->real()); }
};

} // namespace

TEST_F(GestureTest, ADragIsOneGestureThatEndsWhenTheGlideAfterTheReleaseStops)
{
    for (const int index : {kLine1Feedback, kLine1HsCutoff, kTap1Time}) {
        SCOPED_TRACE(index);
        host_.clear();
        grab(control(index));
        drag(20, -60);
        EXPECT_EQ(begins(index), 1);
        window().release(window().pointer_position());
        window().advance(0.05);
        EXPECT_EQ(ends(index), 0) << "the value still glides towards where the hand left it";
        window().advance(1.0);
        expectOneGesture(index);
    }
}

TEST_F(GestureTest, FlipFlopsSwitchesTheSpinAndTypedValuesAreGesturesOfTheirOwn)
{
    click(miscControl("SustLoopListener"));
    expectOneGesture(kFlags);

    auto& filter = dynamic_cast<pengui::Switch&>(control(kLine1FilterType));
    const pengui::Rect& position = filter.position_picture(filter.selected() == 0 ? 1 : 0).box;
    host_.clear();
    clickAt({filter.window_position().x + (position.x0 + position.x1) / 2,
             filter.window_position().y + (position.y0 + position.y1) / 2});
    expectOneGesture(kLine1FilterType);

    // The spin's arrow held down steps on and on: one gesture until it is let go.
    auto& spin = dynamic_cast<pengui::Spin&>(miscControl("TempoSpinListener"));
    const pengui::Rect& up = spin.picture(pengui::Spin::kUp).box;
    const Point arrow{spin.window_position().x + (up.x0 + up.x1) / 2, spin.window_position().y + (up.y0 + up.y1) / 2};
    host_.clear();
    window().move_to(arrow);
    window().press(arrow);
    window().advance(1.0);
    window().release(arrow);
    EXPECT_GE(automations(kTempo), 3);
    expectOneGesture(kTempo);

    click(control(kLine1Feedback));
    window().advance(1.0);
    host_.clear();
    typeInto(gui().detail().selected()->valueBox(), "25");
    window().advance(1.0);
    expectOneGesture(kLine1Feedback);
}

TEST_F(GestureTest, ARightDragMovesBothLinesEachInOneGesture)
{
    host_.clear();
    grab(control(kLine1Feedback), kRightButton);
    drag(0, -50);
    letGo(kRightButton);
    expectOneGesture(kLine1Feedback);
    expectOneGesture(kLine1Feedback + kLineParams);
}

TEST_F(GestureTest, APresetGlideHoldsWhatItMovesAndAnInterruptingRecallKeepsWhatItMovesOn)
{
    // Preset 0: more feedback and the sustain loop on; preset 1: less feedback, the same flags
    // and another shelf cutoff.
    auto store = [&](int preset) {
        click(miscControl("PresetMemListener"));
        click(miscControl("PresetNumberListener", preset));
    };
    constexpr int kSustain = 1 << mppi::FlagListener::kSustainLoopBit;
    const float feedback = param(kLine1Feedback);
    const int bits = flagBits();
    hostSets(kLine1Feedback, 0.8f);
    hostSets(kFlags, flagsFor(bits ^ kSustain));
    hostSets(kLine1HsCutoff, 0.9f);
    tick();
    store(0);
    hostSets(kLine1Feedback, 0.2f);
    hostSets(kLine1HsCutoff, 0.3f);
    tick();
    store(1);
    hostSets(kFlags, flagsFor(bits));
    hostSets(kLine1Feedback, feedback);
    hostSets(kLine1HsCutoff, 0.9f);
    tick();
    typeInto(miscControl("PresetTimeDisplayListener"), "2");

    host_.clear();
    click(miscControl("PresetNumberListener", 0));
    window().advance(0.55);
    EXPECT_EQ(begins(kLine1Feedback), 1);
    EXPECT_EQ(begins(kFlags), 1);
    EXPECT_EQ(begins(kLine1HsCutoff), 0) << "the first glide does not move it";
    EXPECT_EQ(host_.gestureFaults(false), "");

    click(miscControl("PresetNumberListener", 1));
    EXPECT_EQ(ends(kLine1Feedback), 0) << "both glides move the feedback: one gesture";
    EXPECT_EQ(ends(kFlags), 1) << "the flags already are where the second glide goes";
    EXPECT_EQ(begins(kLine1HsCutoff), 1);
    window().advance(2.1);
    EXPECT_FALSE(presets().number(1).gliding());
    expectOneGesture(kLine1Feedback);
    expectOneGesture(kLine1HsCutoff);
    EXPECT_FLOAT_EQ(param(kLine1Feedback), 0.2f);
}

TEST_F(GestureTest, AGestureEndsWhenItsWindowIsLostAndMotionWithoutTheButtonChangesNothing)
{
    const int index = kLine1HsCutoff;
    ControlInterface& knob = control(index);
    auto lose = [&](const char* how, auto loseIt) {
        SCOPED_TRACE(how);
        host_.clear();
        grab(knob);
        drag(0, -40);
        loseIt();
        window().release_unseen();
        window().advance(1.0);
        const float settled = param(index);
        const int heard = host_.count(audioMasterAutomate);
        drag(0, -60);
        window().advance(1.0);
        EXPECT_FLOAT_EQ(param(index), settled) << "the knob no longer follows the pointer";
        EXPECT_EQ(host_.count(audioMasterAutomate), heard);
        EXPECT_FALSE(dynamic_cast<pengui::PotControl&>(knob).motion().motion()) << "no gesture runs";
        expectOneGesture(index);
    };
    lose("the system took the capture", [&] { window().break_capture(); });
    lose("the release went elsewhere", [] {});
    lose("the editor closed", [&] {
        gui().close();
        EXPECT_EQ(host_.gestureFaults(), "") << "closing ended the gesture";
        ASSERT_EQ(gui().open(nullptr), 0);
    });
}

TEST_F(GestureTest, TheHostHearsNothingOfChangesItMadeItself)
{
    close();
    create(true);
    gui().close();
    host_.clear();
    ASSERT_EQ(gui().open(nullptr), 0);
    window().paint_all();
    effect_->dispatch(effSetProgram, 0, 6);
    hostSets(kLine1Feedback, 0.3f);
    hostSets(kFlags, flagsFor(flagBits() ^ (1 << mppi::FlagListener::kTwoLinesBit)));
    std::vector<float> in(441, 0.0f), left, right;
    for (int block = 0; block < 100; ++block) {
        effect_->render(in, in, left, right, 441);
        effect_->dispatch(effEditIdle);
        window().advance(0.01);
    }
    EXPECT_EQ(host_.count(audioMasterAutomate), 0);
    EXPECT_EQ(host_.count(audioMasterUpdateDisplay), 0);
    EXPECT_EQ(host_.count(audioMasterBeginEdit), 0);
}

TEST_F(GestureTest, ATimeUnitChangedByTheHostMovesTheTimeFadersToItsGrid)
{
    constexpr int kBeats = 1 << mppi::FlagListener::kBeatsBit;
    auto& time = dynamic_cast<pengui::PotControl&>(control(kLine1Time));
    // Without a grid the snapping gives back any value; with one, the nearest beat value.
    auto hasGrid = [&] { return time.motion().snapped(0.3001, -1.0) != 0.3001; };
    auto onGrid = [&] { return hasGrid() && time.motion().snapped(time.value(), -1.0) == time.value(); };
    auto dragTime = [&] {
        grab(time);
        dragAlong(time, 7);
        letGo();
        tick();
    };
    ASSERT_TRUE(flagBits() & kBeats) << "program 0 counts in beats";

    hostSets(kFlags, flagsFor(flagBits() & ~kBeats));
    tick();
    dragTime();
    EXPECT_FALSE(hasGrid()) << "in seconds the drag landed on " << paramText(kLine1Time);

    hostSets(kFlags, flagsFor(flagBits() | kBeats));
    tick();
    dragTime();
    EXPECT_TRUE(onGrid()) << "in beats it lands on one: " << paramText(kLine1Time);
}
