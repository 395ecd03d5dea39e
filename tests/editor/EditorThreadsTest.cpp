// Host automation from another thread while the user works the editor: the editor touches its
// controls only on its own thread, and after the burst every control shows its parameter's last
// value. Run under ThreadSanitizer too.
#include "EditorFixture.h"

#include <atomic>
#include <thread>

using namespace editor_test;

TEST_F(EditorTest, EditorThreadsAutomationFromTheAudioThreadWhileTheUserDrags)
{
    const int count = (*effect_)->numParams;
    std::atomic<bool> running{true};
    std::thread automation([&] {
        std::vector<float> silence(64, 0.0f), left, right;
        for (int round = 0; running.load(std::memory_order_relaxed); ++round) {
            for (int index = 2; index < count; ++index)
                if (index != kLine1Feedback)
                    hostSets(index, static_cast<float>((round * 7 + index) % 100) / 99.0f);
            effect_->render(silence, silence, left, right, 64);
        }
    });

    ControlInterface& feedback = control(kLine1Feedback);
    for (int gesture = 0; gesture < 6; ++gesture) {
        grab(feedback, gesture % 2 ? kRightButton : 1);
        drag(0, gesture % 2 ? 40 : -40);
        letGo(gesture % 2 ? kRightButton : 1);
        window().paint_pending();
    }
    running = false;
    automation.join();

    tick();
    window().paint_pending();
    for (int index = 2; index < count; ++index) {
        mppi::MetaControl* meta = gui().metaControl(index);
        if (!meta || !meta->listener() || !meta->listener()->control())
            continue;
        if (index == kLine1Feedback + kLineParams)
            continue; // the right-button drags moved it with line 1
        EXPECT_NEAR(meta->listener()->paramToControl(param(index)), meta->listener()->control()->value(), 1e-6) << index;
    }
}
