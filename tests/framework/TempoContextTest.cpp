#include "TempoContext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using mppi::TempoContext;

namespace {

TempoContext contextIn(int mode, double tempo = 120.0)
{
    return TempoContext(mode, tempo);
}

struct Parsed {
    bool understood;
    double seconds;
};

Parsed parse(const TempoContext& context, const std::string& text)
{
    bool understood = false;
    const double seconds = context.parseTime(text, understood);
    return {understood, seconds};
}

} // namespace

TEST(TempoContextTest, StartsInMillisecondsAt120AndNamesEachUnit)
{
    TempoContext context;
    EXPECT_EQ(context.mode(), TempoContext::kMilliseconds);
    EXPECT_DOUBLE_EQ(context.tempo(), 120.0);
    EXPECT_EQ(context.unitName(), "ms");
    context.setMode(TempoContext::kSeconds);
    EXPECT_EQ(context.unitName(), "s");
    context.setMode(TempoContext::kBeats);
    EXPECT_EQ(context.unitName(), "beat");
}

TEST(TempoContextTest, ConvertsBeatsAndSecondsAtTheTempo)
{
    const TempoContext context = contextIn(TempoContext::kBeats, 90.0);
    EXPECT_DOUBLE_EQ(context.beatsToSeconds(3.0), 2.0);
    EXPECT_DOUBLE_EQ(context.secondsToBeats(2.0), 3.0);
}

TEST(TempoContextTest, IgnoresATempoThatIsNotFiniteAndPositive)
{
    TempoContext context(TempoContext::kBeats, 100.0);
    for (double bad : {0.0, -120.0, std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()})
        context.setTempo(bad);
    EXPECT_DOUBLE_EQ(context.tempo(), 100.0);
    EXPECT_TRUE(std::isfinite(context.beatsToSeconds(256.0)));
}

TEST(TempoContextTest, BeatTextsShowWholeBeatsAndFractions)
{
    const TempoContext context = contextIn(TempoContext::kBeats);
    EXPECT_EQ(context.timeText(0.25, 6), "1/2");
    EXPECT_EQ(context.timeText(0.75, 6), "1 1/2");
    EXPECT_EQ(context.timeText(1.0, 6), "2");
    EXPECT_EQ(context.timeText(0.0, 6), "0");
    EXPECT_EQ(context.timeText(0.375, 6), "3/4");
    EXPECT_EQ(context.timeText(1.0 / 64.0 * 0.5, 6), "1/64");
}

TEST(TempoContextTest, BeatTextJustShortOfAWholeBeatShowsTheNextWholeNumber)
{
    const TempoContext context = contextIn(TempoContext::kBeats);
    EXPECT_EQ(context.timeText(0.995 * 0.5, 6), "1");
    EXPECT_EQ(context.timeText(2.995 * 0.5, 6), "3");
    // Further from the whole beat, the finest fraction wins.
    EXPECT_EQ(context.timeText(0.99 * 0.5, 6), "63/64");
}

TEST(TempoContextTest, BeatTextFractionSearchDependsOnTheWidth)
{
    const TempoContext context = contextIn(TempoContext::kBeats);
    // One digit each for numerator and denominator: denominators stop before 10.
    EXPECT_EQ(context.timeText(0.3 * 0.5, 3), "2/7");
    EXPECT_EQ(context.timeText(0.3 * 0.5, 6), "3/10");
    // A close fraction with a denominator above 15 ends the search.
    EXPECT_EQ(context.timeText(0.96 * 0.5, 6), "15/16");
}

TEST(TempoContextTest, BeatTextTooNarrowForTheWholePartIsEmpty)
{
    const TempoContext context = contextIn(TempoContext::kBeats);
    EXPECT_EQ(context.timeText(6.0, 1), "");
    EXPECT_EQ(context.timeText(6.0, 2), "12");
    EXPECT_EQ(context.timeText(6.25, 3), "12");
    EXPECT_EQ(context.timeText(6.25, 6), "12 1/2");
    // The whole-and-fraction text is cut to the width.
    EXPECT_EQ(context.timeText(6.25, 5), "12 1/");
}

TEST(TempoContextTest, SecondAndMillisecondTextsPrintGeneralNumbersCutToWidth)
{
    EXPECT_EQ(contextIn(TempoContext::kSeconds).timeText(2.0, 10), "2.00002");
    EXPECT_EQ(contextIn(TempoContext::kSeconds).timeText(2.0, 6), "2.0000");
    EXPECT_EQ(contextIn(TempoContext::kMilliseconds).timeText(0.5, 10), "500.005");
    EXPECT_EQ(contextIn(TempoContext::kMilliseconds).timeText(3600.0, 12), "3.60004e+06");
    EXPECT_EQ(contextIn(TempoContext::kMilliseconds).timeText(0.5, 0), "");
}

TEST(TempoContextTest, UnitWordsChooseTheParseMode)
{
    for (int mode : {0, 1, 2}) {
        const TempoContext context = contextIn(mode);
        const Parsed ms = parse(context, "250 ms");
        EXPECT_TRUE(ms.understood);
        EXPECT_DOUBLE_EQ(ms.seconds, 0.25);
        const Parsed upper = parse(context, "250MS");
        EXPECT_DOUBLE_EQ(upper.seconds, 0.25);
        const Parsed seconds = parse(context, "1.5 s");
        EXPECT_DOUBLE_EQ(seconds.seconds, 1.5);
        // Any letter s makes the text seconds.
        EXPECT_DOUBLE_EQ(parse(context, "2 beats").seconds, 2.0);
    }
    EXPECT_DOUBLE_EQ(parse(contextIn(TempoContext::kBeats), "2 beat").seconds, 1.0);
}

TEST(TempoContextTest, PlainNumbersAreReadInTheCurrentMode)
{
    EXPECT_DOUBLE_EQ(parse(contextIn(TempoContext::kSeconds), "2").seconds, 2.0);
    EXPECT_DOUBLE_EQ(parse(contextIn(TempoContext::kMilliseconds), "250").seconds, 0.25);
    EXPECT_DOUBLE_EQ(parse(contextIn(TempoContext::kBeats), "3").seconds, 1.5);
}

TEST(TempoContextTest, BeatTextsParseWholeFractionAndMixedForms)
{
    const TempoContext context = contextIn(TempoContext::kBeats);
    EXPECT_DOUBLE_EQ(parse(context, "3/4").seconds, 0.375);
    EXPECT_DOUBLE_EQ(parse(context, "3 1/2").seconds, 1.75);
    EXPECT_DOUBLE_EQ(parse(context, "  1 // 2").seconds, 0.25);
    EXPECT_DOUBLE_EQ(parse(context, "1/2/").seconds, 0.25);
    EXPECT_DOUBLE_EQ(parse(context, "2 ").seconds, 1.0);
    // Two numbers with a blank between them read as a ratio.
    EXPECT_DOUBLE_EQ(parse(context, "3 4").seconds, 0.375);
    // Separators beyond a run of 15 end the reading after the first number.
    EXPECT_DOUBLE_EQ(parse(context, "1" + std::string(16, '/') + "2").seconds, 0.5);
}

TEST(TempoContextTest, RefusedTextsClearTheFlag)
{
    for (int mode : {0, 1, 2}) {
        const TempoContext context = contextIn(mode);
        for (const char* text : {"", "abc", "-1", "ms", "x 2", "+-1", "."})
            EXPECT_FALSE(parse(context, text).understood) << "mode " << mode << " text '" << text << "'";
    }
    const TempoContext beats = contextIn(TempoContext::kBeats);
    for (const char* text : {"1/0", "1 1/0", "1/-2", "1 -1/2", "1/1e-10"})
        EXPECT_FALSE(parse(beats, text).understood) << text;
}

TEST(TempoContextTest, NumbersThatAreNotFiniteAreRefused)
{
    for (int mode : {0, 1, 2}) {
        const TempoContext context = contextIn(mode);
        for (const char* text : {"nan", "inf", "infinity", "-inf", "NAN ms", "inf s", "1e999", "nan/2"})
            EXPECT_FALSE(parse(context, text).understood) << "mode " << mode << " text '" << text << "'";
    }
    const TempoContext beats = contextIn(TempoContext::kBeats);
    EXPECT_FALSE(parse(beats, "1 nan/2").understood);
    EXPECT_FALSE(parse(beats, "1 1/inf").understood);
    // A ratio that overflows is refused rather than giving an infinite time.
    EXPECT_FALSE(parse(beats, "1e300/1e-9").understood);
}
