#include "TextFormat.h"

#include <gtest/gtest.h>

#include <clocale>

using namespace mppi;

TEST(TextFormatTest, ScansOneNumberAsPercentLfDoes)
{
    double value = 0.0;
    EXPECT_TRUE(scanNumber("  +1.5x", value));
    EXPECT_DOUBLE_EQ(value, 1.5);
    EXPECT_TRUE(scanNumber("-.25", value));
    EXPECT_DOUBLE_EQ(value, -0.25);
    EXPECT_TRUE(scanNumber("3e2dB", value));
    EXPECT_DOUBLE_EQ(value, 300.0);

    EXPECT_TRUE(scanNumber("1e-999", value));
    EXPECT_EQ(value, 0.0);

    std::size_t pos = 1;
    EXPECT_TRUE(scanNumber("x12 y", pos, value));
    EXPECT_EQ(pos, 3u);
    EXPECT_DOUBLE_EQ(value, 12.0);
}

TEST(TextFormatTest, ScanRefusesMissingAndNonFiniteNumbersAndLeavesTheValue)
{
    for (const char* text : {"", "  ", "abc", ".", "+-1", "-+1", "nan", "-nan", "inf", "+infinity", "1e400"}) {
        double value = 7.0;
        std::size_t pos = 0;
        EXPECT_FALSE(scanNumber(text, pos, value)) << text;
        EXPECT_EQ(value, 7.0);
        EXPECT_EQ(pos, 0u);
    }
}

TEST(TextFormatTest, PrintsAsPrintfDoesWhateverTheLocale)
{
    EXPECT_EQ(formatFixed(2.5, 2), "2.50");
    EXPECT_EQ(formatFixed(-0.04, 1), "-0.0");
    EXPECT_EQ(formatGeneral(0.0001234567), "0.000123457");
    EXPECT_EQ(formatGeneral(1234567.0), "1.23457e+06");
    EXPECT_EQ(formatInt(-42), "-42");
    EXPECT_EQ(cutText("123456789", 5), "12345");
    EXPECT_EQ(cutText("12", 5), "12");

    // A host may set a locale with a decimal comma; texts and parsers do not change.
    if (std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        EXPECT_EQ(formatFixed(2.5, 2), "2.50");
        double value = 0.0;
        EXPECT_TRUE(scanNumber("0.5", value));
        EXPECT_DOUBLE_EQ(value, 0.5);
        std::setlocale(LC_ALL, "C");
    }
}

TEST(TextFormatTest, FindsTextWithoutRegardToCase)
{
    EXPECT_TRUE(containsNoCase("250 MS", "ms"));
    EXPECT_TRUE(containsNoCase("anything", ""));
    EXPECT_FALSE(containsNoCase("m s", "ms"));
    EXPECT_FALSE(containsNoCase("", "s"));
}

TEST(TextFormatTest, GainTextsAndParsersInDecibels)
{
    EXPECT_EQ(gainText(1.0), "0.0");
    EXPECT_EQ(gainText(0.5), "-6.0");
    EXPECT_EQ(gainText(0.00001), "-oo");
    EXPECT_EQ(gainText(0.0), "-oo");
    EXPECT_EQ(gainText(0.0001), "-80.0");

    for (const char* silence : {"-oo", "-o", "OO", "o", ""}) {
        bool understood = false;
        EXPECT_EQ(parseGain(silence, 4.0, understood), 0.0) << silence;
        EXPECT_TRUE(understood) << silence;
    }
    bool understood = false;
    EXPECT_NEAR(parseGain("-6.0206", 4.0, understood), 0.5, 1e-6);
    EXPECT_DOUBLE_EQ(parseGain("40", 4.0, understood), 4.0);
    EXPECT_DOUBLE_EQ(parseGain("40", 1.0, understood), 1.0);

    bool refused = false;
    parseGain("loud", 4.0, refused);
    EXPECT_FALSE(refused);
    parseGain("nan", 4.0, refused);
    EXPECT_FALSE(refused);
}

TEST(TextFormatTest, PercentTextsAndParsers)
{
    EXPECT_EQ(percentText(0.5), "50.00");
    EXPECT_EQ(percentText(1.0), "100.00");
    EXPECT_EQ(percentText(0.123456), "12.35");
    bool understood = false;
    EXPECT_DOUBLE_EQ(parsePercent("25", understood), 0.25);
    EXPECT_TRUE(understood);
    EXPECT_DOUBLE_EQ(parsePercent("150", understood), 1.0);
    EXPECT_DOUBLE_EQ(parsePercent("-5", understood), 0.0);
    bool refused = false;
    parsePercent("inf", refused);
    EXPECT_FALSE(refused);
}
