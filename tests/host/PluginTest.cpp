// The Linux plug-in module, driven through its binary interface only.
#include "PluginFixture.h"

#include <cmath>
#include <cstring>

namespace {

const char* const kProgramNames[] = {
    "Simple delay - 3/4 beat", "Simple delay - Damped", "Simple delay - Light and air", "Simple delay - Disto",
    "Simple delay - LPF LFO", "Orvel", "Ping-pong delay - 3/4 beat", "Ping-pong delay - 1/4 beat", "Predelays 1/4",
    "Predelays 1/2 + Delay 3/4", "Vibrato", "Human touch", "Reverse - 2 beats", "Reverse - 1 beat",
    "Reverse - 1/2 beat", "Reverse - Mad cat", "Chorus - Light", "Chorus - Medium", "Chorus - Heavy", "Chorus - Fast",
    "Flanger - Slow", "Flanger - Fast", "Random phaser 1", "Random phaser 2", "Tone fascination 1",
    "Tone fascination 2 - Vibrato", "Tone fascination 3 - Major third", "Tone fascination 4 - Minor third",
    "Tone fascination 5 - Min/maj", "Dirty hamster", "Captain Justice", "Oscibratonance", "Oscibratonance 2",
    "Yellow engine"};

using PluginTest = PluginFixture;

} // namespace

TEST_F(PluginTest, ExportsBothEntryPointsAndReportsItsIdentity)
{
    EXPECT_NE(module_.entry("main"), nullptr);
    Effect& effect = open();
    EXPECT_EQ(effect->magic, kEffectMagic);
    EXPECT_EQ(effect->uniqueID, fourCharacterCode('K', 't', 'M', 'x'));
    EXPECT_EQ(effect->version, 1);
    EXPECT_EQ(effect->numParams, 121);
    EXPECT_EQ(effect->numPrograms, 34);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->flags, effFlagsHasEditor | effFlagsCanReplacing | effFlagsCanMono);
    EXPECT_FLOAT_EQ(effect->ioRatio, 1.0f);
    EXPECT_EQ(effect->processDoubleReplacing, nullptr);
    EXPECT_EQ(effect.text(effGetEffectName), "Zorvane");
    EXPECT_EQ(effect.text(effGetVendorString), "Brisval");
    EXPECT_EQ(effect.text(effGetProductString), "Brisval Zorvane 1.03");
    EXPECT_EQ(effect.dispatch(effGetEffectName, 0, 0, nullptr), 0);
    EXPECT_EQ(effect.dispatch(effGetVendorVersion), 0x103);
    EXPECT_EQ(effect.dispatch(effGetVstVersion), 2);
    EXPECT_EQ(effect.dispatch(effIdentify), fourCharacterCode('N', 'v', 'E', 'f'));
    EXPECT_EQ(effect.dispatch(effCanDo, 0, 0, const_cast<char*>("receiveVstTimeInfo")), 0);
    EXPECT_EQ(effect.dispatch(effGetPlugCategory), kPlugCategRoomFx) << "filed with the delays and reverbs";
    EXPECT_EQ(effect.dispatch(effKeysRequired), 1);
    EXPECT_EQ(effect.dispatch(effGetNumProgramCategories), 1);
    void* chunk = nullptr;
    EXPECT_EQ(effect.dispatch(effGetChunk, 0, 0, &chunk), 0);
    EXPECT_EQ(effect.dispatch(effGetVu), 0);
    ERect* rect = nullptr;
    ASSERT_EQ(effect.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->right - rect->left, 700);
    EXPECT_EQ(rect->bottom - rect->top, 700);
    EXPECT_EQ(effect.dispatch(effConnectInput, 0, 1), 1);
    EXPECT_EQ(host_.count(audioMasterVersion), 1);
}

TEST_F(PluginTest, PinsAreNamedStereoChannels)
{
    Effect& effect = open();
    const char* inputs[] = {"Left input", "Right input"};
    const char* outputs[] = {"Left output", "Right output"};
    for (VstInt32 pin = 0; pin < 2; ++pin) {
        VstPinProperties properties{};
        ASSERT_EQ(effect.dispatch(effGetInputProperties, pin, 0, &properties), 1);
        EXPECT_STREQ(properties.label, inputs[pin]);
        EXPECT_EQ(properties.flags, kVstPinIsActive | kVstPinIsStereo);
        ASSERT_EQ(effect.dispatch(effGetOutputProperties, pin, 0, &properties), 1);
        EXPECT_STREQ(properties.label, outputs[pin]);
    }
    VstPinProperties untouched{};
    EXPECT_EQ(effect.dispatch(effGetOutputProperties, 2, 0, &untouched), 0);
    EXPECT_EQ(effect.dispatch(effGetInputProperties, -1, 0, &untouched), 0);
    EXPECT_EQ(untouched.label[0], 0);
}

TEST_F(PluginTest, EveryParameterHasItsTextsCutToTheHostsBuffer)
{
    Effect& effect = open();
    for (VstInt32 i = 0; i < 121; ++i) {
        const std::string name = effect.text(effGetParamName, i);
        EXPECT_FALSE(name.empty()) << i;
        EXPECT_LE(name.size(), 23u) << name;
        EXPECT_LE(effect.text(effGetParamLabel, i).size(), 23u);
        EXPECT_FALSE(effect.text(effGetParamDisplay, i).empty()) << name;
        EXPECT_EQ(effect.dispatch(effCanBeAutomated, i), 1);
    }
    EXPECT_EQ(effect.text(effGetParamName, 0), "Flags");
    EXPECT_EQ(effect.text(effGetParamDisplay, 0), "BT 1");
    EXPECT_EQ(effect.text(effGetParamName, 1), "Tempo");
    EXPECT_EQ(effect.text(effGetParamLabel, 1), "BPM");
    EXPECT_EQ(effect.text(effGetParamDisplay, 1), "120.000");
    EXPECT_EQ(effect.text(effGetParamName, 60), "D1 time");
    EXPECT_EQ(effect.text(effGetParamDisplay, 60), "3/4");
    EXPECT_EQ(effect.text(effGetParamName, 120), "D2 HS level");
    // "D1 filt cutoff LFO period" has 25 characters.
    EXPECT_EQ(effect.text(effGetParamName, 70), "D1 filt cutoff LFO peri");

    for (VstInt32 outside : {121, 500, -1, -1000}) {
        char buffer[32];
        std::memset(buffer, 'x', sizeof buffer);
        effect.dispatch(effGetParamName, outside, 0, buffer);
        effect.dispatch(effGetParamDisplay, outside, 0, buffer);
        effect.dispatch(effGetParamLabel, outside, 0, buffer);
        EXPECT_EQ(std::string(buffer, sizeof buffer), std::string(32, 'x'));
        EXPECT_EQ(effect.dispatch(effCanBeAutomated, outside), 1);
    }
}

TEST_F(PluginTest, ParametersTakeClampedValuesAndIgnoreNaN)
{
    Effect& effect = open();
    const VstInt32 feedback = indexOf("D1 fdbk");
    effect->setParameter(effect.get(), feedback, 0.25f);
    EXPECT_FLOAT_EQ(effect->getParameter(effect.get(), feedback), 0.25f);
    EXPECT_EQ(effect.text(effGetParamDisplay, feedback), "25.0");
    effect->setParameter(effect.get(), feedback, std::nanf(""));
    EXPECT_FLOAT_EQ(effect->getParameter(effect.get(), feedback), 0.25f);
    effect->setParameter(effect.get(), feedback, 7.0f);
    EXPECT_FLOAT_EQ(effect->getParameter(effect.get(), feedback), 1.0f);
    effect->setParameter(effect.get(), feedback, -3.0f);
    EXPECT_FLOAT_EQ(effect->getParameter(effect.get(), feedback), 0.0f);
    effect->setParameter(effect.get(), 121, 0.5f);
    effect->setParameter(effect.get(), -1, 0.5f);
    EXPECT_EQ(effect->getParameter(effect.get(), 121), 0.0f);
    EXPECT_EQ(effect->getParameter(effect.get(), -5), 0.0f);
}

TEST_F(PluginTest, ProgramsAreSelectedNamedAndCopied)
{
    Effect& effect = open();
    for (VstInt32 program = 0; program < 34; ++program) {
        effect.dispatch(effSetProgram, 0, program);
        EXPECT_EQ(effect.dispatch(effGetProgram), program);
        EXPECT_EQ(effect.text(effGetProgramName), std::string(kProgramNames[program]).substr(0, 23));
    }
    effect.dispatch(effSetProgram, 0, 0);
    // The program sets its values: "Simple delay - 3/4 beat" feeds back 40 %.
    EXPECT_EQ(effect.text(effGetParamDisplay, indexOf("D1 fdbk")), "40.0");
    effect.dispatch(effSetProgram, 0, 34);
    effect.dispatch(effSetProgram, 0, -1);
    EXPECT_EQ(effect.dispatch(effGetProgram), 0);

    effect.dispatch(effSetProgram, 0, 5);
    char longName[] = "A name much longer than twenty-three characters";
    effect.dispatch(effSetProgramName, 0, 0, longName);
    EXPECT_EQ(effect.text(effGetProgramName), std::string(longName).substr(0, 23));
    // A host change after the program change applies at once: no priority is left behind.
    const VstInt32 feedback = indexOf("D1 fdbk");
    effect->setParameter(effect.get(), feedback, 0.125f);
    EXPECT_FLOAT_EQ(effect->getParameter(effect.get(), feedback), 0.125f);

    EXPECT_EQ(effect.dispatch(effCopyProgram, 9), 1);
    EXPECT_EQ(effect.dispatch(effCopyProgram, 34), 0);
    EXPECT_EQ(effect.dispatch(effCopyProgram, -1), 0);
    effect.dispatch(effSetProgram, 0, 0);
    effect.dispatch(effSetProgram, 0, 9);
    EXPECT_EQ(effect.text(effGetProgramName), std::string(longName).substr(0, 23));
    EXPECT_FLOAT_EQ(effect->getParameter(effect.get(), feedback), 0.125f);
    // The host knows what it asked for: no program change comes back to it as a change of state.
    EXPECT_EQ(host_.count(audioMasterUpdateDisplay), 0);
    EXPECT_EQ(host_.count(audioMasterAutomate), 0);
}

TEST_F(PluginTest, TheHostsTempoIsFollowedWhenItIsValid)
{
    Effect& effect = open();
    std::vector<float> in(1024, 0.0f), outLeft, outRight;
    auto tempoText = [&] { return effect.text(effGetParamDisplay, 1); };

    effect.render(in, in, outLeft, outRight, 512);
    EXPECT_EQ(tempoText(), "120.000");

    host_.givesTime = true;
    host_.time.tempo = 140.0;
    host_.time.flags = kVstPpqPosValid;
    effect.render(in, in, outLeft, outRight, 512);
    EXPECT_EQ(tempoText(), "120.000");

    host_.setTempo(140.0);
    effect.render(in, in, outLeft, outRight, 512);
    EXPECT_EQ(tempoText(), "140.000");
    host_.setTempo(30.0);
    effect.render(in, in, outLeft, outRight, 512);
    EXPECT_EQ(tempoText(), "60.000");
    host_.setTempo(500.0);
    effect.render(in, in, outLeft, outRight, 512);
    EXPECT_EQ(tempoText(), "125.000");
    host_.setTempo(0.0);
    effect.render(in, in, outLeft, outRight, 512);
    EXPECT_EQ(tempoText(), "125.000");
    host_.givesTime = false;
    effect.render(in, in, outLeft, outRight, 512);
    EXPECT_EQ(tempoText(), "125.000");
    EXPECT_GE(host_.count(audioMasterGetTime), 7);
}

TEST_F(PluginTest, WithTheRightOutputUnconnectedTheLeftCarriesBoth)
{
    host_.rightOutputConnected = false;
    Effect& effect = open();
    std::vector<float> left(256, 0.0f), right(256, 0.0f), outLeft, outRight;
    left[0] = 0.25f;
    right[0] = 0.5f;
    std::vector<float> sentinel(256, 7.0f);
    outLeft.assign(256, 0.0f);
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), sentinel.data()};
    effect->processReplacing(effect.get(), inputs, outputs, 256);
    EXPECT_FLOAT_EQ(outLeft[0], 0.75f);
    EXPECT_EQ(sentinel, std::vector<float>(256, 7.0f));
}

TEST_F(PluginTest, AFreshInstancePlaysProgramZeroTheDrySignalAndAnEchoAtThreeQuartersOfABeat)
{
    Effect& effect = open();
    std::vector<float> in(20000, 0.0f), outLeft, outRight;
    in[0] = 1.0f;
    effect.render(in, in, outLeft, outRight, 300);
    EXPECT_FLOAT_EQ(outLeft[0], 1.0f);
    EXPECT_NEAR(outLeft[16538], 0.4f, 1e-6f);
    EXPECT_NEAR(outRight[16538], 0.4f, 1e-6f);
    EXPECT_LT(std::fabs(outLeft[16537]) + std::fabs(outLeft[16539]), 1e-6f);
}

TEST_F(PluginTest, HostsThatAreTooOldOrAbsentGetNoEffect)
{
    host_.version = 0;
    EXPECT_EQ(entry_(FakeHost::callback), nullptr);
    EXPECT_EQ(host_.count(audioMasterVersion), 1);
    EXPECT_EQ(host_.count(audioMasterGetTime), 0);
    EXPECT_EQ(entry_(nullptr), nullptr);
}

TEST_F(PluginTest, ClosingDeletesEverythingAndInstancesAreIndependent)
{
    std::vector<Effect> effects;
    for (int i = 0; i < 4; ++i) {
        AEffect* created = entry_(FakeHost::callback);
        ASSERT_NE(created, nullptr);
        effects.emplace_back(created);
        effects.back().start();
    }
    effects[1]->setParameter(effects[1].get(), 64, 0.0f);
    EXPECT_FLOAT_EQ(effects[0]->getParameter(effects[0].get(), 64), 0.4f);
    EXPECT_FLOAT_EQ(effects[1]->getParameter(effects[1].get(), 64), 0.0f);
    for (Effect& effect : effects)
        EXPECT_EQ(effect.dispatch(effClose), 1);
}

TEST_F(PluginTest, HostsListTheProgramsByIndexWithoutChangingTheCurrentOne)
{
    Effect& effect = open();
    effect.dispatch(effSetProgram, 0, 3);
    const VstInt32 feedback = indexOf("D1 fdbk");
    effect->setParameter(effect.get(), feedback, 0.125f);
    host_.clear();
    for (VstInt32 program = 0; program < 34; ++program) {
        // The interface's 24 bytes, guarded on both sides.
        char buffer[26];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(effect.dispatch(effGetProgramNameIndexed, program, 0, buffer + 1), 1);
        EXPECT_EQ(std::string(buffer + 1), std::string(kProgramNames[program]).substr(0, 23));
        EXPECT_EQ(buffer[0], 'x');
        EXPECT_EQ(buffer[25], 'x');
    }
    char untouched[32] = "kept";
    EXPECT_EQ(effect.dispatch(effGetProgramNameIndexed, 34, 0, untouched), 0);
    EXPECT_EQ(effect.dispatch(effGetProgramNameIndexed, -1, 0, untouched), 0);
    EXPECT_EQ(effect.dispatch(effGetProgramNameIndexed, 0, 0, nullptr), 0);
    EXPECT_STREQ(untouched, "kept");
    EXPECT_EQ(effect.dispatch(effGetProgram), 3);
    EXPECT_FLOAT_EQ(effect->getParameter(effect.get(), feedback), 0.125f);
    EXPECT_TRUE(host_.calls().empty());
}

TEST_F(PluginTest, AFreshInstanceHoldsTheValuesOfTheProgramItReports)
{
    Effect& fresh = open();
    EXPECT_TRUE(host_.count(audioMasterAutomate) == 0 && host_.count(audioMasterUpdateDisplay) == 0);
    AEffect* created = entry_(FakeHost::callback);
    ASSERT_NE(created, nullptr);
    Effect selected(created);
    selected.start();
    selected.dispatch(effSetProgram, 0, 1);
    selected.dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(fresh.dispatch(effGetProgram), 0);
    for (VstInt32 index = 0; index < 121; ++index)
        EXPECT_EQ(fresh->getParameter(fresh.get(), index), selected->getParameter(selected.get(), index))
            << fresh.text(effGetParamName, index);
    EXPECT_EQ(fresh.text(effGetProgramName), kProgramNames[0]);
    selected.close();
}

TEST_F(PluginTest, TheTailHostsAreToldIsHowLongTheEchoesOfTheCurrentSettingsLast)
{
    Effect& effect = open();
    constexpr VstIntPtr kLongest = 30 * 44100;
    effect.dispatch(effSetProgram, 0, 31);
    EXPECT_EQ(effect.dispatch(effGetTailSize), kLongest) << "Oscibratonance rings on: the longest tail";
    effect.dispatch(effSetProgram, 0, 1);
    const VstIntPtr damped = effect.dispatch(effGetTailSize);
    EXPECT_GT(damped, 7 * 44100) << "long feedback";
    EXPECT_LT(damped, kLongest);
    effect.dispatch(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    EXPECT_NEAR(static_cast<double>(effect.dispatch(effGetTailSize)), damped * 96000.0 / 44100.0, 96000.0 * 0.01)
        << "in samples at the current rate";
    for (const char* name : {"Predly lvl", "D1 fdbk", "D2 fdbk"})
        effect->setParameter(effect.get(), indexOf(name), 0.0f);
    EXPECT_EQ(effect.dispatch(effGetTailSize), 1) << "dry: no tail, which is not 0, \"unknown\"";
}
