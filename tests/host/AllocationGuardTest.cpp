// The audio thread never allocates: this binary's operator new counts every allocation made
// while the plug-in processes a block, across everything a host and a user change between
// blocks (parameters, programs, tempo, the lines' clear commands, a reset) and block sizes from
// 1 to 4096 frames; and while the LV2 plug-in runs with its UI's messages about the presets.
#include "Effect.h"
#include "FakeUridMap.h"
#include "FixedPorts.h"
#include "Lv2Plugin.h"
#include "PlatformWindowFactory.h"
#include "PluginEntry.h"
#include "PresetMessages.h"
#include "SkinLayout.h"

#include <gtest/gtest.h>
#include <lv2/worker/worker.h>

#include <cstdlib>
#include <new>
#include <random>
#include <vector>

namespace {

// Only the processing thread is watched, and only inside processReplacing.
thread_local bool t_guarding = false;
thread_local int t_allocations = 0;

VstTimeInfo g_time{};

// A host that itself never allocates while the plug-in calls it from the audio thread.
VstIntPtr VST2_CALL quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float)
{
    switch (opcode) {
    case audioMasterVersion:
        return 2400;
    case audioMasterGetTime:
        return reinterpret_cast<VstIntPtr>(&g_time);
    default:
        return 0;
    }
}

void* allocate(std::size_t size)
{
    if (t_guarding)
        ++t_allocations;
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size)
{
    return allocate(size);
}

void* operator new[](std::size_t size)
{
    return allocate(size);
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept
{
    std::free(memory);
}

TEST(AllocationGuardTest, TheGuardSeesAnAllocation)
{
    t_allocations = 0;
    t_guarding = true;
    std::vector<int>* allocated = new std::vector<int>(3);
    t_guarding = false;
    delete allocated;
    EXPECT_EQ(t_allocations, 2);
}

TEST(AllocationGuardTest, ProcessingNeverAllocatesWhateverChangesBetweenBlocks)
{
    g_time.sampleRate = 44100.0;
    g_time.tempo = 120.0;
    g_time.timeSigNumerator = 4;
    g_time.timeSigDenominator = 4;
    g_time.flags = kVstTempoValid | kVstTransportPlaying;
    Effect effect(mppi::createEffect(quietHost, skin_layout::wide(), pengui::create_platform_window));
    ASSERT_NE(effect.get(), nullptr);
    constexpr VstInt32 kLargestBlock = 4096;
    effect.start(44100.0f, kLargestBlock);

    std::vector<float> left(kLargestBlock), right(kLargestBlock), outLeft(kLargestBlock), outRight(kLargestBlock);
    std::mt19937 generator(7);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    for (std::size_t i = 0; i < left.size(); ++i) {
        left[i] = unit(generator) - 0.5f;
        right[i] = unit(generator) - 0.5f;
    }
    float* inputs[2] = {left.data(), right.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    const VstInt32 blockSizes[] = {1, 17, 255, 256, 257, 512, 1000, kLargestBlock};
    const float twoLines = 32.0f / 256.0f;
    const float twoLinesCleared = (32.0f + 1.0f + 2.0f) / 256.0f;

    int blocks = 0;
    for (int round = 0; round < 48; ++round) {
        // What changes on the host's threads before this block.
        switch (round % 6) {
        case 0:
            for (VstInt32 index = 0; index < effect->numParams; ++index)
                effect->setParameter(effect.get(), index, unit(generator));
            break;
        case 1:
            effect.dispatch(effSetProgram, 0, round % effect->numPrograms);
            break;
        case 2:
            g_time.tempo = 60.0 + 120.0 * unit(generator);
            break;
        case 3:
            effect->setParameter(effect.get(), 0, round % 12 == 3 ? twoLinesCleared : twoLines);
            break;
        case 4:
            effect.dispatch(effMainsChanged, 0, 0);
            effect.dispatch(effMainsChanged, 0, 1);
            break;
        default:
            g_time.flags ^= kVstTempoValid;
            break;
        }
        for (VstInt32 frames : blockSizes) {
            t_allocations = 0;
            t_guarding = true;
            effect->processReplacing(effect.get(), inputs, outputs, frames);
            t_guarding = false;
            EXPECT_EQ(t_allocations, 0) << "round " << round << ", a block of " << frames << " frames";
            ++blocks;
        }
    }
    EXPECT_EQ(blocks, 48 * 8);
    effect.dispatch(effClose);
}

TEST(AllocationGuardTest, TheLv2PluginRunsWithItsUisPresetMessagesWithoutAllocating)
{
    FakeUridMap map;
    LV2_Worker_Schedule worker{nullptr, [](LV2_Worker_Schedule_Handle, uint32_t, const void*) {
                                   return LV2_WORKER_SUCCESS;
                               }};
    const LV2_Feature mapFeature{LV2_URID__map, &map.feature};
    const LV2_Feature workerFeature{LV2_WORKER__schedule, &worker};
    const LV2_Feature* features[] = {&mapFeature, &workerFeature, nullptr};
    lv2port::Lv2Plugin plugin(48000.0, features);
    const lv2port::PresetMessages messages(&map.feature);
    std::vector<std::uint8_t> body;
    ASSERT_EQ(plugin.presets().encode(body), 0);

    constexpr std::uint32_t kFrames = 512;
    std::vector<float> in(kFrames, 0.25f), left(kFrames), right(kFrames);
    std::vector<std::uint64_t> input(lv2port::PresetMessages::kPortSize / 8), output(input.size());
    plugin.connect(lv2port::kInputLeft, in.data());
    plugin.connect(lv2port::kInputRight, in.data());
    plugin.connect(lv2port::kOutputLeft, left.data());
    plugin.connect(lv2port::kOutputRight, right.data());
    plugin.connect(lv2port::kPresetsInput, input.data());
    plugin.connect(lv2port::kPresetsOutput, output.data());
    plugin.activate();
    for (int round = 0; round < 12; ++round) {
        // Round by round: nothing, a Get, a Set (then the worker's work), both.
        LV2_Atom_Forge forge = messages.forge(reinterpret_cast<std::uint8_t*>(input.data()),
                                              lv2port::PresetMessages::kPortSize);
        LV2_Atom_Forge_Frame frame;
        lv2_atom_forge_sequence_head(&forge, &frame, 0);
        if (round % 4 & 1) {
            lv2_atom_forge_frame_time(&forge, 0);
            messages.writeGet(forge);
        }
        if (round % 4 & 2) {
            lv2_atom_forge_frame_time(&forge, 7);
            messages.writeSet(forge, body.data(), static_cast<std::uint32_t>(body.size()));
        }
        lv2_atom_forge_pop(&forge, &frame);
        reinterpret_cast<LV2_Atom*>(output.data())->size = lv2port::PresetMessages::kPortSize;
        t_allocations = 0;
        t_guarding = true;
        plugin.run(kFrames);
        t_guarding = false;
        EXPECT_EQ(t_allocations, 0) << "round " << round;
        plugin.work();
    }
}
