// The effect adapter and its host services, built in: the priority rule with real timing,
// the editor's path to the host, and the host services' answers.
#include "Algo.h"
#include "DspInterface.h"
#include "NormalizedParamInterface.h"
#include "Effect.h"
#include "FakeHost.h"
#include "GuiInterface.h"
#include "HostDspInterface.h"
#include "HostGuiVst2Win.h"
#include "PlatformWindowFactory.h"
#include "PluginEntry.h"
#include "SkinLayout.h"
#include "TempoQuery.h"
#include "Vst2WinEditor.h"
#include "Vst2WinPlugin.h"

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

using mppi::HostGuiVst2Win;
using mppi::Vst2WinPlugin;

namespace {

constexpr VstInt32 kFeedback = 64;

class AdapterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AEffect* created = mppi::createEffect(FakeHost::callback, skin_layout::wide(), pengui::create_platform_window);
        ASSERT_NE(created, nullptr);
        effect_ = std::make_unique<Effect>(created);
        effect_->start();
        plugin_ = static_cast<Vst2WinPlugin*>(created->object);
        editor_.setPlugin(plugin_);
    }
    void TearDown() override { effect_->close(); }

    float value(VstInt32 index) { return (*effect_)->getParameter(effect_->get(), index); }
    void hostSets(VstInt32 index, float v) { (*effect_)->setParameter(effect_->get(), index, v); }
    float programValue(VstInt32 index) { return plugin_->programs().program(0).value(index); }

    static void wait(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

    FakeHost host_;
    std::unique_ptr<Effect> effect_;
    Vst2WinPlugin* plugin_ = nullptr;
    HostGuiVst2Win editor_;
};

} // namespace

TEST_F(AdapterTest, AnEditorDragHoldsOffTheHostUntilReleasedOrHalfASecondLater)
{
    host_.clear();
    ASSERT_TRUE(editor_.setParameter(kFeedback, 0.25f, 200));
    EXPECT_EQ(host_.count(audioMasterAutomate), 1);
    ASSERT_EQ(host_.calls().size(), 3u) << "a change outside a gesture is a gesture of its own";
    EXPECT_EQ(host_.calls()[1].index, kFeedback);
    EXPECT_FLOAT_EQ(host_.calls()[1].opt, 0.25f);
    EXPECT_EQ(host_.gestureFaults(), "");
    EXPECT_EQ(host_.count(audioMasterUpdateDisplay), 0) << "the host heard the value itself";

    // Within the hold, the host's automation is refused, also for the stored program.
    hostSets(kFeedback, 0.75f);
    EXPECT_FLOAT_EQ(value(kFeedback), 0.25f);
    EXPECT_FLOAT_EQ(programValue(kFeedback), 0.25f);
    EXPECT_FALSE(editor_.testPriority(kFeedback, 100));
    EXPECT_TRUE(editor_.testPriority(kFeedback, 200));

    editor_.releasePriority(kFeedback, 200);
    hostSets(kFeedback, 0.75f);
    EXPECT_FLOAT_EQ(value(kFeedback), 0.75f);
    EXPECT_FLOAT_EQ(programValue(kFeedback), 0.75f);

    // Not released: the host waits out the hold.
    ASSERT_TRUE(editor_.setParameter(kFeedback, 0.5f, 200));
    hostSets(kFeedback, 0.1f);
    EXPECT_FLOAT_EQ(value(kFeedback), 0.5f);
    wait(0.6);
    hostSets(kFeedback, 0.1f);
    EXPECT_FLOAT_EQ(value(kFeedback), 0.1f);
}

TEST_F(AdapterTest, ARefusedEditorChangeReachesNeitherParameterNorHost)
{
    ASSERT_TRUE(editor_.setParameter(kFeedback, 0.2f, 200));
    host_.clear();
    EXPECT_FALSE(editor_.setParameter(kFeedback, 0.9f, 50));
    EXPECT_FLOAT_EQ(value(kFeedback), 0.2f);
    EXPECT_EQ(host_.count(audioMasterAutomate), 0);
    EXPECT_FALSE(editor_.setParameter(121, 0.5f, 200));
    EXPECT_FALSE(editor_.setParameter(-1, 0.5f, 200));
}

TEST_F(AdapterTest, APresetGlideKeepsItsPriorityAndAProgramChangeReleasesIt)
{
    mppi::ProgramSlot program = plugin_->programs().program(3);
    program.setValue(kFeedback, 0.33f);
    editor_.applyProgram(program, 150);
    EXPECT_FLOAT_EQ(value(kFeedback), 0.33f);
    hostSets(kFeedback, 0.9f);
    EXPECT_FLOAT_EQ(value(kFeedback), 0.33f);
    // A host program change outranks the glide and leaves nothing held.
    effect_->dispatch(effSetProgram, 0, 2);
    hostSets(kFeedback, 0.9f);
    EXPECT_FLOAT_EQ(value(kFeedback), 0.9f);
}

TEST_F(AdapterTest, TheAlgorithmsHostServicesAskTheHost)
{
    mppi::HostDspInterface* services = plugin_->dsp()->hostDsp();
    ASSERT_NE(services, nullptr);
    EXPECT_EQ(services->query("can_tempo"), 0.0);
    host_.givesTime = true;
    host_.time.flags = 0;
    EXPECT_EQ(services->query("can_tempo"), 0.0);
    host_.setTempo(133.0);
    EXPECT_EQ(services->query("can_tempo"), 1.0);

    for (auto [quantization, answer] : {std::pair{0, 0.0}, std::pair{1, 0.0}, std::pair{100, 0.01}}) {
        host_.quantization = quantization;
        EXPECT_DOUBLE_EQ(services->query("param_quantization"), answer);
    }
    EXPECT_EQ(services->query("anything"), 0.0);

    mppi::TempoQuery query;
    query.wanted = 1;
    services->queryTempo(query);
    EXPECT_EQ(query.error, 0);
    EXPECT_EQ(query.wanted, 1);
    EXPECT_DOUBLE_EQ(query.tempo, 133.0);
    host_.time.flags = 0;
    mppi::TempoQuery invalid;
    invalid.wanted = 1;
    services->queryTempo(invalid);
    EXPECT_EQ(invalid.wanted, 0);
    host_.givesTime = false;
    mppi::TempoQuery none;
    services->queryTempo(none);
    EXPECT_EQ(none.error, 1);

    EXPECT_TRUE(services->isOutputConnected(0, 1));
    host_.rightOutputConnected = false;
    EXPECT_FALSE(services->isOutputConnected(0, 1));
    EXPECT_TRUE(services->isOutputConnected(0, 0));
    EXPECT_TRUE(services->isInputConnected(0, 1));
    EXPECT_TRUE(services->isOutputConnected(5, 0));
}

TEST_F(AdapterTest, AHostWithATempoKeepsItAcrossPrograms)
{
    effect_->close();
    host_.setTempo(100.0);
    AEffect* created = mppi::createEffect(FakeHost::callback, skin_layout::wide(), pengui::create_platform_window);
    ASSERT_NE(created, nullptr);
    effect_ = std::make_unique<Effect>(created);
    effect_->start();
    std::vector<float> in(512, 0.0f), outLeft, outRight;
    effect_->render(in, in, outLeft, outRight, 512);
    EXPECT_EQ(effect_->text(effGetParamDisplay, 1), "100.000");
    // "Simple delay - Damped" carries its own tempo; the host's takes over again at once.
    effect_->dispatch(effSetProgram, 0, 1);
    effect_->render(in, in, outLeft, outRight, 512);
    EXPECT_EQ(effect_->text(effGetParamDisplay, 1), "100.000");
}

TEST_F(AdapterTest, TheEditorsHostServicesNeverResizeTheHostWindow)
{
    host_.canSizeWindow = true;
    EXPECT_EQ(editor_.query("can_resize_window"), 0.0);
    EXPECT_EQ(editor_.resizeEditor(700, 700), 0);
    EXPECT_EQ(host_.count(audioMasterSizeWindow), 0);
}

// Programs shorter than the parameter list are completed with the parameters' defaults, so no
// program is resized once the host may automate it.
TEST(AdapterProgramsTest, ShortProgramsAreCompletedWithTheDefaults)
{
    FakeHost host;
    mppi::BankManager bank;
    bank.resize(2);
    bank.program(0).setValueCount(3);
    bank.program(0).setValue(2, 0.25f);
    bank.program(0).setName("Short");
    auto plugin = std::make_unique<Vst2WinPlugin>(FakeHost::callback, std::make_unique<Algo>(), nullptr, bank, 1);
    plugin->init1();
    plugin->init2();
    const mppi::ProgramSlot& program = plugin->programs().program(0);
    ASSERT_EQ(program.valueCount(), plugin->dsp()->paramCount());
    EXPECT_FLOAT_EQ(program.value(2), 0.25f);
    EXPECT_FLOAT_EQ(program.value(64), plugin->dsp()->param(64)->normalized()) << "D1 fdbk at its default";
    EXPECT_EQ(plugin->programs().program(1).valueCount(), plugin->dsp()->paramCount());
}

namespace {

// An editor whose window cannot be sized or opened: every such call throws.
class BrokenGui : public mppi::GuiInterface {
public:
    void init1() override {}
    void init2() override {}
    void shutdown() override {}
    mppi::HostGuiInterface* hostGui() override { return nullptr; }
    void setHostGui(mppi::HostGuiInterface*) override {}
    mppi::DspInterface* dsp() override { return nullptr; }
    void setDsp(mppi::DspInterface*) override {}
    void setWindow(pengui::WindowInterface*) override {}
    pengui::WindowInterface* window() override { return nullptr; }
    Size size() override { throw std::runtime_error("no size"); }
    Size resizableSize() override { throw std::runtime_error("no size"); }
    int open(void*) override { throw std::runtime_error("no window"); }
    void close() override { throw std::runtime_error("no window"); }
    bool paramChanged(int, float, int) override { return false; }
    void hostTempoChanged(float) override {}
    void setHostScale(double) override {}
    void idle() override { ++idles; }
    int idles = 0;
};

} // namespace

TEST(EditorAdapterTest, AnEditorThatFailsIsReportedAsFailedAndNeverThrowsAtTheHost)
{
    BrokenGui gui;
    mppi::Vst2WinEditor editor(nullptr, &gui);
    ERect* rect = reinterpret_cast<ERect*>(&gui);
    EXPECT_FALSE(editor.getRect(&rect));
    EXPECT_EQ(rect, nullptr);
    EXPECT_FALSE(editor.getRect(nullptr));
    EXPECT_FALSE(editor.open(nullptr)) << "an editor that threw is not open";
    EXPECT_NO_THROW(editor.close());
    editor.idle();
    EXPECT_EQ(gui.idles, 1) << "the host's idle shows the editor's pending changes";
}

TEST_F(AdapterTest, TheEditorsRectangleIsItsSkinsSizeAndItsOpcodesAnswerWithoutAnEditor)
{
    mppi::Vst2WinEditor adapter(plugin_, plugin_->gui());
    ERect* rect = nullptr;
    ASSERT_TRUE(adapter.getRect(&rect));
    EXPECT_EQ(rect->right - rect->left, 700);
    EXPECT_EQ(rect->bottom - rect->top, 700);
    EXPECT_FALSE(adapter.open(nullptr)) << "this module's windows cannot open";

    // The module offers no editor here: the opcodes answer 0 and touch nothing.
    EXPECT_EQ((*effect_)->flags & effFlagsHasEditor, 0);
    EXPECT_EQ(effect_->dispatch(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(effect_->dispatch(effEditOpen), 0);
    EXPECT_EQ(effect_->dispatch(effEditClose), 0);
    EXPECT_EQ(effect_->dispatch(effEditIdle), 0);
}
