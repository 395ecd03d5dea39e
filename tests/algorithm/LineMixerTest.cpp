#include "LineMixer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Buffers {
    std::vector<float> tapLeft = std::vector<float>(256, 0.0f);
    std::vector<float> tapRight = std::vector<float>(256, 0.0f);
    std::vector<float> line1Out = std::vector<float>(256, 0.0f);
    std::vector<float> line2Out = std::vector<float>(256, 0.0f);
    std::vector<float> line1In = std::vector<float>(256, 0.0f);
    std::vector<float> line2In = std::vector<float>(256, 0.0f);

    void attach(LineMixer& mixer)
    {
        mixer.setTapBuffers(tapLeft.data(), tapRight.data());
        mixer.setLineOutput(0, line1Out.data());
        mixer.setLineOutput(1, line2Out.data());
        mixer.setLineWrite(0, line1In.data());
        mixer.setLineWrite(1, line2In.data());
    }
};

} // namespace

TEST(LineMixerTest, AValueThatChangesAndChangesBackWithinATickIsKept)
{
    LineMixer mixer;
    mixer.setFeedback(0, 0.5f);
    mixer.setLevel(0, 1.0f);
    mixer.reset();
    EXPECT_FLOAT_EQ(mixer.feedbackMatrix()[0], 0.5f);
    mixer.setFeedback(0, 0.3f);
    mixer.setFeedback(0, 0.5f);
    mixer.beginBlock(256);
    EXPECT_FLOAT_EQ(mixer.feedbackMatrix()[0], 0.5f);
}

TEST(LineMixerTest, ASampleLeavingALineIsFedBackCrossedAndPannedAsSet)
{
    // Line 1: feedback 0.8, level 1, hard left. Line 2: feedback 0.4, level 0.5, centred. A
    // quarter of each line's feedback crosses to the other.
    LineMixer mixer;
    mixer.setTwoLines(true);
    mixer.setFeedback(0, 0.8f);
    mixer.setFeedback(1, 0.4f);
    mixer.setLevel(0, 1.0f);
    mixer.setLevel(1, 0.5f);
    mixer.setPan(0, -1.0f);
    mixer.setPan(1, 0.0f);
    mixer.setSeparation(0.25f);
    mixer.setTapGain(0.0f);
    mixer.reset();
    Buffers buffers;
    buffers.line1Out[0] = 1.0f;
    buffers.line2Out[1] = 1.0f;
    buffers.attach(mixer);
    mixer.beginBlock(256);
    mixer.process(2);

    // Line 1's sample re-enters line 1 at 0.8 x 3/4 and line 2 at 0.8 x 1/4; line 2's at
    // 0.4 x 1/4 and 0.4 x 3/4.
    EXPECT_FLOAT_EQ(buffers.line1In[0], 0.6f);
    EXPECT_FLOAT_EQ(buffers.line2In[0], 0.2f);
    EXPECT_FLOAT_EQ(buffers.line1In[1], 0.1f);
    EXPECT_FLOAT_EQ(buffers.line2In[1], 0.3f);
    // What re-enters is heard: line 1's share on the left only, line 2's at half level,
    // a quarter on each side.
    EXPECT_FLOAT_EQ(buffers.tapLeft[0], 0.6f + 0.2f * 0.25f);
    EXPECT_FLOAT_EQ(buffers.tapRight[0], 0.2f * 0.25f);
    EXPECT_FLOAT_EQ(buffers.tapLeft[1], 0.1f + 0.3f * 0.25f);
    EXPECT_FLOAT_EQ(buffers.tapRight[1], 0.3f * 0.25f);
}

TEST(LineMixerTest, NewValuesRampOverExactlyOneControlBlock)
{
    LineMixer mixer;
    mixer.setFeedback(0, 1.0f);
    mixer.setLevel(0, 1.0f);
    mixer.setPan(0, 0.0f);
    mixer.setTapGain(0.0f);
    mixer.reset();
    Buffers buffers;
    std::fill(buffers.line1Out.begin(), buffers.line1Out.end(), 1.0f);
    buffers.attach(mixer);
    mixer.setFeedback(0, 0.0f);
    mixer.beginBlock(256);
    // Split unevenly: the ramp continues across the pieces.
    mixer.process(100);
    mixer.setTapBuffers(buffers.tapLeft.data() + 100, buffers.tapRight.data() + 100);
    mixer.setLineWrite(0, buffers.line1In.data() + 100);
    mixer.setLineOutput(0, buffers.line1Out.data() + 100);
    mixer.process(156);
    for (int k = 0; k < 256; k += 51)
        EXPECT_NEAR(buffers.line1In[static_cast<std::size_t>(k)], 1.0f - k / 256.0f, 1e-5f) << k;
    mixer.beginBlock(256);
    EXPECT_FLOAT_EQ(mixer.feedbackMatrix()[0], 0.0f);
}

TEST(LineMixerTest, SustainFeedsBackFullyAndKeepsTheTapsOut)
{
    LineMixer mixer;
    mixer.setFeedback(0, 0.2f);
    mixer.setLevel(0, 1.0f);
    mixer.setPan(0, 0.0f);
    mixer.setSustain(true);
    mixer.reset();
    Buffers buffers;
    std::fill(buffers.tapLeft.begin(), buffers.tapLeft.end(), 0.5f);
    std::fill(buffers.line1Out.begin(), buffers.line1Out.end(), 0.25f);
    buffers.attach(mixer);
    mixer.process(256);
    EXPECT_FLOAT_EQ(buffers.line1In[10], 0.25f);
    EXPECT_FLOAT_EQ(mixer.tapGain(), 0.0f);
    EXPECT_FLOAT_EQ(buffers.tapLeft[10], 0.125f);
}
