// The editor's scale chosen at run time: the host's content scale through effVendorSpecific, the
// system's, the musician's through the menu and the settings file; what a new scale keeps and
// ends; and the same hand movement making the same change at every scale.
#include "EditorFixture.h"

#include "GuiParam.h"
#include "NumericParamMgr.h"
#include "PresetStoreInterface.h"
#include "SettingsFile.h"
#include "SkinPlacement.h"

#include <cmath>
#include <fstream>
#include <limits>
#include <utility>
#include <vector>

using namespace editor_test;

namespace {

constexpr VstInt32 kContentScale = fourCharacterCode('P', 'r', 'e', 'S');
constexpr VstIntPtr kContentScaleValue = fourCharacterCode('A', 'e', 'C', 's');
constexpr int kCutoff = 69;

pengui::Size sizeAt(float scale)
{
    return {skin_layout::scaled(testSkin().size.w, scale), skin_layout::scaled(testSkin().size.h, scale)};
}

class ScaleTest : public EditorTest {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::current_path() / "editor-scale" / SKIN_NAME /
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        create(false, true, settings());
    }
    std::filesystem::path settings() const { return folder_ / "zorvane"; }
    // A new instance keeping its settings in `folder`, its editor closed.
    void recreate(const std::filesystem::path& folder)
    {
        close();
        create(false, true, folder);
        effect_->dispatch(effEditClose);
    }

    // The host announces its windows' content scale; the effect's answer.
    VstIntPtr announce(float factor) { return effect_->dispatch(effVendorSpecific, kContentScale, kContentScaleValue, nullptr, factor); }
    pengui::Size rect()
    {
        ERect* rect = nullptr;
        EXPECT_EQ(effect_->dispatch(effEditGetRect, 0, 0, &rect), 1);
        return rect ? pengui::Size{rect->right - rect->left, rect->bottom - rect->top} : pengui::Size{};
    }
    void open()
    {
        ASSERT_EQ(effect_->dispatch(effEditOpen), 1);
        window().paint_all();
    }
    // A point of the background, where no control lies.
    Point background()
    {
        for (int y = 2; y < window().size().h; y += 5)
            for (int x = 2; x < window().size().w; x += 5)
                if (!gui().controlAt({x, y}))
                    return {x, y};
        ADD_FAILURE() << "no background to press";
        return {};
    }
    Point middle(const pengui::Rect& rect) { return {(rect.x0 + rect.x1) / 2, (rect.y0 + rect.y1) / 2}; }
    // The value a drag of `pixels` along the control gives from `start`, its glide settled.
    double dragged(int param, float start, int pixels)
    {
        hostSets(param, start);
        tick();
        window().paint_pending();
        grab(control(param));
        dragAlong(control(param), pixels);
        letGo();
        return control(param).value();
    }

    std::filesystem::path folder_;
};

// The mean difference of a frame, averaged down by `factor` in both directions, from `reference`.
double meanDifference(const std::vector<std::uint32_t>& frame, pengui::Size size, int factor,
                      const std::vector<std::uint32_t>& reference, pengui::Size referenceSize)
{
    double total = 0.0;
    for (int y = 0; y < referenceSize.h; ++y)
        for (int x = 0; x < referenceSize.w; ++x)
            for (int shift = 0; shift < 24; shift += 8) {
                int sum = 0;
                for (int dy = 0; dy < factor; ++dy)
                    for (int dx = 0; dx < factor; ++dx)
                        sum += (frame[static_cast<std::size_t>((y * factor + dy) * size.w + x * factor + dx)] >> shift) & 0xFF;
                const int shrunk = (sum + factor * factor / 2) / (factor * factor);
                total += std::abs(shrunk - static_cast<int>((reference[static_cast<std::size_t>(y * referenceSize.w + x)] >> shift) & 0xFF));
            }
    return total / (3.0 * referenceSize.w * referenceSize.h);
}

} // namespace

TEST_F(ScaleTest, TheHostsContentScaleTakesEffectAtTheNextRectOrAtOnceWhereTheHostResizes)
{
    const std::vector<std::uint32_t> oneTimes = window().frame();
    effect_->dispatch(effEditClose);
    EXPECT_EQ(rect(), sizeAt(1.0f));
    EXPECT_EQ(announce(2.0f), 1);
    EXPECT_EQ(effect_->dispatch(effVendorSpecific, kContentScale, 0, nullptr, 2.0f), 0) << "another message";
    EXPECT_EQ(rect(), sizeAt(2.0f));
    // Factors that say nothing leave the last word; others go to the nearest scale, ties upward.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    const std::vector<std::pair<float, float>> factors = {{0.0f, 2.0f},  {-1.0f, 2.0f}, {nan, 2.0f},  {infinity, 2.0f},
                                                          {1.0f, 1.0f},  {100.0f, 2.0f}, {1.2f, 1.0f}, {1.25f, 1.5f},
                                                          {1.75f, 2.0f}, {1.6f, 1.5f}, {-infinity, 1.5f}};
    for (const auto& [factor, scale] : factors) {
        EXPECT_EQ(announce(factor), 1) << factor;
        EXPECT_EQ(rect(), sizeAt(scale)) << factor;
    }
    announce(2.0f);
    open();
    ASSERT_EQ(window().size(), sizeAt(2.0f));
    EXPECT_LT(meanDifference(window().frame(), window().size(), 2, oneTimes, sizeAt(1.0f)), 1.0)
        << "the 2x drawing, averaged back to 1x, is the 1x one";

    // Open, a new scale resizes the window at once when the host resizes its own.
    host_.clear();
    announce(1.5f);
    EXPECT_EQ(host_.count(audioMasterSizeWindow), 1);
    EXPECT_EQ(window().size(), sizeAt(1.5f));
    EXPECT_EQ(gui().scale(), 1.5f);
    // A host that cannot keeps the old scale until the editor opens again.
    host_.canSizeWindow = false;
    announce(1.0f);
    EXPECT_EQ(window().size(), sizeAt(1.5f));
    EXPECT_EQ(rect(), sizeAt(1.5f)) << "the open editor's size";
    effect_->dispatch(effEditClose);
    EXPECT_EQ(rect(), sizeAt(1.0f));
    open();
    window().paint_all();
    EXPECT_EQ(window().frame(), oneTimes) << "back at 1x, the same pixels";
}

TEST_F(ScaleTest, TheMusicianOutranksTheHostWhichOutranksTheSystemAndTheChoiceOutlivesTheInstance)
{
    effect_->dispatch(effEditClose);
    window().set_system_scale(1.5);
    EXPECT_EQ(rect(), sizeAt(1.5f)) << "the system alone";
    announce(2.0f);
    EXPECT_EQ(rect(), sizeAt(2.0f)) << "the host over the system, never times it";
    announce(1.0f);
    EXPECT_EQ(rect(), sizeAt(1.0f));
    gui().chooseScale(2.0);
    EXPECT_EQ(rect(), sizeAt(2.0f)) << "the musician over the host";
    announce(1.5f);
    EXPECT_EQ(rect(), sizeAt(2.0f));
    EXPECT_EQ(SettingsFile(settings(), "settings").read(mppi::QuenloGui::kScaleSetting), "2");

    recreate(settings());
    EXPECT_EQ(gui().scale(), 2.0f) << "a new instance is built at the musician's scale";
    announce(1.0f);
    EXPECT_EQ(rect(), sizeAt(2.0f));
    open();
    EXPECT_EQ(window().size(), sizeAt(2.0f));
}

TEST_F(ScaleTest, AnUnwritableOrBrokenSettingsFileNeverStopsTheEditor)
{
    // A folder that cannot be made (a file stands in its way): the choice holds for this instance.
    std::ofstream(folder_ / "in-the-way") << "a file";
    const std::filesystem::path nowhere = folder_ / "in-the-way" / "zorvane";
    recreate(nowhere);
    gui().chooseScale(1.5);
    EXPECT_EQ(rect(), sizeAt(1.5f));
    recreate(nowhere);
    EXPECT_EQ(rect(), sizeAt(1.0f)) << "nothing was kept";

    // Files that hold no scale: garbage, a word, an empty value, a huge file, a folder.
    const std::vector<std::string> broken = {std::string("\0\xff\xfe scale=2", 11), "scale=banana\n", "scale=\n",
                                             "scale 2\n", "scale=-1\n", "scale=nan\n", std::string(100000, 'x') + "\nscale=2\n"};
    for (const std::string& content : broken) {
        std::filesystem::create_directories(settings());
        std::ofstream(settings() / "settings", std::ios::binary | std::ios::trunc) << content;
        recreate(settings());
        EXPECT_EQ(rect(), sizeAt(1.0f)) << content.substr(0, 20);
        open();
        EXPECT_TRUE(window().created());
        effect_->dispatch(effEditClose);
    }
    std::filesystem::remove_all(settings());
    std::filesystem::create_directories(settings() / "settings");
    recreate(settings());
    gui().chooseScale(2.0);
    EXPECT_EQ(rect(), sizeAt(2.0f));
}

TEST_F(ScaleTest, ARightClickOnTheBackgroundOpensTheMenuThatChoosesTheScale)
{
    // On a control, the right button is the control's: no menu.
    click(control(kCutoff), kRightButton);
    EXPECT_FALSE(gui().menu().is_open());

    const Point at = background();
    window().paint_pending();
    const std::vector<std::uint32_t> before = window().frame();
    clickAt(at, kRightButton);
    ASSERT_TRUE(gui().menu().is_open());
    window().paint_pending();
    EXPECT_NE(window().frame(), before) << "the menu is drawn";
    const pengui::Rect menu = gui().menu().rect();
    EXPECT_GE(menu.x0, 0);
    EXPECT_LE(menu.x1, window().size().w);
    EXPECT_LE(menu.y1, window().size().h);

    // A press outside closes it and changes nothing; the control under it is not pressed.
    host_.clear();
    clickAt({menu.x0 > 10 ? menu.x0 - 5 : menu.x1 + 5, menu.y0});
    EXPECT_FALSE(gui().menu().is_open());
    EXPECT_EQ(gui().scale(), 1.0f);
    window().paint_pending();
    EXPECT_EQ(window().frame(), before) << "nothing of the menu is left";

    // Its third line is 200 %: the host resizes, the choice is kept.
    clickAt(at, kRightButton);
    const int lineHeight = menu.height() / 3;
    clickAt({middle(menu).x, menu.y0 + lineHeight * 5 / 2});
    EXPECT_FALSE(gui().menu().is_open());
    EXPECT_EQ(gui().scale(), 2.0f);
    EXPECT_EQ(window().size(), sizeAt(2.0f));
    EXPECT_EQ(host_.count(audioMasterSizeWindow), 1);
    EXPECT_EQ(SettingsFile(settings(), "settings").read(mppi::QuenloGui::kScaleSetting), "2");

    // At 2x the menu is drawn at 2x; its first line goes back to 100 %.
    clickAt(background(), kRightButton);
    ASSERT_TRUE(gui().menu().is_open());
    EXPECT_NEAR(gui().menu().rect().height(), 2 * menu.height(), 0.15 * menu.height()) << "fonts are hinted, not doubled";
    clickAt({middle(gui().menu().rect()).x, gui().menu().rect().y0 + gui().menu().rect().height() / 6});
    EXPECT_EQ(gui().scale(), 1.0f);
    EXPECT_EQ(SettingsFile(settings(), "settings").read(mppi::QuenloGui::kScaleSetting), "1");
}

TEST_F(ScaleTest, ANewScaleKeepsTheStateAndEndsGesturesAndTextFields)
{
    click(miscControl("Delay2Listener"));
    tick();
    ASSERT_EQ(gui().lines(), 2);
    typeInto(miscControl("PresetTimeDisplayListener"), "5");
    click(miscControl("PresetMemListener"));
    mppi::ProgramSlot changed = gui().misc().presets().bank().program(3);
    changed.setValue(kLine1Feedback, 0.123f);
    gui().misc().presets().store().store(3, changed);
    hostSets(kLine1Feedback, 0.4f);
    tick();
    const float cutoff = param(kCutoff);

    // A drag in progress ends with the host told; the musician's state is all there at 2x.
    host_.clear();
    grab(control(kLine1Feedback));
    drag(0, -20);
    ASSERT_GE(automations(kLine1Feedback), 1);
    announce(2.0f);
    EXPECT_EQ(host_.gestureFaults(), "") << "every gesture ended";
    EXPECT_EQ(gui().scale(), 2.0f);
    EXPECT_EQ(gui().lines(), 2);
    ASSERT_NE(gui().detail().selected(), nullptr);
    EXPECT_EQ(gui().detail().selected()->index(), kLine1Feedback) << "the parameter pressed last";
    EXPECT_FLOAT_EQ(param(kCutoff), cutoff);
    EXPECT_FLOAT_EQ(gui().misc().presets().bank().program(3).value(kLine1Feedback), 0.123f);
    EXPECT_EQ(textOf(miscControl("PresetTimeDisplayListener")), "5");
    EXPECT_GE(miscControl("PresetMemListener").value(), 0.5) << "still in store mode";
    EXPECT_DOUBLE_EQ(control(kLine1Feedback).value(), param(kLine1Feedback)) << "the controls show the parameters";

    // An open text field closes.
    click(gui().detail().selected()->valueBox());
    ASSERT_TRUE(window().text_editor_open());
    announce(1.0f);
    EXPECT_FALSE(window().text_editor_open());
    EXPECT_EQ(gui().scale(), 1.0f);
    EXPECT_EQ(host_.gestureFaults(), "");
}

TEST_F(ScaleTest, TheSameMovementMakesTheSameChangeAndEveryControlSitsAtItsScaledPlace)
{
    struct Place {
        Point centre;
        pengui::Rect box;
    };
    auto places = [this] {
        std::vector<Place> found;
        for (int index = 0; index < gui().metaControlCount(); ++index) {
            const mppi::MetaControl* meta = gui().metaControl(index);
            const ControlInterface* shown = meta && meta->listener() ? meta->listener()->control() : nullptr;
            found.push_back(shown && shown->shown() ? Place{centre(*shown), shown->box} : Place{{-1, -1}, {}});
        }
        return found;
    };
    const std::vector<Place> oneTimes = places();
    constexpr int kPixels = 40;
    const double knob = dragged(kCutoff, 0.3f, kPixels);
    const double fader = dragged(kLine1Feedback, 0.3f, kPixels);
    ASSERT_GT(knob, 0.3);
    ASSERT_GT(fader, 0.3);
    for (const float scale : {1.5f, 2.0f}) {
        announce(scale);
        ASSERT_EQ(gui().scale(), scale);
        window().paint_all();
        const std::vector<Place> scaled = places();
        for (std::size_t index = 0; index < scaled.size(); ++index) {
            if (oneTimes[index].centre.x < 0)
                continue;
            EXPECT_NEAR(scaled[index].centre.x, oneTimes[index].centre.x * scale, 1.0) << index << " at " << scale;
            EXPECT_NEAR(scaled[index].centre.y, oneTimes[index].centre.y * scale, 1.0) << index << " at " << scale;
            EXPECT_NEAR(scaled[index].box.width(), oneTimes[index].box.width() * scale, 1.0) << index << " at " << scale;
            EXPECT_NEAR(scaled[index].box.height(), oneTimes[index].box.height() * scale, 1.0) << index << " at " << scale;
            EXPECT_TRUE(control(static_cast<int>(index)).contains(scaled[index].centre)) << index << " at " << scale;
        }
        const int pixels = static_cast<int>(std::lround(kPixels * scale));
        EXPECT_NEAR(dragged(kCutoff, 0.3f, pixels), knob, 1e-3) << "the knob at " << scale;
        EXPECT_NEAR(dragged(kLine1Feedback, 0.3f, pixels), fader, 0.01) << "the fader at " << scale;
    }
}

namespace {

// Presets that live elsewhere, as an LV2 UI's live with its plug-in: what the editor stores.
class OtherStore : public mppi::PresetStoreInterface {
public:
    explicit OtherStore(const mppi::BankManager& presets) : presets_(presets) {}
    const mppi::BankManager& presets() const override { return presets_; }
    void store(int index, const mppi::ProgramSlot& program) override
    {
        presets_.program(index) = program;
        ++stores;
    }
    void storeAll(const mppi::BankManager& bank) override { presets_ = bank; }

    int stores = 0;

private:
    mppi::BankManager presets_;
};

} // namespace

// An editor whose presets live in a store keeps them there through a rebuild at a new scale: the
// rebuilt preset cell recalls from the store and stores into it.
TEST_F(ScaleTest, PresetsThatLiveInAStoreStayThereAtANewScale)
{
    mppi::BankManager presets = gui().misc().presets().bank();
    presets.program(6).setValue(kLine1Feedback, 0.77f);
    OtherStore store(presets);
    gui().setPresetStore(&store);
    EXPECT_NE(&gui().misc().presets().store(), &store) << "the built cell keeps its bank";
    EXPECT_EQ(announce(2.0f), 1);
    ASSERT_EQ(rect(), sizeAt(2.0f));
    ASSERT_EQ(&gui().misc().presets().store(), &store);
    EXPECT_FLOAT_EQ(gui().misc().presets().bank().program(6).value(kLine1Feedback), 0.77f);
    open();
    click(miscControl("PresetMemListener"));
    click(miscControl("PresetNumberListener", 2));
    EXPECT_EQ(store.stores, 1) << "stored where the presets live";
}
