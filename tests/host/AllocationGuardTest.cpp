// The audio thread never allocates: this binary's operator new counts every allocation made
// while the plug-in processes a block, across everything a host and a user change between
// blocks (parameters, programs, tempo, the lines' clear commands, a reset) and block sizes from
// 1 to 4096 frames.
#include "Effect.h"
#include "PlatformWindowFactory.h"
#include "PluginEntry.h"
#include "SkinLayout.h"

#include <gtest/gtest.h>

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
