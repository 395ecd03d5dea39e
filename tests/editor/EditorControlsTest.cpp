// The editor driven as a user drives it, with the host on the other side: each kind of control
// moves its parameter and the host hears it, host changes move the controls, the detail panel
// follows the touched control, and typed values commit or are refused.
#include "EditorFixture.h"

#include "FlagListener.h"
#include "GuiParam.h"
#include "Knob.h"
#include "NormalizedParamInterface.h"
#include "NumericParamMgr.h"
#include "Switch.h"

#include <cmath>

using namespace editor_test;

TEST_F(EditorTest, DraggingKnobsAndFadersMovesTheirParametersAndTheHostHearsEachStep)
{
    for (const int index : {2, kLine1Level, kLine1Feedback, kLine1HsCutoff, kTap1Time}) {
        SCOPED_TRACE(index);
        ControlInterface& pot = control(index);
        const float before = param(index);
        host_.clear();
        grab(pot);
        drag(30, -60);
        letGo();
        EXPECT_GT(param(index), before);
        EXPECT_NEAR(param(index), pot.value(), 1e-6);
        ASSERT_GE(automations(index), 1);
        EXPECT_FLOAT_EQ(lastAutomation(index), param(index)) << "the host hears the last step";
    }
}

TEST_F(EditorTest, ASwitchPositionSetsItsParameterAndTheLinkedSwitchOnlyWithTheRightButton)
{
    auto& filter = dynamic_cast<pengui::Switch&>(control(kLine1FilterType));
    auto& partner = dynamic_cast<pengui::Switch&>(control(kLine1FilterType + kLineParams));
    const float partnerBefore = param(kLine1FilterType + kLineParams);
    auto pointOf = [&](int position) {
        const pengui::Rect& picture = filter.position_picture(position).box;
        return Point{filter.window_position().x + (picture.x0 + picture.x1) / 2,
                     filter.window_position().y + (picture.y0 + picture.y1) / 2};
    };
    for (int position = 0; position < filter.position_count(); ++position) {
        SCOPED_TRACE(position);
        host_.clear();
        window().press(pointOf(position));
        window().release(pointOf(position));
        EXPECT_EQ(filter.selected(), position);
        EXPECT_NEAR(param(kLine1FilterType), filter.value(), 1e-6);
        EXPECT_EQ(automations(kLine1FilterType), 1);
        EXPECT_FLOAT_EQ(param(kLine1FilterType + kLineParams), partnerBefore) << "a left press is not linked";
    }
    for (int position = 0; position < filter.position_count(); ++position) {
        SCOPED_TRACE(position);
        window().press(pointOf(position), kRightButton);
        window().release(pointOf(position), kRightButton);
        EXPECT_EQ(partner.selected(), position) << "a right press moves the other line's switch";
        EXPECT_NEAR(param(kLine1FilterType + kLineParams), partner.value(), 1e-6);
        window().press(pointOf(position), kRightButton, kControlKey);
        window().release(pointOf(position), kRightButton, kControlKey);
        EXPECT_EQ(partner.selected(), filter.position_count() - 1 - position) << "mirrored with Control";
    }
}

TEST_F(EditorTest, HostAutomationAndProgramChangesMoveControlsAndTextsOnTheEditorsTimer)
{
    ControlInterface& feedback = control(kLine1Feedback);
    click(feedback);
    mppi::NumericParamMgr* panel = gui().detail().selected();
    ASSERT_NE(panel, nullptr);

    hostSets(kLine1Feedback, 0.8f);
    EXPECT_NE(feedback.value(), 0.8) << "nothing moves on the host's thread";
    window().clear_invalidated();
    tick();
    EXPECT_NEAR(feedback.value(), 0.8, 1e-6);
    EXPECT_EQ(panel->valueBox().text(), paramText(kLine1Feedback));
    EXPECT_FALSE(window().invalidated().empty()) << "the moved control repaints";

    // Many changes between two ticks: the last of each shows.
    for (int step = 0; step <= 10; ++step)
        hostSets(kLine1HsCutoff, 0.1f * static_cast<float>(step));
    tick();
    EXPECT_NEAR(control(kLine1HsCutoff).value(), param(kLine1HsCutoff), 1e-6);

    effect_->dispatch(effSetProgram, 0, 6);
    tick();
    for (const int index : {kLine1Level, kLine1Time, kLine1Feedback, kLine1HsCutoff, kTap1Time})
        EXPECT_NEAR(control(index).value(), param(index), 1e-6) << index;
    EXPECT_EQ(gui().lines(), 2) << "the program's Flags show both lines";
    EXPECT_EQ(panel->valueBox().text(), paramText(kLine1Feedback));
}

TEST_F(EditorTest, ADraggedControlHoldsItsParameterAgainstAutomation)
{
    ControlInterface& feedback = control(kLine1Feedback);
    grab(feedback);
    drag(0, -40);
    window().advance(0.5);
    const float held = param(kLine1Feedback);
    hostSets(kLine1Feedback, 0.01f);
    tick();
    EXPECT_FLOAT_EQ(param(kLine1Feedback), held) << "the host's change is refused during the gesture";
    EXPECT_NEAR(feedback.value(), held, 1e-6);
    letGo();
    hostSets(kLine1Feedback, 0.01f);
    tick();
    EXPECT_FLOAT_EQ(param(kLine1Feedback), 0.01f) << "after the release the host has it again";
    EXPECT_NEAR(feedback.value(), 0.01, 1e-6);
}

TEST_F(EditorTest, TheDetailPanelFollowsTheTouchedControlAndShowsLfoControlsOnlyWithAnLfo)
{
    mppi::GuiParam& detail = gui().detail();
    click(control(kLine1Feedback));
    mppi::NumericParamMgr* feedback = detail.selected();
    ASSERT_NE(feedback, nullptr);
    EXPECT_EQ(feedback->index(), kLine1Feedback);
    EXPECT_EQ(feedback->nameBox().text(), "D1 fdbk");
    EXPECT_EQ(feedback->valueBox().text(), paramText(kLine1Feedback));
    EXPECT_EQ(feedback->unitBox().text(), effect_->text(effGetParamLabel, kLine1Feedback));
    ASSERT_TRUE(feedback->hasLfo());
    EXPECT_EQ(feedback->periodIndex(), kLine1FeedbackPeriod);
    ASSERT_NE(feedback->periodKnob(), nullptr);
    const Point periodKnob = centre(*feedback->periodKnob());
    host_.clear();
    grab(*feedback->periodKnob());
    drag(0, -30);
    letGo();
    EXPECT_GE(automations(kLine1FeedbackPeriod), 1) << "the panel's LFO knob is in the window";

    click(control(kLine1HsCutoff));
    mppi::NumericParamMgr* shelf = detail.selected();
    ASSERT_NE(shelf, nullptr);
    EXPECT_EQ(shelf->index(), kLine1HsCutoff);
    EXPECT_FALSE(shelf->hasLfo());
    EXPECT_EQ(shelf->periodKnob(), nullptr);

    // The feedback panel's LFO knob left the window with its panel: a drag there is no change.
    host_.clear();
    window().move_to(periodKnob);
    window().press(periodKnob);
    drag(0, -30);
    letGo();
    EXPECT_EQ(automations(kLine1FeedbackPeriod), 0);
}

TEST_F(EditorTest, TypedValuesPeriodsAndDepthsCommitAndNonsenseLeavesTheParameter)
{
    click(control(kLine1Feedback));
    mppi::NumericParamMgr& panel = *gui().detail().selected();

    host_.clear();
    typeInto(panel.valueBox(), "25");
    EXPECT_DOUBLE_EQ(std::stod(paramText(kLine1Feedback)), 25.0);
    EXPECT_NEAR(control(kLine1Feedback).value(), param(kLine1Feedback), 1e-6);
    EXPECT_EQ(panel.valueBox().text(), paramText(kLine1Feedback));
    EXPECT_GE(automations(kLine1Feedback), 1);

    typeInto(*panel.periodBox(), "4");
    EXPECT_DOUBLE_EQ(std::stod(paramText(kLine1FeedbackPeriod)), 4.0);
    EXPECT_NEAR(panel.periodKnob()->value(), param(kLine1FeedbackPeriod), 1e-6);
    EXPECT_EQ(panel.periodBox()->text(), paramText(kLine1FeedbackPeriod));
    typeInto(*panel.depthBox(), "0.5");
    EXPECT_DOUBLE_EQ(std::stod(paramText(kLine1FeedbackDepth)), 0.5);
    EXPECT_NEAR(panel.depthKnob()->value(), param(kLine1FeedbackDepth), 1e-6);

    const float before = param(kLine1Feedback);
    host_.clear();
    for (const char* nonsense : {"loud", "", "nan", "1e999999"}) {
        typeInto(panel.valueBox(), nonsense);
        EXPECT_TRUE(std::isfinite(param(kLine1Feedback))) << nonsense;
    }
    typeInto(panel.valueBox(), "loud");
    EXPECT_FLOAT_EQ(param(kLine1Feedback), before);
    EXPECT_EQ(panel.valueBox().text(), paramText(kLine1Feedback)) << "the box shows the value again";
    typeInto(panel.valueBox(), "90", false);
    EXPECT_FLOAT_EQ(param(kLine1Feedback), before) << "Escape cancels";
    typeInto(panel.valueBox(), std::string(5000, '7'));
    EXPECT_TRUE(std::isfinite(param(kLine1Feedback)));
    EXPECT_EQ(panel.valueBox().text(), paramText(kLine1Feedback));
}

TEST_F(EditorTest, TheWebsiteButtonOpensTheProductPage)
{
    std::vector<std::string> opened;
    gui().setUrlOpener([&](const std::string& address) {
        opened.push_back(address);
        return 0;
    });
    click(gui().websiteButton());
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], "https://www.brisval.example/jump.php?type=product&productid=3&version=259");
}

TEST_F(EditorTest, AnOpenEditorThatNothingChangesPaintsNothing)
{
    // The host idles at 50 Hz for ten seconds while it plays: first on a fresh editor, then after
    // a drag, a host change and a preset recall have all settled.
    auto idleTenSeconds = [this] {
        std::vector<float> left(441, 0.1f), right(441, -0.1f), outLeft, outRight;
        window().clear_invalidated();
        for (int i = 0; i < 500; ++i) {
            window().advance(0.02);
            effect_->dispatch(effEditIdle);
            effect_->render(left, right, outLeft, outRight, 441);
        }
        return window().invalidated().size();
    };
    EXPECT_EQ(idleTenSeconds(), 0u);

    grab(control(kLine1Feedback));
    drag(0, -30);
    letGo();
    hostSets(kLine1HsCutoff, 0.3f);
    const ControlInterface& preset = miscControl("PresetNumberListener", 2);
    click(preset);
    window().advance(5.0);
    window().paint_pending();
    EXPECT_EQ(idleTenSeconds(), 0u);
}
