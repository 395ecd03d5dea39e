// The eight presets as the user works them: store mode, recall with a timed glide, the recall
// time's fader and box, seeding from a bank, the interpolation, and bank files with every error
// shown in a message box.
#include "EditorFixture.h"
#include "TestResources.h"

#include "BankDialogsInterface.h"
#include "BankFiles.h"
#include "BankManager.h"
#include "FlagListener.h"
#include "NormalizedParamInterface.h"
#include "PresetManager.h"
#include "ProgInterpolator.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

using namespace editor_test;

namespace {

// Stands in for the user at the file dialog and the message boxes.
class ScriptedDialogs : public mppi::BankDialogsInterface {
public:
    struct Message {
        std::string caption;
        std::string text;
        int buttons;
    };
    int chooseFile(bool, const std::string& title, std::string& path) override
    {
        titles.push_back(title);
        if (chosen.empty())
            return 1;
        path = chosen;
        return 0;
    }
    int showMessage(const std::string& caption, const std::string& text, int buttons, int) override
    {
        messages.push_back({caption, text, buttons});
        return answer;
    }

    std::string chosen;
    int answer = kOk;
    std::vector<std::string> titles;
    std::vector<Message> messages;
};

class PresetsTest : public EditorTest {
protected:
    void SetUp() override
    {
        EditorTest::SetUp();
        presets().setDialogs(&dialogs_);
        folder_ = std::filesystem::temp_directory_path() /
                  ("zorvane_presets_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override
    {
        EditorTest::TearDown();
        std::filesystem::remove_all(folder_);
    }

    mppi::PresetManager& presets() { return gui().misc().presets(); }
    ControlInterface& button(int preset) { return miscControl("PresetNumberListener", preset); }
    ControlInterface& timeBox() { return miscControl("PresetTimeDisplayListener"); }
    // Sets "D1 fdbk" as the host would, and stores the sound in a preset as the user does.
    void storeFeedback(int preset, float feedback)
    {
        hostSets(kLine1Feedback, feedback);
        tick();
        click(miscControl("PresetMemListener"));
        click(button(preset));
    }
    float presetFeedback(int preset) { return presets().bank().program(preset).value(kLine1Feedback); }
    std::string path(const std::string& name) { return (folder_ / name).string(); }
    void writeFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
    {
        std::ofstream(path(name), std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    std::vector<std::uint8_t> readFile(const std::string& name)
    {
        std::ifstream file(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }

    ScriptedDialogs dialogs_;
    std::filesystem::path folder_;
};

} // namespace

TEST_F(PresetsTest, StoreModeKeepsTheSoundInThePressedPresetAndEnds)
{
    ControlInterface& store = miscControl("PresetMemListener");
    storeFeedback(2, 0.3f);
    EXPECT_FLOAT_EQ(presetFeedback(2), 0.3f);
    EXPECT_EQ(store.value(), 0.0) << "store mode ends with the store";
    EXPECT_FALSE(presets().number(2).gliding());

    host_.clear();
    hostSets(kLine1Feedback, 0.6f);
    click(button(2));
    EXPECT_TRUE(presets().number(2).gliding()) << "out of store mode a press recalls";
    EXPECT_FLOAT_EQ(presetFeedback(2), 0.3f);
}

TEST_F(PresetsTest, ARecallGlidesAndReachesThePresetWhenTheRecallTimeHasElapsed)
{
    storeFeedback(0, 0.8f);
    typeInto(timeBox(), "2");
    EXPECT_DOUBLE_EQ(presets().timeFader().recallTime(), 2.0);
    hostSets(kLine1Feedback, 0.2f);
    tick();

    host_.clear();
    click(button(0));
    window().advance(1.0);
    EXPECT_NEAR(param(kLine1Feedback), 0.5f, 0.031) << "halfway after half the time";
    EXPECT_GE(automations(kLine1Feedback), 9) << "a step every 0.1 s, each heard by the host";
    EXPECT_EQ(host_.gestureFaults(false), "");
    window().advance(1.0 + 1e-6);
    EXPECT_FLOAT_EQ(param(kLine1Feedback), 0.8f);
    EXPECT_FALSE(presets().number(0).gliding());
    EXPECT_EQ(host_.gestureFaults(), "") << "the glide's gestures end with its last step";
    EXPECT_EQ(host_.count(audioMasterBeginEdit, kLine1Feedback), 1);
    EXPECT_EQ(host_.count(audioMasterUpdateDisplay), 0) << "the preset bears the program's own name";
    tick();
    EXPECT_NEAR(control(kLine1Feedback).value(), 0.8, 1e-6) << "the control follows the glide";
}

TEST_F(PresetsTest, ASecondPressMidGlideStartsFromTheSoundReached)
{
    storeFeedback(0, 0.8f);
    storeFeedback(1, 0.0f);
    typeInto(timeBox(), "2");
    hostSets(kLine1Feedback, 0.2f);
    click(button(0));
    window().advance(1.0);
    const float reached = param(kLine1Feedback);
    click(button(1));
    EXPECT_FALSE(presets().number(0).gliding());
    window().advance(1.0);
    EXPECT_NEAR(param(kLine1Feedback), reached / 2.0f, 0.031);
    window().advance(1.0 + 1e-6);
    EXPECT_FLOAT_EQ(param(kLine1Feedback), 0.0f);
}

TEST_F(PresetsTest, AnEditorClosedMidGlideJumpsToThePresetAndEndsTheGlidesGestures)
{
    storeFeedback(3, 0.8f);
    typeInto(timeBox(), "10");
    hostSets(kLine1Feedback, 0.2f);
    tick();
    click(button(3));
    window().advance(1.0);
    ASSERT_LT(param(kLine1Feedback), 0.5f);
    gui().close();
    EXPECT_FLOAT_EQ(param(kLine1Feedback), 0.8f);
    EXPECT_FALSE(presets().number(3).gliding());
    EXPECT_EQ(host_.gestureFaults(), "");
}

TEST_F(PresetsTest, WithRecallTimeZeroTheFirstTickJumps)
{
    storeFeedback(4, 0.7f);
    typeInto(timeBox(), "0");
    hostSets(kLine1Feedback, 0.1f);
    click(button(4));
    window().advance(0.1 + 1e-6);
    EXPECT_FLOAT_EQ(param(kLine1Feedback), 0.7f);
    EXPECT_FALSE(presets().number(4).gliding());
}

TEST_F(PresetsTest, ARecallJumpsTheFlagsAtItsFirstStepAndLeavesTheTempo)
{
    constexpr float kTwoLines = 0.375f;
    constexpr float kOneLine = 0.25f;
    ASSERT_EQ(gui().lines(), 1);
    hostSets(kFlags, kTwoLines);
    hostSets(kTempo, 0.9f);
    storeFeedback(6, 0.8f);
    hostSets(kFlags, kOneLine);
    hostSets(kTempo, 0.2f);
    hostSets(kLine1Feedback, 0.2f);
    tick();
    ASSERT_EQ(gui().lines(), 1);

    typeInto(timeBox(), "2");
    click(button(6));
    window().advance(0.1 + 1e-6);
    tick();
    EXPECT_EQ(gui().lines(), 2) << "the preset's second line is there at the first step";
    EXPECT_LT(param(kLine1Feedback), 0.3f) << "while the sound has only begun to move";
    window().advance(2.0);
    EXPECT_FLOAT_EQ(param(kLine1Feedback), 0.8f);
    EXPECT_FLOAT_EQ(param(kTempo), 0.2f) << "the tempo is the session's, not the preset's";
}

TEST_F(PresetsTest, TheRecallTimeBoxClampsReadsLettersAsZeroAndShowsTheRoundedTime)
{
    ControlInterface& fader = miscControl("PresetTimeFaderListener");
    typeInto(timeBox(), "150");
    EXPECT_EQ(textOf(timeBox()), "99");
    EXPECT_NEAR(fader.value(), 1.0, 1e-9);
    typeInto(timeBox(), "slow");
    EXPECT_EQ(textOf(timeBox()), "0");
    EXPECT_NEAR(fader.value(), 0.0, 1e-9);
    typeInto(timeBox(), "2.6");
    EXPECT_NEAR(fader.value(), std::log(3.6) / std::log(100.0), 1e-9);
    EXPECT_EQ(textOf(timeBox()), "3");
    for (const char* odd : {"-5", "nan", "inf", "1e400"}) {
        typeInto(timeBox(), odd);
        EXPECT_TRUE(std::isfinite(fader.value()) && fader.value() >= 0.0 && fader.value() <= 1.0) << odd;
        EXPECT_TRUE(std::isfinite(presets().timeFader().recallTime())) << odd;
    }
}

TEST_F(PresetsTest, PresetsAreSeededFromTheFirstEightProgramsOfABankAndTheSoundBeyondIt)
{
    mppi::BankManager embedded;
    ASSERT_EQ(mppi::load_bank_resource(mppi::GuiMisc::kSeedBank, embedded), 0);
    for (int preset = 0; preset < std::min(embedded.count(), 8); ++preset)
        EXPECT_FLOAT_EQ(presetFeedback(preset), embedded.program(preset).value(kLine1Feedback)) << preset;

    hostSets(kLine1Feedback, 0.9f);
    mppi::PresetManager::Controls none;
    mppi::PresetManager twelve;
    EXPECT_EQ(twelve.init(gui().hostGui(), gui().dsp(), nullptr, nullptr, none, "twelve_presets"), 0);
    for (int preset = 0; preset < 8; ++preset)
        EXPECT_FLOAT_EQ(twelve.bank().program(preset).value(kLine1Feedback), seededFeedback(preset));
    EXPECT_EQ(twelve.bank().count(), 8);

    mppi::PresetManager three;
    EXPECT_EQ(three.init(gui().hostGui(), gui().dsp(), nullptr, nullptr, none, "three_presets"), 0);
    for (int preset = 0; preset < 8; ++preset)
        EXPECT_FLOAT_EQ(three.bank().program(preset).value(kLine1Feedback), preset < 3 ? seededFeedback(preset) : 0.9f);

    mppi::PresetManager missing;
    EXPECT_EQ(missing.init(gui().hostGui(), gui().dsp(), nullptr, nullptr, none, "no_such_bank"), mppi::kBankResourceMissing);
    EXPECT_FLOAT_EQ(missing.bank().program(7).value(kLine1Feedback), 0.9f) << "the sound stays in every preset";
}

TEST_F(PresetsTest, TheEditorsInterpolationJumpsTheFlagsAndHoldsTheTempo)
{
    mppi::ProgramSlot from, to, out;
    from.setValueCount(kSeedValues);
    to.setValueCount(kSeedValues);
    for (int index = 0; index < kSeedValues; ++index) {
        from.setValue(index, 0.2f);
        to.setValue(index, 0.6f);
    }
    gui().misc().interpolator().interpolate(out, from, to, 0.25);
    EXPECT_FLOAT_EQ(out.value(kFlags), 0.6f) << "Flags take the target at once";
    EXPECT_FLOAT_EQ(out.value(kTempo), param(kTempo)) << "the tempo stays the current one";
    EXPECT_FLOAT_EQ(out.value(kLine1Feedback), 0.3f);

    mppi::ProgStLdDefault linear;
    linear.interpolate(out, from, to, 0.25);
    for (const int index : {kFlags, kTempo, kLine1Feedback})
        EXPECT_FLOAT_EQ(out.value(index), 0.3f) << "the fallback blends everything, " << index;
}

TEST_F(PresetsTest, ASavedBankLoadsBackAndTheDialogsAskAsTheyShould)
{
    storeFeedback(5, 0.42f);
    dialogs_.chosen = path("mine.pbk");
    click(miscControl("PresetSaveBankListener"));
    EXPECT_TRUE(dialogs_.messages.empty());
    ASSERT_TRUE(std::filesystem::exists(dialogs_.chosen));
    EXPECT_EQ(dialogs_.titles.back(), "Save preset bank");

    storeFeedback(5, 0.1f);
    click(miscControl("PresetLoadBankListener"));
    EXPECT_EQ(dialogs_.titles.back(), "Load preset bank");
    EXPECT_TRUE(dialogs_.messages.empty());
    EXPECT_FLOAT_EQ(presetFeedback(5), 0.42f);

    // Saving over it asks first; Cancel leaves the file as it was.
    const std::vector<std::uint8_t> saved = readFile("mine.pbk");
    storeFeedback(5, 0.9f);
    dialogs_.answer = 1;
    click(miscControl("PresetSaveBankListener"));
    ASSERT_EQ(dialogs_.messages.size(), 1u);
    EXPECT_EQ(dialogs_.messages[0].caption, "Conflict");
    EXPECT_EQ(dialogs_.messages[0].text, dialogs_.chosen + "\nalready exists. Overwrite ?");
    EXPECT_EQ(dialogs_.messages[0].buttons, mppi::BankDialogsInterface::kOkCancel);
    EXPECT_EQ(readFile("mine.pbk"), saved);

    // A save that fails after the question keeps the old file whole.
    dialogs_.messages.clear();
    dialogs_.answer = mppi::BankDialogsInterface::kOk;
    std::filesystem::create_directory(dialogs_.chosen + ".saving");
    click(miscControl("PresetSaveBankListener"));
    ASSERT_EQ(dialogs_.messages.size(), 2u);
    EXPECT_EQ(dialogs_.messages[1].caption, "Error");
    EXPECT_EQ(dialogs_.messages[1].text.rfind("Can't save bank file\n" + dialogs_.chosen + "\n\nCode ", 0), 0u);
    EXPECT_EQ(readFile("mine.pbk"), saved);

    // A cancelled file dialog does nothing.
    dialogs_.messages.clear();
    dialogs_.chosen.clear();
    click(miscControl("PresetLoadBankListener"));
    EXPECT_TRUE(dialogs_.messages.empty());
}

TEST_F(PresetsTest, ABrokenBankFileShowsItsErrorAndLeavesThePresets)
{
    mppi::BankManager good;
    good.resize(8);
    for (int preset = 0; preset < 8; ++preset)
        presets().bank().copyOut(preset, good.program(preset));
    ASSERT_EQ(mppi::save_bank_file(path("good.pbk"), good), 0);
    const std::vector<std::uint8_t> bytes = readFile("good.pbk");

    mppi::BankManager thirtyFour;
    thirtyFour.resize(34);
    for (int program = 0; program < 34; ++program)
        good.copyOut(0, thirtyFour.program(program));
    ASSERT_EQ(mppi::save_bank_file(path("programs.pbk"), thirtyFour), 0);

    mppi::BankManager shortPrograms = good;
    for (int preset = 0; preset < 8; ++preset)
        shortPrograms.program(preset).setValueCount(120);
    ASSERT_EQ(mppi::save_bank_file(path("values.pbk"), shortPrograms), 0);

    std::vector<std::uint8_t> magic = bytes;
    magic[0] = 'X';
    writeFile("magic.pbk", magic);
    writeFile("empty.pbk", {});
    writeFile("truncated.pbk", std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<long>(bytes.size() / 2)));

    storeFeedback(3, 0.33f);
    const struct {
        const char* file;
        int code;
    } cases[] = {{"empty.pbk", mppi::kBankHeaderShort},     {"magic.pbk", mppi::kBankBodyShort},
                 {"truncated.pbk", mppi::kBankBodyShort},   {"programs.pbk", mppi::kBankCountMismatch},
                 {"values.pbk", mppi::kBankParamCountMismatch}, {"absent.pbk", mppi::kBankCannotOpen}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        dialogs_.messages.clear();
        dialogs_.chosen = path(c.file);
        click(miscControl("PresetLoadBankListener"));
        ASSERT_EQ(dialogs_.messages.size(), 1u);
        EXPECT_EQ(dialogs_.messages[0].caption, "Error");
        EXPECT_EQ(dialogs_.messages[0].text,
                  "Can't load bank file\n" + dialogs_.chosen + "\n\nCode " + std::to_string(c.code));
        EXPECT_EQ(dialogs_.messages[0].buttons, mppi::BankDialogsInterface::kOk);
        EXPECT_FLOAT_EQ(presetFeedback(3), 0.33f);
        EXPECT_EQ(presets().bank().count(), 8);
    }
}
